#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 16
#endif
#include <pcre2.h>

#include <memory>

namespace zendra {

// One owner per PCRE2 handle; each is freed only by its holder's destructor.
struct Pcre2CodeFree {
  void operator()(pcre2_code* code) const noexcept { pcre2_code_free(code); }
};
struct Pcre2MatchDataFree {
  void operator()(pcre2_match_data* data) const noexcept { pcre2_match_data_free(data); }
};
struct Pcre2CompileContextFree {
  void operator()(pcre2_compile_context* context) const noexcept {
    pcre2_compile_context_free(context);
  }
};
struct Pcre2MatchContextFree {
  void operator()(pcre2_match_context* context) const noexcept {
    pcre2_match_context_free(context);
  }
};
struct Pcre2JitStackFree {
  void operator()(pcre2_jit_stack* stack) const noexcept { pcre2_jit_stack_free(stack); }
};

using Pcre2Code = std::unique_ptr<pcre2_code, Pcre2CodeFree>;
using Pcre2MatchData = std::unique_ptr<pcre2_match_data, Pcre2MatchDataFree>;
using Pcre2CompileContext = std::unique_ptr<pcre2_compile_context, Pcre2CompileContextFree>;
using Pcre2MatchContext = std::unique_ptr<pcre2_match_context, Pcre2MatchContextFree>;
using Pcre2JitStack = std::unique_ptr<pcre2_jit_stack, Pcre2JitStackFree>;

}  // namespace zendra
