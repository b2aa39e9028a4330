// NormaliseHeaderBlock of a header text taken from the data. Read as lines (split on CR LF
// the way the routine splits), the result has no empty line, every line has a colon, and
// it does not end in a line break.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/text_primitives.h"
#include "web/header_names.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view headers(reinterpret_cast<const char*>(bytes), size);
  const zendra::Text block = zendra::NormaliseHeaderBlock(headers);
  Check(block.size() <= headers.size());
  const zendra::TextArray lines = zendra::SplitText(block, "\r\n");
  zendra::Text joined;
  for (const zendra::Text& line : lines) {
    Check(!line.empty());
    Check(zendra::FindText(line, ":") >= 1);
    if (!joined.empty()) joined += "\r\n";
    joined += line;
  }
  // Joining the lines gives the block back exactly: no separator is left at its end.
  Check(joined == block);
  return 0;
}
