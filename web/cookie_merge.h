#pragma once

#include <cstddef>
#include <string_view>

#include "platform/types.h"

namespace zendra {

// Folds newer cookies into an older cookie text ("name=value; name=value"): a newer item
// replaces older ones of the same name, an item ending in "=deleted" drops out, exact
// repeats go. The newer items come first. The result is also left in oldCookies.
Text MergeCookies(Text& oldCookies, std::string_view newCookies);

// Bounds chosen as browsers and servers have them, so that a site setting ever more
// cookies cannot make every later request unsendable: 4096 bytes per cookie, a count per
// site, and a Cookie header that fits the 8 KiB header line that common servers accept.
inline constexpr std::size_t kMaxCookieItemBytes = 4096;
inline constexpr std::size_t kMaxCookiesPerSite = 150;
inline constexpr std::size_t kMaxCookieTextBytes = 8000;

// The cookie items of a text ("; " between them), split on bytes: neither byte of the
// separator can be the second byte of a double-byte character, and a stray lead byte in a
// site's value must not swallow the separator behind it.
TextArray SplitCookieItems(std::string_view cookies);

// True for an item that can travel in a Cookie header: no control character (C0 or DEL),
// at most kMaxCookieItemBytes bytes.
bool IsSendableCookie(std::string_view item) noexcept;

// The cookie text without unsendable items and within the bounds: items beyond
// kMaxCookiesPerSite, or beyond kMaxCookieTextBytes in all, are dropped from the end, where
// a merged cookie text holds the cookies of the older answers.
Text BoundCookies(std::string_view cookies);

// The sendable items that one answer set, in the order it set them, within the bounds:
// when they exceed them, the items set first are dropped, as later ones replace them.
Text LatestCookies(const TextArray& itemsInSetOrder);

// The trimmed text before the item's first "=", or the whole trimmed item.
Text CookieName(std::string_view item);

// True when some item of the array has that name (names compare exactly).
bool HasCookieNamed(const TextArray& items, std::string_view name);

}  // namespace zendra
