#pragma once

#include <cstdint>

namespace zendra {

// What a path of a JSON document holds. Code 3 is not used.
enum JsonValueType : std::int32_t {
  TypeOther = -1,  // anything else, or a path whose evaluation fails
  TypeNull = 0,    // null, or missing
  TypeBoolean = 1,
  TypeNumber = 2,
  TypeObject = 4,
  TypeArray = 5,
  TypeString = 6,
};

}  // namespace zendra
