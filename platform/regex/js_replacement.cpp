#include "platform/regex/js_replacement.h"

namespace zendra {
namespace {

constexpr std::size_t kUnset = ~std::size_t{0};

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

void AppendGroup(std::u16string& out, std::u16string_view subject, const std::size_t* offsets,
                 std::uint32_t group) {
  const std::size_t from = offsets[2 * group];
  const std::size_t to = offsets[2 * group + 1];
  if (from != kUnset && to >= from) out.append(subject.substr(from, to - from));
}

}  // namespace

void AppendJsReplacement(std::u16string& out, std::u16string_view replacement,
                         std::u16string_view subject, const std::size_t* offsets,
                         std::uint32_t groupCount,
                         const std::function<int(std::u16string_view)>& groupNumber) {
  const std::size_t n = replacement.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= n) {
      out += c;
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out += u'$';
      ++i;
    } else if (next == u'&') {
      AppendGroup(out, subject, offsets, 0);
      ++i;
    } else if (next == u'`') {
      out.append(subject.substr(0, offsets[0]));
      ++i;
    } else if (next == u'\'') {
      out.append(subject.substr(std::min(offsets[1], subject.size())));
      ++i;
    } else if (IsDigit(next)) {
      // Two digits when they name a group, else one; $0 and unknown groups stay literal.
      std::uint32_t index = next - u'0';
      std::size_t digits = 1;
      if (i + 2 < n && IsDigit(replacement[i + 2])) {
        const std::uint32_t two = index * 10 + (replacement[i + 2] - u'0');
        if (two >= 1 && two <= groupCount) {
          index = two;
          digits = 2;
        }
      }
      if (index >= 1 && index <= groupCount) {
        AppendGroup(out, subject, offsets, index);
        i += digits;
      } else {
        out += c;
      }
    } else if (next == u'<' && groupNumber) {
      const std::size_t close = replacement.find(u'>', i + 2);
      if (close == std::u16string_view::npos) {
        out += c;
        continue;
      }
      const int group = groupNumber(replacement.substr(i + 2, close - i - 2));
      if (group > 0 && static_cast<std::uint32_t>(group) <= groupCount)
        AppendGroup(out, subject, offsets, static_cast<std::uint32_t>(group));
      i = close;
    } else {
      out += c;
    }
  }
}

}  // namespace zendra
