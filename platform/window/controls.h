#pragma once

#include <cstdint>

#include "platform/types.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace zendra {

// Operations the catalogue calls on the window's controls. Texts are code page 936;
// item and row indexes count from 0.

// Decodes the PNG and shows it fitted into the box, keeping its aspect ratio. False (and
// the box cleared) when the bytes are no picture.
bool SetPicture(QLabel& pictureBox, const Bytes& png);

// The control shows the text; an empty text clears it.
void SetText(QLineEdit& edit, const Text& text);
void SetText(QLabel& label, const Text& text);

// Index of the selected item, -1 when none.
std::int32_t GetCurrentSelection(const QComboBox& combo);
// Index of the first (lowest) selected row, -1 when none.
std::int32_t GetCurrentSelection(const QTreeWidget& list);

// Selects an item without raising the list-item-selected event. An index past the last
// item selects the last one; an empty box keeps no selection.
void SetCurrentSelection(QComboBox& combo, std::int32_t index);

std::int32_t ComboItemCount(const QComboBox& combo);
// Appends the text as the last item; the boxes never sort. The selection stays as it was.
void ComboAddItem(QComboBox& combo, const Text& text);
// Removes the item; the later ones move up. An index out of range changes nothing.
void ComboDeleteItem(QComboBox& combo, std::int32_t index);

void ListDeleteAll(QTreeWidget& list);
// Appends an empty row and returns its index.
std::int32_t ListInsertRow(QTreeWidget& list);
// Out-of-range rows or columns change nothing.
void ListSetCellText(QTreeWidget& list, std::int32_t row, std::int32_t column, const Text& text);
// The cell's text; empty for a row or column that does not exist (e.g. row -1).
Text ListGetCellText(const QTreeWidget& list, std::int32_t row, std::int32_t column);

// Replaces the clipboard's contents with the text as plain text. True only when the
// clipboard really holds the text afterwards.
bool SetClipboardText(const Text& text);

// A modal box with the text, the title, one OK button and no icon, owned by no window.
// Returns when it is closed.
void ShowMessageBox(const Text& text, const Text& title);

}  // namespace zendra
