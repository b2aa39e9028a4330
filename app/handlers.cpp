#include "app/handlers.h"

#include "app/main_window.h"
#include "app/pictures.h"

namespace zendra {

void OnMainWindowCreated(MainWindow& window) { ShowPictures(window); }

void OnCategorySelected(MainWindow&) {}
void OnProductSelected(MainWindow&) {}
void OnLanguageSelected(MainWindow&) {}
void OnFileDoubleClicked(MainWindow&) {}

}  // namespace zendra
