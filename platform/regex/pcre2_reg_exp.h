#pragma once

#include "platform/regex/reg_exp.h"

namespace zendra {

ObjectRef<RegExp> MakePcre2RegExp() noexcept;

}  // namespace zendra
