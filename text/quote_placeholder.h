#pragma once

#include "platform/types.h"

namespace zendra {

// "#引号" in code page 936: stands for one double-quote character in markers and patterns,
// so that callers can write quotes without escaping them.
const Text& QuotePlaceholder();

}  // namespace zendra
