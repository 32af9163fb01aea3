// The report list views of the wizard and the download window: columns from a table, rows of
// plain text. One copy of each message sequence serves both windows.
#pragma once
#include <windows.h>

#include <cstddef>

struct ListColumn {
  const char *header;
  int widthAt96; // scaled to the list's screen
};

// Adds full-row selection to the list's extended styles (and label tips from comctl32 5.80 on),
// then inserts the columns in order, left-aligned, column i showing subitem i.
void InitListView(HWND list, const ListColumn *columns, int count);
// Inserts row with text in its first column.
void InsertListRow(HWND list, size_t row, const char *text);
// Sets the text of one cell; column 0 is the row's own text.
void SetListCell(HWND list, size_t row, int column, const char *text);
