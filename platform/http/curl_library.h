#pragma once

namespace zendra {

// Initialises libcurl once per process, whichever thread asks first. False when the
// library could not be initialised; every later call gives the same answer.
bool EnsureCurlInitialised() noexcept;

}  // namespace zendra
