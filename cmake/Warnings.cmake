# Applied per target, so that library headers stay out of it.
function(zendra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endfunction()
