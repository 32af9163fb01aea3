// The packer's catalogue and the setup's own texts: every text a language file names by a
// string id or a dialog's control has, in English, the text the setup's resources hold there;
// and a translated document made by the packer shows in a real rich-edit control as written
// (the end-to-end test reads each shipped language's document back; here its formatting).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "archive/language_table.h"
#include "base/win/module.h"
#include "base/win/module_state.h"
#include "base/win/wide_text.h"
#include "packer/language/document_rtf.h"
#include "packer/language/text_catalogue.h"
#include "resources/ui_texts.h"

namespace {

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct Reader {
  const std::string *text;
  size_t at;
};

DWORD CALLBACK ReadText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *read) {
  auto *reader = reinterpret_cast<Reader *>(cookie);
  const size_t n = std::min<size_t>(static_cast<size_t>(size), reader->text->size() - reader->at);
  std::memcpy(buffer, reader->text->data() + reader->at, n);
  reader->at += n;
  *read = static_cast<LONG>(n);
  return 0;
}

std::string Text(HWND window) {
  wchar_t text[4096] = {};
  ::SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return win::NarrowText(text, ::lstrlenW(text), CP_UTF8);
}

TEST(TextCatalogue, ItsEnglishIsTheSetupsOwn) {
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  std::map<uint32_t, HWND> dialogs;
  int compared = 0;
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    const CatalogueText &text = CatalogueTexts()[i];
    const uint32_t templateId = text.key >> 16;
    if (text.key < 0x1000) {
      EXPECT_EQ(win::LoadResourceString(text.key), text.english) << text.name;
      ++compared;
    } else if (templateId != 0 && templateId != kWizardSheetTexts) {
      HWND &dialog = dialogs[templateId];
      if (dialog == nullptr) {
        dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                      nullptr, NoHandling, 0);
      }
      ASSERT_NE(dialog, nullptr) << text.name;
      const uint32_t control = text.key & 0xFFFF;
      HWND window = control == 0 ? dialog : ::GetDlgItem(dialog, static_cast<int>(control));
      ASSERT_NE(window, nullptr) << text.name;
      EXPECT_EQ(Text(window), text.english) << text.name;
      ++compared;
    }
  }
  for (const auto &dialog : dialogs) {
    ::DestroyWindow(dialog.second);
  }
  EXPECT_GE(compared, 30);
}

// The document of a language in a rich-edit control; the control's text in UTF-16.
HWND ShowDocument(const std::string &markup, uint16_t language, std::wstring *text) {
  const std::string rtf = DocumentRtf(markup, language, false);
  HWND control = ::CreateWindowExW(0, L"RICHEDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  Reader reader = {&rtf, 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&reader), 0, ReadText};
  ::SendMessageW(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  // As UTF-16: the RICHEDIT class is an ANSI one, whose WM_GETTEXT goes through the code page.
  wchar_t shown[4096] = {};
  GETTEXTEX get = {sizeof shown, GT_DEFAULT, 1200, nullptr, nullptr};
  ::SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                 reinterpret_cast<LPARAM>(shown));
  *text = shown;
  return control;
}

TEST(DocumentRtf, ATranslatedDocumentShowsItsTextBulletsAndEmphasis) {
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  ASSERT_TRUE(richEdit.IsLoaded());
  std::wstring text;
  HWND control = ShowDocument("# Erforderliche Voraussetzungen\n\nMit **Weiter** gelangen Sie "
                              "zur Seite {1}\\2.\n\n- Herunterladen – die Voraussetzung fehlt.\n",
                              1031, &text);
  ASSERT_NE(control, nullptr);
  std::wstring lines;
  for (wchar_t c : text) {
    if (c != L'\n') {
      lines += c == L'\r' ? L'\n' : c;
    }
  }
  EXPECT_EQ(lines.substr(0, lines.find_last_not_of(L'\n') + 1),
            L"Erforderliche Voraussetzungen\n\nMit Weiter gelangen Sie zur Seite {1}\\2.\n\n"
            L"\u2022\tHerunterladen \u2013 die Voraussetzung fehlt.");
  // The heading bold at 16 points, the body plain at 10, "Weiter" bold italic, the item hanging.
  const auto at = [&](const wchar_t *what) {
    CHARRANGE range = {static_cast<LONG>(text.find(what)), static_cast<LONG>(text.find(what)) + 1};
    ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATW f = {};
    f.cbSize = sizeof f;
    ::SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    PARAFORMAT p = {};
    p.cbSize = sizeof p;
    ::SendMessageW(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&p));
    return std::make_pair(f, p);
  };
  EXPECT_TRUE(at(L"Erforderliche").first.dwEffects & CFE_BOLD);
  EXPECT_EQ(at(L"Erforderliche").first.yHeight, 16 * 20);
  EXPECT_EQ(at(L"Mit").first.dwEffects & (CFE_BOLD | CFE_ITALIC), 0u);
  EXPECT_EQ(at(L"Mit").first.yHeight, 10 * 20);
  EXPECT_EQ(at(L"Weiter").first.dwEffects & (CFE_BOLD | CFE_ITALIC),
            static_cast<DWORD>(CFE_BOLD | CFE_ITALIC));
  EXPECT_EQ(at(L"Herunterladen").second.dxOffset, 270);
  ::DestroyWindow(control);
}

} // namespace
