#pragma once

#include <optional>

#include "platform/types.h"

namespace zendra {

class MainWindow;

// The products of a category into 组合框2; without an id, of the first category.
void LoadProducts(MainWindow& window, const std::optional<Text>& categoryId = std::nullopt);

// The languages of a product into 组合框3, then the files of its first language;
// without an id, of the first product.
void LoadLanguages(MainWindow& window, const std::optional<Text>& productId = std::nullopt);

}  // namespace zendra
