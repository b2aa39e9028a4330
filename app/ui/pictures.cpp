#include "app/ui/pictures.h"

#include <cstddef>

#include "app/ui/main_window.h"
#include "platform/window/controls.h"

// The PNG files under app/ui/pictures/, embedded by the build.
extern const unsigned char zendra_embedded_picture1[];
extern const std::size_t zendra_embedded_picture1_size;
extern const unsigned char zendra_embedded_picture2[];
extern const std::size_t zendra_embedded_picture2_size;
extern const unsigned char zendra_embedded_picture3[];
extern const std::size_t zendra_embedded_picture3_size;

namespace zendra {
namespace {

Bytes Embedded(const unsigned char* data, std::size_t size) { return Bytes(data, data + size); }

}  // namespace

const Bytes& Picture1() {
  static const Bytes bytes = Embedded(zendra_embedded_picture1, zendra_embedded_picture1_size);
  return bytes;
}

const Bytes& Picture2() {
  static const Bytes bytes = Embedded(zendra_embedded_picture2, zendra_embedded_picture2_size);
  return bytes;
}

const Bytes& Picture3() {
  static const Bytes bytes = Embedded(zendra_embedded_picture3, zendra_embedded_picture3_size);
  return bytes;
}

void ShowPictures(MainWindow& window) {
  SetPicture(window.pictureBox1(), Picture1());
  SetPicture(window.pictureBox2(), Picture2());
  SetPicture(window.pictureBox3(), Picture3());
}

}  // namespace zendra
