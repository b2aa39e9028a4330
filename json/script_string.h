#pragma once

#include <string_view>

#include "platform/types.h"

namespace zendra {

// Caller text as the inside of a script string literal (single or double quotes): the
// script reads it back as exactly the characters given, and nothing in it can end the
// literal early.
Text EscapeScriptString(std::string_view text);

// The same, between double quotes.
Text QuoteScriptString(std::string_view text);

}  // namespace zendra
