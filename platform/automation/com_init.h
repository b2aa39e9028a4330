#pragma once

namespace zendra {

// The automation layer's per-thread initialisation count. Each module that drives
// components initialises on entry and uninitialises when done; the counts must balance.
void CoInitialize() noexcept;
void CoUninitialize() noexcept;

// How many initialisations on this thread are not yet matched by an uninitialisation.
int AutomationInitCount() noexcept;

}  // namespace zendra
