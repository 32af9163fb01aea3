#include "ui/list_view_rows.h"

#include <commctrl.h>

#include "base/win/comctl_version.h"
#include "base/win/screen_scale.h"

void InitListView(HWND list, const ListColumn *columns, int count) {
  // The mask keeps every other extended style as it is.
  DWORD extended = LVS_EX_FULLROWSELECT;
  if (IsComCtl580OrLater()) {
    extended |= LVS_EX_LABELTIP;
  }
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);

  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  for (int i = 0; i < count; ++i) {
    column.cx = ScaleToScreen(list, columns[i].widthAt96);
    column.pszText = const_cast<char *>(columns[i].header);
    column.iSubItem = i;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
}

void InsertListRow(HWND list, size_t row, const char *text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(row);
  item.pszText = const_cast<char *>(text);
  ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void SetListCell(HWND list, size_t row, int column, const char *text) {
  LVITEMA cell = {};
  cell.iSubItem = column;
  cell.pszText = const_cast<char *>(text);
  ::SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}
