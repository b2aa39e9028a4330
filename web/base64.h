#pragma once

#include "platform/types.h"

namespace zendra {

// Standard Base64 with "=" padding, on one line however long.
Text Base64Encode(const Bytes& bytes);

}  // namespace zendra
