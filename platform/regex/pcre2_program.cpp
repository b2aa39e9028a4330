#include "platform/regex/pcre2_program.h"

#include <time.h>

#include <algorithm>

#include "platform/regex/js_pattern.h"

namespace zendra {
namespace {

// Enough for any sane scrape, including lazy middles of several megabytes, while a
// hostile pattern/subject pair gives up within a fraction of a second.
constexpr std::uint32_t kMatchLimit = 20'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr std::size_t kJitStackStart = 32 * 1024;
// Reserved, not committed: lazy middles of several million characters need this much.
constexpr std::size_t kJitStackMax = 64 * 1024 * 1024;
// One budget for a whole search, in processor time of the searching thread so that a
// loaded machine does not cut ordinary searches short; read between matches, so a search
// with very many matches ends after about this long and keeps what it found.
constexpr std::int64_t kSearchBudgetNs = 1'000'000'000;

std::int64_t ThreadTimeNs() noexcept {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

PCRE2_SPTR AsPcre2(std::u16string_view text) noexcept {
  return reinterpret_cast<PCRE2_SPTR>(text.data());
}

}  // namespace

std::unique_ptr<Pcre2Program> Pcre2Program::Compile(std::u16string_view jsPattern, bool ignoreCase,
                                                    bool multiline) noexcept {
  try {
    std::optional<JsTranslation> translation = TranslateJsPattern(jsPattern, ignoreCase);
    if (!translation) return nullptr;
    const std::u16string* pattern = &translation->pattern;

    Pcre2CompileContext compileContext(pcre2_compile_context_create(nullptr));
    if (!compileContext) return nullptr;
    pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_LF);

    // JavaScript meanings: a back-reference to an unset group matches the empty text,
    // "[]" matches nothing, "^" in multiline mode also matches after a final line feed, and
    // "$" without it only at the very end.
    std::uint32_t options = PCRE2_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C |
                            PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALLOW_EMPTY_CLASS |
                            PCRE2_ALT_CIRCUMFLEX;
    if (ignoreCase) options |= PCRE2_CASELESS;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;

    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<Pcre2Program> program(new Pcre2Program());
    program->code_.reset(pcre2_compile(AsPcre2(*pattern), pattern->size(), options, &error,
                                       &errorOffset, compileContext.get()));
    if (!program->code_) return nullptr;
    // Without JIT support pcre2_match falls back to the interpreter by itself.
    const bool jit = pcre2_jit_compile(program->code_.get(), PCRE2_JIT_COMPLETE) == 0;

    program->matchContext_.reset(pcre2_match_context_create(nullptr));
    if (!program->matchContext_) return nullptr;
    program->groups_ = std::move(translation->groups);
    program->loops_ = std::move(translation->loops);
    if (!program->loops_.empty())
      pcre2_set_callout(program->matchContext_.get(), &Pcre2Program::OnRepetitionEnd,
                        &program->loops_);
    pcre2_set_match_limit(program->matchContext_.get(), kMatchLimit);
    pcre2_set_depth_limit(program->matchContext_.get(), kDepthLimit);
    if (jit) {
      program->jitStack_.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
      if (program->jitStack_)
        pcre2_jit_stack_assign(program->matchContext_.get(), nullptr, program->jitStack_.get());
    }

    pcre2_pattern_info(program->code_.get(), PCRE2_INFO_CAPTURECOUNT, &program->pcreGroupCount_);
    program->captureCount_ = static_cast<std::uint32_t>(program->groups_.size() - 1);
    std::uint32_t nameCount = 0;
    pcre2_pattern_info(program->code_.get(), PCRE2_INFO_NAMECOUNT, &nameCount);
    program->hasNames_ = nameCount > 0;
    return program;
  } catch (...) {
    return nullptr;
  }
}

int Pcre2Program::GroupNumber(std::u16string_view name) const {
  const std::u16string terminated(name);
  const int number = pcre2_substring_number_from_name(code_.get(), AsPcre2(terminated));
  if (number <= 0) return -1;
  const auto found = std::find(groups_.begin(), groups_.end(), static_cast<std::uint32_t>(number));
  return found == groups_.end() ? -1 : static_cast<int>(found - groups_.begin());
}

int Pcre2Program::OnRepetitionEnd(pcre2_callout_block* block, void* data) noexcept {
  const auto& loops = *static_cast<const std::vector<JsLoop>*>(data);
  std::size_t index = 0;
  for (PCRE2_SIZE k = 0; k < block->callout_string_length; ++k)
    index = index * 10 + (block->callout_string[k] - u'0');
  if (index >= loops.size()) return 0;
  const JsLoop& loop = loops[index];
  if (loop.start >= block->capture_top) return 0;
  const PCRE2_SIZE begun = block->offset_vector[2 * loop.start];
  if (block->current_position != begun) return 0;
  // The first of at least one repetitions may be empty; it begins where they all begin.
  if (loop.before != 0 && loop.before < block->capture_top &&
      block->offset_vector[2 * loop.before] == begun)
    return 0;
  return 1;  // an empty repetition: this way fails, and the repetitions end before it
}

void Pcre2Program::ToJsGroups(const PCRE2_SIZE* pcre, std::vector<std::size_t>& js) const {
  // Captures left from an earlier repetition began before the last repetition did; those of
  // a repetition that did not happen at all are dropped with it. Outer loops come first.
  std::vector<PCRE2_SIZE> work(pcre, pcre + 2 * (pcreGroupCount_ + 1));
  for (const JsLoop& loop : loops_) {
    const PCRE2_SIZE begun = work[2 * loop.start];
    for (std::uint32_t g = loop.start + 1; g <= loop.lastInner && g <= pcreGroupCount_; ++g) {
      if (work[2 * g] == PCRE2_UNSET) continue;
      if (begun == PCRE2_UNSET || work[2 * g] < begun) work[2 * g] = work[2 * g + 1] = PCRE2_UNSET;
    }
  }
  js.assign(2 * groups_.size(), PCRE2_UNSET);
  for (std::size_t k = 0; k < groups_.size(); ++k) {
    js[2 * k] = work[2 * groups_[k]];
    js[2 * k + 1] = work[2 * groups_[k] + 1];
  }
}

void Pcre2Program::ForEachMatch(std::u16string_view subject, bool global,
                                const MatchVisitor& visit) const {
  Pcre2MatchData matchData(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
  if (!matchData) return;
  const std::size_t length = subject.size();
  std::uint32_t options = 0;
  std::vector<std::size_t> jsOffsets;
  const std::int64_t deadlineNs = ThreadTimeNs() + kSearchBudgetNs;
  std::uint32_t matches = 0;
  for (std::size_t start = 0; start <= length;) {
    const int rc = pcre2_match(code_.get(), AsPcre2(subject), length, start, options,
                               matchData.get(), matchContext_.get());
    if (rc < 0) return;  // no further match, invalid subject, or a limit reached
    // The subject was checked once; checking it again per match would be quadratic.
    options |= PCRE2_NO_UTF_CHECK;
    ToJsGroups(pcre2_get_ovector_pointer(matchData.get()), jsOffsets);
    const std::size_t* offsets = jsOffsets.data();
    visit(offsets);
    if (!global) return;
    // The clock is read at every 256th match only.
    if (++matches % 256 == 0 && ThreadTimeNs() > deadlineNs) return;
    std::size_t next = offsets[1];
    if (offsets[1] <= offsets[0]) {
      next = offsets[0] + 1;
      // Stay on character boundaries: UTF mode cannot start inside a surrogate pair.
      if (next < length && subject[next] >= 0xDC00 && subject[next] <= 0xDFFF &&
          subject[next - 1] >= 0xD800 && subject[next - 1] <= 0xDBFF)
        ++next;
    }
    start = next;
  }
}

}  // namespace zendra
