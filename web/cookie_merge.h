#pragma once

#include <string_view>

#include "platform/types.h"

namespace zendra {

// Folds newer cookies into an older cookie text ("name=value; name=value"): a newer item
// replaces older ones of the same name, an item ending in "=deleted" drops out, exact
// repeats go. The newer items come first. The result is also left in oldCookies.
Text MergeCookies(Text& oldCookies, std::string_view newCookies);

// The trimmed text before the item's first "=", or the whole trimmed item.
Text CookieName(std::string_view item);

// True when some item of the array has that name (names compare exactly).
bool HasCookieNamed(const TextArray& items, std::string_view name);

}  // namespace zendra
