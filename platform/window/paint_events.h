#pragma once

namespace zendra {

// Lets the window repaint while a blocking query runs, without taking any user input:
// clicks and keys wait until the query is done.
void ProcessPaintEvents();

}  // namespace zendra
