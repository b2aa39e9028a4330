#pragma once

#include "platform/types.h"

namespace zendra {

class MainWindow;

// The three sponsorship pictures, PNG files embedded in the program.
const Bytes& Picture1();  // 305 x 305
const Bytes& Picture2();  // 331 x 333
const Bytes& Picture3();  // 292 x 276

// Shows picture 1 in 图片框1, picture 2 in 图片框2, picture 3 in 图片框3, in this order.
void ShowPictures(MainWindow& window);

}  // namespace zendra
