// The report list views of the wizard and the download window: columns from a table, rows of
// plain text (UTF-8, shown as UTF-16). One copy of each message sequence serves both windows.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "resources/ui_texts.h"

struct ListColumn {
  UiTextRef header;
  int widthAt96; // scaled to the list's screen
};

// Adds full-row selection to the list's extended styles (and label tips from comctl32 5.80 on),
// then inserts the columns in order, left-aligned, column i showing subitem i, with their
// headers in the user's language.
void InitListView(HWND list, const ListColumn *columns, int count);
// Inserts row with text in its first column.
void InsertListRow(HWND list, size_t row, std::string_view text);
// Sets the text of one cell; column 0 is the row's own text.
void SetListCell(HWND list, size_t row, int column, std::string_view text);
