// JsonObject::Parse of a text taken from the data, then the reads the file list makes:
// five member texts and the type of the whole document. Nothing may crash or hang.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "json/json_object.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const zendra::Text text(reinterpret_cast<const char*>(bytes), size);
  zendra::JsonObject json;
  const bool parsed = json.Parse(text);
  for (const char* path : {"result.FileName", "result.DownLoad", "result.PostDateString",
                           "result.SHA1", "result.size"})
    json.GetText(path);
  const zendra::JsonValueType type = json.GetValueType("");
  // A document that is there has a type; a refused one is null.
  Check(parsed ? type != zendra::TypeNull : type == zendra::TypeNull);
  return 0;
}
