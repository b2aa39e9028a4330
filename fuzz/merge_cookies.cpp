// MergeCookies of two cookie texts taken from the data. The result is what oldCookies
// holds afterwards, and read as items it has no deleted item and no item twice.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "text/text_primitives.h"
#include "web/cookie_merge.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  zendra::Text oldCookies = data.ConsumeRandomLengthString(size);
  const std::string newCookies = data.ConsumeRemainingBytesAsString();

  const zendra::Text merged = zendra::MergeCookies(oldCookies, newCookies);
  Check(merged == oldCookies);
  std::set<zendra::Text> seen;
  for (const zendra::Text& item : zendra::SplitText(merged, "; ")) {
    Check(!item.ends_with("=deleted"));
    Check(seen.insert(item).second);
  }
  return 0;
}
