#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regex/js_pattern.h"
#include "platform/regex/pcre2_handles.h"

namespace zendra {

// One compiled JavaScript pattern: PCRE2 code (JIT-compiled when the platform allows),
// its match context with the limits that stop runaway backtracking, and a JIT stack.
class Pcre2Program {
 public:
  // Nothing when the pattern is not a valid JavaScript pattern.
  static std::unique_ptr<Pcre2Program> Compile(std::u16string_view jsPattern, bool ignoreCase,
                                               bool multiline) noexcept;

  std::uint32_t CaptureCount() const noexcept { return captureCount_; }
  bool HasNames() const noexcept { return hasNames_; }
  // The number of the named group, or -1.
  int GroupNumber(std::u16string_view name) const;

  // Offset pairs of one match: [2k] and [2k+1] for group k (0: the whole match);
  // PCRE2_UNSET for a group that took no part.
  using MatchVisitor = std::function<void(const std::size_t* offsets)>;

  // Visits the matches from the start of the subject, only the first unless global. An
  // empty match moves the next search one character on, as JavaScript does. A match that
  // hits a limit ends the search, and so does the search's budget of about a second of
  // processor time, read between matches; what was visited stays.
  void ForEachMatch(std::u16string_view subject, bool global, const MatchVisitor& visit) const;

 private:
  Pcre2Program() = default;

  static int OnRepetitionEnd(pcre2_callout_block* block, void* data) noexcept;
  // PCRE2's offsets of one match as the offsets of the pattern's own groups.
  void ToJsGroups(const PCRE2_SIZE* pcre, std::vector<std::size_t>& js) const;

  Pcre2Code code_;
  Pcre2MatchContext matchContext_;
  Pcre2JitStack jitStack_;
  std::vector<std::uint32_t> groups_;
  std::vector<JsLoop> loops_;
  std::uint32_t pcreGroupCount_ = 0;
  std::uint32_t captureCount_ = 0;
  bool hasNames_ = false;
};

}  // namespace zendra
