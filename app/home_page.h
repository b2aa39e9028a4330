#pragma once

namespace zendra {

class MainWindow;

// Loads the home page, starts the running cookie text and fills the category list
// with its first item selected.
void LoadHomePage(MainWindow& window);

}  // namespace zendra
