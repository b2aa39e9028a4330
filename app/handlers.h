#pragma once

namespace zendra {

class MainWindow;

// The window's created event: shows the pictures, then loads the catalogue.
void OnMainWindowCreated(MainWindow& window);

// The user's own picks and the file list's double-click.
void OnCategorySelected(MainWindow& window);
void OnProductSelected(MainWindow& window);
void OnLanguageSelected(MainWindow& window);
void OnFileDoubleClicked(MainWindow& window);

}  // namespace zendra
