#include "platform/automation/com_init.h"

namespace zendra {
namespace {
thread_local int initCount = 0;
}

void CoInitialize() noexcept { ++initCount; }

void CoUninitialize() noexcept { --initCount; }

int AutomationInitCount() noexcept { return initCount; }

}  // namespace zendra
