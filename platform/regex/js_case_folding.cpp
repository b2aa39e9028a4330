#include "platform/regex/js_case_folding.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <map>
#include <vector>

namespace zendra {
namespace {

// The upper case that decides equality without the u flag.
char32_t Canonical(char32_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const UChar in[1] = {static_cast<UChar>(c)};
  UChar out[4];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = u_strToUpper(out, 4, in, 1, "", &status);
  if (U_FAILURE(status) || length != 1) return c;
  if (c >= 128 && out[0] < 128) return c;
  return out[0];
}

// Both rules' classes for every character of the basic plane that has a case relation;
// subjects and patterns of the program never hold other planes.
class CaseTables {
 public:
  static const CaseTables& Get() {
    static const CaseTables tables;
    return tables;
  }

  std::u32string JsClass(char32_t c) const { return ClassOf(jsKey_, jsMembers_, c); }
  std::u32string PcreClass(char32_t c) const { return ClassOf(foldKey_, foldMembers_, c); }
  bool Differs(char32_t c) const { return std::binary_search(differ_.begin(), differ_.end(), c); }
  const std::u32string& Differing() const { return differ_; }

 private:
  CaseTables() {
    for (char32_t c = 0; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      const auto fold =
          static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
      const char32_t canonical = Canonical(c);
      if (fold != c || canonical != c ||
          u_toupper(static_cast<UChar32>(c)) != static_cast<UChar32>(c) ||
          u_tolower(static_cast<UChar32>(c)) != static_cast<UChar32>(c)) {
        foldKey_[c] = fold;
        foldMembers_[fold].push_back(c);
        jsKey_[c] = canonical;
        jsMembers_[canonical].push_back(c);
      }
    }
    // A key that is a character of its own class joins it (the fold of "K" is "k").
    for (auto* members : {&foldMembers_, &jsMembers_}) {
      for (auto& [key, list] : *members) {
        if (std::find(list.begin(), list.end(), key) == list.end()) list.push_back(key);
        std::sort(list.begin(), list.end());
      }
    }
    for (const auto* members : {&foldMembers_, &jsMembers_})
      for (const auto& [key, list] : *members)
        for (const char32_t c : list)
          if (PcreClass(c) != JsClass(c)) differ_.push_back(c);
    std::sort(differ_.begin(), differ_.end());
    differ_.erase(std::unique(differ_.begin(), differ_.end()), differ_.end());
  }

  static std::u32string ClassOf(const std::map<char32_t, char32_t>& keys,
                                const std::map<char32_t, std::vector<char32_t>>& members,
                                char32_t c) {
    const auto key = keys.find(c);
    const auto found = members.find(key == keys.end() ? c : key->second);
    if (found == members.end()) return std::u32string(1, c);
    return std::u32string(found->second.begin(), found->second.end());
  }

  std::map<char32_t, char32_t> foldKey_;
  std::map<char32_t, std::vector<char32_t>> foldMembers_;
  std::map<char32_t, char32_t> jsKey_;
  std::map<char32_t, std::vector<char32_t>> jsMembers_;
  std::u32string differ_;
};

}  // namespace

bool FoldsDifferently(char32_t c) { return CaseTables::Get().Differs(c); }

const std::u32string& CharactersFoldingDifferently() { return CaseTables::Get().Differing(); }

std::u32string JsCaseClass(char32_t c) { return CaseTables::Get().JsClass(c); }

std::u32string PcreCaseClass(char32_t c) { return CaseTables::Get().PcreClass(c); }

}  // namespace zendra
