#include "app/ui_language.h"

#include <windows.h>

#include "archive/language_table.h"
#include "archive/sfx_archive.h"
#include "base/win/module.h"
#include "ui/ui_text.h"

void ChooseUiLanguage(SfxArchive &archive, uint16_t requested, LanguageTable *chosen) {
  // Looked up: older systems have no UI language of their own, and speak English here.
  const auto userLanguage = win::KernelProc<LANGID(WINAPI *)()>("GetUserDefaultUILanguage");
  const uint16_t wanted = requested != 0            ? requested
                          : userLanguage != nullptr ? userLanguage()
                                                    : 0x409;
  int best = 0;
  size_t bestIndex = 0;
  LanguageTable table;
  for (size_t i = 0; i < archive.entries().size(); ++i) {
    const int match = archive.entries()[i].header.type == kLanguageTable && table.Read(archive, i)
                          ? LanguageMatch(table, wanted)
                          : 0;
    if (match > best) {
      best = match;
      bestIndex = i;
    }
  }
  // Read again: a table is small, and none is copied.
  if (best == 0 || !chosen->Read(archive, bestIndex)) {
    return;
  }
  SetUiLanguage(chosen);
  if (chosen->rightToLeft()) {
    // Every window made from now on without an owner is mirrored (the status windows, the
    // sheet, an error box); an owned one is mirrored as it opens (TranslateWindow).
    const auto setLayout = win::ProcAddress<BOOL(WINAPI *)(DWORD)>(::GetModuleHandleA("user32.dll"),
                                                                   "SetProcessDefaultLayout");
    if (setLayout != nullptr) {
      setLayout(LAYOUT_RTL);
    }
  }
}
