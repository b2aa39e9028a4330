#include "platform/regex/pcre2_reg_exp.h"

namespace zendra {

// Placeholder until the component lands: creation fails.
ObjectRef<RegExp> MakePcre2RegExp() noexcept { return ObjectRef<RegExp>(); }

}  // namespace zendra
