#pragma once

#include <optional>

#include "platform/types.h"

namespace zendra {

class MainWindow;

// The files of the current product in one language into 超级列表框1, one row per file;
// without an id, in the first language.
void LoadFiles(MainWindow& window, const std::optional<Text>& languageId = std::nullopt);

}  // namespace zendra
