#pragma once

#include "platform/types.h"

namespace zendra {

// A response body as program text: read as UTF-8 (malformed sequences become U+FFFD),
// written in code page 936 ("?" where it has no code), cut at the first zero character.
Text DecodeResponseText(const Bytes& body);

}  // namespace zendra
