#pragma once

#include <string_view>

#include "platform/types.h"

namespace zendra {

// Rebuilds a header block (lines separated by CR LF): lines without a colon are dropped,
// every part of a name between hyphens gets its first letter upper-cased, values stay
// as they are, and the block ends without CR LF.
Text NormaliseHeaderBlock(std::string_view headers);

// The text with its first byte upper-cased when that is an ASCII lower-case letter.
Text CapitaliseFirst(std::string_view text);

}  // namespace zendra
