#include "platform/script/duktape_script_host.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "platform/codepage/code_page.h"
#include "platform/script/duktape_bytecode_cache.h"
#include "platform/script/duktape_heap.h"
#include "platform/script/duktape_string.h"

namespace zendra {
namespace {

struct ScriptJob {
  const std::string* source;
  bool wantResult;
  const Bytes* bytecode;  // the source compiled earlier, to load instead of compiling
  bool dumpBytecode;      // leave the compiled code on the stack for the cache
};

// Runs inside the engine's protected call, so only the engine's API is used here and no
// local needs a destructor (a fatal error jumps over this frame).
duk_ret_t RunScript(duk_context* context, void* udata) {
  const auto* job = static_cast<const ScriptJob*>(udata);
  if (!job->wantResult) {
    // Global code, as a program: its declarations become globals.
    if (job->bytecode) {
      void* buffer = duk_push_fixed_buffer(context, job->bytecode->size());
      std::memcpy(buffer, job->bytecode->data(), job->bytecode->size());
      duk_load_function(context);
    } else {
      duk_compile_lstring(context, 0, job->source->data(), job->source->size());
      if (job->dumpBytecode) {
        duk_dup(context, -1);
        duk_dump_function(context);
        duk_insert(context, -2);
      }
    }
    duk_call(context, 0);
    duk_pop(context);
    return job->dumpBytecode ? 1 : 0;
  }
  // Eval code in the global scope: statement lists and var declarations are allowed and
  // the completion value is the result.
  duk_eval_lstring(context, job->source->data(), job->source->size());
  switch (duk_get_type(context, -1)) {
    case DUK_TYPE_UNDEFINED:
    case DUK_TYPE_NULL:
    case DUK_TYPE_BOOLEAN:
    case DUK_TYPE_NUMBER:
    case DUK_TYPE_STRING:
      break;
    default:
      // The script's own string conversion, run while errors are still caught.
      duk_to_string(context, -1);
      break;
  }
  return 1;
}

struct GlobalTextJob {
  const std::string* name;
  const std::string* value;
};

duk_ret_t PutGlobalText(duk_context* context, void* udata) {
  const auto* job = static_cast<const GlobalTextJob*>(udata);
  duk_push_global_object(context);
  duk_push_lstring(context, job->value->data(), job->value->size());
  duk_put_prop_lstring(context, -2, job->name->data(), job->name->size());
  duk_pop(context);
  return 0;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

class DuktapeScriptHost final : public ScriptHost {
 public:
  explicit DuktapeScriptHost(std::size_t memoryCeiling) noexcept : heap_(memoryCeiling) {}

  bool IsAlive() const noexcept { return heap_.IsAlive(); }

  bool SetLanguage(const Text& language) override {
    if (!EqualsIgnoringCase(language, "JavaScript")) return false;
    languageSet_ = true;
    return true;
  }

  bool AddCode(const Text& code) override {
    if (!languageSet_) return false;
    const std::string source = Utf8FromCp936(code);
    auto& cache = DuktapeBytecodeCache::Instance();
    const bool cacheable = cache.IsAdmitted(source);
    const std::shared_ptr<const Bytes> bytecode = cacheable ? cache.Find(source) : nullptr;
    ScriptJob job{&source, false, bytecode.get(), cacheable && !bytecode};
    // Without a dump nothing is kept: on failure the error is dropped too.
    const duk_idx_t kept = job.dumpBytecode ? 1 : 0;
    const bool succeeded = heap_.SafeCall(&RunScript, &job, kept) == DUK_EXEC_SUCCESS;
    if (kept == 0 || !heap_.IsAlive()) return succeeded;
    if (succeeded) {
      duk_size_t size = 0;
      const auto* data =
          static_cast<const std::uint8_t*>(duk_get_buffer(heap_.Context(), -1, &size));
      if (data && size > 0) {
        try {
          cache.Store(source, Bytes(data, data + size));
        } catch (const std::bad_alloc&) {
          // Not cached: the next host compiles again.
        }
      }
    }
    duk_pop(heap_.Context());
    return succeeded;
  }

  Variant Eval(const Text& code) override {
    if (!languageSet_) return Variant();
    const std::string source = Utf8FromCp936(code);
    ScriptJob job{&source, true, nullptr, false};
    const duk_int_t result = heap_.SafeCall(&RunScript, &job, 1);
    if (!heap_.IsAlive()) return Variant();
    duk_context* context = heap_.Context();
    Variant value;
    if (result == DUK_EXEC_SUCCESS) {
      try {
        value = ReadValue(context);
      } catch (const std::bad_alloc&) {
        value = Variant();
      }
    }
    duk_pop(context);
    return value;
  }

  bool SetGlobalText(const Text& name, const Text& text) override {
    if (!languageSet_) return false;
    const std::string nameUtf8 = Utf8FromCp936(name);
    const std::string value = Utf8FromCp936(text);
    // An empty conversion of a non-empty text means the conversion failed.
    if (nameUtf8.empty() || (value.empty() && !text.empty())) return false;
    GlobalTextJob job{&nameUtf8, &value};
    return heap_.SafeCall(&PutGlobalText, &job, 0) == DUK_EXEC_SUCCESS;
  }

 private:
  static Variant ReadValue(duk_context* context) {
    switch (duk_get_type(context, -1)) {
      case DUK_TYPE_BOOLEAN:
        return Variant(duk_get_boolean(context, -1) != 0);
      case DUK_TYPE_NUMBER:
        return Variant(static_cast<double>(duk_get_number(context, -1)));
      case DUK_TYPE_STRING: {
        duk_size_t length = 0;
        const char* bytes = duk_get_lstring(context, -1, &length);
        return Variant(Utf16ToCp936(DuktapeStringToUtf16(std::string_view(bytes, length))));
      }
      default:
        return Variant();
    }
  }

  DuktapeHeap heap_;
  bool languageSet_ = false;
};

}  // namespace

void KeepCompiledForNewHosts(const Text& code) {
  try {
    DuktapeBytecodeCache::Instance().Admit(Utf8FromCp936(code));
  } catch (const std::bad_alloc&) {
    // Not admitted: every host compiles it.
  }
}

ObjectRef<ScriptHost> MakeDuktapeScriptHost() noexcept {
  return MakeDuktapeScriptHostWithCeiling(kScriptMemoryCeiling);
}

ObjectRef<ScriptHost> MakeDuktapeScriptHostWithCeiling(std::size_t memoryCeiling) noexcept {
  try {
    auto host = std::make_shared<DuktapeScriptHost>(memoryCeiling);
    if (!host->IsAlive()) return ObjectRef<ScriptHost>();
    return ObjectRef<ScriptHost>(std::move(host));
  } catch (const std::bad_alloc&) {
    return ObjectRef<ScriptHost>();
  }
}

}  // namespace zendra
