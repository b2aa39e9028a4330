#pragma once

#include "platform/types.h"

namespace zendra {

// Numbers as text, the same under every locale: "." before the fraction, no grouping,
// whatever the C library's locale says.

// As printf's "%.<significantDigits>g" writes the value in the C locale.
Text NumberTextGeneral(double value, int significantDigits);

// As the script language turns a number into a string: the shortest digits that read back
// as the same value, "1e+21", "1e-7", "Infinity", "NaN", and "0" for minus zero.
Text ScriptNumberText(double value);

}  // namespace zendra
