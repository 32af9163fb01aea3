#include "ui/list_view_rows.h"

#include <commctrl.h>

#include "base/win/comctl_version.h"
#include "base/win/screen_scale.h"
#include "base/win/wide_text.h"
#include "ui/ui_text.h"

void InitListView(HWND list, const ListColumn *columns, int count) {
  // The mask keeps every other extended style as it is.
  DWORD extended = LVS_EX_FULLROWSELECT;
  if (IsComCtl580OrLater()) {
    extended |= LVS_EX_LABELTIP;
  }
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);

  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  for (int i = 0; i < count; ++i) {
    const win::WideText header(UiText(columns[i].header));
    column.cx = ScaleToScreen(list, columns[i].widthAt96);
    column.pszText = const_cast<wchar_t *>(header.get());
    column.iSubItem = i;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
}

void InsertListRow(HWND list, size_t row, std::string_view text) {
  LVITEMW item = {};
  item.iItem = static_cast<int>(row);
  ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SetListCell(list, row, 0, text);
}

void SetListCell(HWND list, size_t row, int column, std::string_view text) {
  const win::WideText wide(text);
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = const_cast<wchar_t *>(wide.get());
  ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
}
