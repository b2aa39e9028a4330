#pragma once

#include "platform/types.h"

namespace zendra {

// Script loaded into every JSON document's host: get__count, a JSON fallback for engines
// without one, and the enumerable toJSONString/parseJSON additions to Object.prototype
// that get__count and the member listing count on.
const Text& JsonLibraryScript();

}  // namespace zendra
