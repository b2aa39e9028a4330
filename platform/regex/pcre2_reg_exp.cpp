#include "platform/regex/pcre2_reg_exp.h"

#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "platform/codepage/code_page.h"
#include "platform/regex/js_replacement.h"
#include "platform/regex/pcre2_program.h"

namespace zendra {
namespace {

constexpr std::size_t kUnset = PCRE2_UNSET;

// What one Execute found: the subject in UTF-16 and every match's offset pairs. Texts are
// converted back to code page 936 only when read, since callers read few of them.
struct MatchTable {
  std::u16string subject;
  std::uint32_t groupCount = 0;  // without group 0
  std::vector<std::size_t> offsets;

  std::size_t PairsPerMatch() const noexcept { return groupCount + 1; }
  std::size_t MatchCount() const noexcept { return offsets.size() / (2 * PairsPerMatch()); }
  const std::size_t* MatchOffsets(std::size_t match) const noexcept {
    return offsets.data() + match * 2 * PairsPerMatch();
  }
  Variant GroupText(std::size_t match, std::size_t group) const {
    const std::size_t* pair = MatchOffsets(match) + 2 * group;
    if (pair[0] == kUnset || pair[1] < pair[0]) return Variant();
    return Variant(Utf16ToCp936(std::u16string_view(subject).substr(pair[0], pair[1] - pair[0])));
  }
};

std::int32_t ToCount(std::size_t n) noexcept {
  return n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(n);
}

class Pcre2SubMatches final : public SubMatchCollection {
 public:
  Pcre2SubMatches(std::shared_ptr<const MatchTable> table, std::size_t match) noexcept
      : table_(std::move(table)), match_(match) {}
  std::int32_t Count() override { return ToCount(table_->groupCount); }
  Variant Item(std::int32_t index) override {
    if (index < 0 || static_cast<std::uint32_t>(index) >= table_->groupCount) return Variant();
    return table_->GroupText(match_, static_cast<std::size_t>(index) + 1);
  }

 private:
  std::shared_ptr<const MatchTable> table_;
  std::size_t match_;
};

class Pcre2Match final : public Match {
 public:
  Pcre2Match(std::shared_ptr<const MatchTable> table, std::size_t match) noexcept
      : table_(std::move(table)), match_(match) {}
  Variant Value() override {
    Variant value = table_->GroupText(match_, 0);
    return value.IsEmpty() ? Variant(Text()) : value;
  }
  std::int32_t FirstIndex() override { return ToCount(table_->MatchOffsets(match_)[0]); }
  ObjectRef<SubMatchCollection> SubMatches() override {
    return ObjectRef<SubMatchCollection>(std::make_shared<Pcre2SubMatches>(table_, match_));
  }

 private:
  std::shared_ptr<const MatchTable> table_;
  std::size_t match_;
};

class Pcre2Matches final : public MatchCollection {
 public:
  explicit Pcre2Matches(std::shared_ptr<const MatchTable> table) noexcept
      : table_(std::move(table)) {}
  std::int32_t Count() override { return ToCount(table_->MatchCount()); }
  ObjectRef<Match> Item(std::int32_t index) override {
    if (index < 0 || static_cast<std::size_t>(index) >= table_->MatchCount()) return {};
    return ObjectRef<Match>(std::make_shared<Pcre2Match>(table_, static_cast<std::size_t>(index)));
  }

 private:
  std::shared_ptr<const MatchTable> table_;
};

class Pcre2RegExp final : public RegExp {
 public:
  bool IgnoreCase() override { return ignoreCase_; }
  bool SetIgnoreCase(bool value) override { return Set(ignoreCase_, value); }
  bool Multiline() override { return multiline_; }
  bool SetMultiline(bool value) override { return Set(multiline_, value); }
  bool Global() override { return global_; }
  bool SetGlobal(bool value) override {
    global_ = value;
    return true;
  }
  Text Pattern() override { return pattern_; }
  bool SetPattern(const Text& pattern) override {
    pattern_ = pattern;
    Invalidate();
    return true;
  }

  ObjectRef<MatchCollection> Execute(const Variant& subject) override {
    const Pcre2Program* program = Program();
    const std::optional<Text> text = subject.TryText();
    if (program == nullptr || !text) return {};
    auto table = std::make_shared<MatchTable>();
    table->subject = Cp936ToUtf16(*text);
    table->groupCount = program->CaptureCount();
    const std::size_t pairs = 2 * table->PairsPerMatch();
    program->ForEachMatch(table->subject, global_, [&](const std::size_t* offsets) {
      table->offsets.insert(table->offsets.end(), offsets, offsets + pairs);
    });
    return ObjectRef<MatchCollection>(std::make_shared<Pcre2Matches>(std::move(table)));
  }

  Text Replace(const Variant& subject, const Variant& replacement) override {
    const Pcre2Program* program = Program();
    const std::optional<Text> text = subject.TryText();
    const std::optional<Text> with = replacement.TryText();
    if (program == nullptr || !text || !with) return Text();
    const std::u16string source = Cp936ToUtf16(*text);
    const std::u16string pattern = Cp936ToUtf16(*with);
    std::function<int(std::u16string_view)> groupNumber;
    if (program->HasNames())
      groupNumber = [program](std::u16string_view name) { return program->GroupNumber(name); };
    std::u16string out;
    out.reserve(source.size());
    std::size_t copied = 0;
    program->ForEachMatch(source, global_, [&](const std::size_t* offsets) {
      out.append(source, copied, offsets[0] - copied);
      AppendJsReplacement(out, pattern, source, offsets, program->CaptureCount(), groupNumber);
      copied = std::max(copied, offsets[1]);
    });
    out.append(source, copied);
    return Utf16ToCp936(out);
  }

 private:
  bool Set(bool& field, bool value) noexcept {
    if (field != value) Invalidate();
    field = value;
    return true;
  }
  void Invalidate() noexcept {
    program_.reset();
    compiled_ = false;
  }

  // The pattern is compiled on first use and kept until the pattern or a flag that
  // changes its compiled form changes.
  const Pcre2Program* Program() {
    if (!compiled_) {
      program_ = Pcre2Program::Compile(Cp936ToUtf16(pattern_), ignoreCase_, multiline_);
      compiled_ = true;
    }
    return program_.get();
  }

  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  Text pattern_;
  bool compiled_ = false;
  std::unique_ptr<Pcre2Program> program_;
};

}  // namespace

ObjectRef<RegExp> MakePcre2RegExp() noexcept {
  try {
    return ObjectRef<RegExp>(std::make_shared<Pcre2RegExp>());
  } catch (...) {
    return ObjectRef<RegExp>();
  }
}

}  // namespace zendra
