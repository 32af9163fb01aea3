#include "ui/ui_text.h"

#include "base/win/module_state.h"
#include "base/win/wide_text.h"

namespace {
const LanguageTable *g_language = nullptr;
bool g_rightToLeft = false;

BOOL CALLBACK Mirror(HWND window, LPARAM) {
  ::SetWindowLongW(window, GWL_EXSTYLE, ::GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
  return TRUE;
}
} // namespace

void SetUiLanguage(const LanguageTable *table) {
  g_language = table;
  g_rightToLeft = table != nullptr && table->rightToLeft();
}

bool UiRightToLeft() { return g_rightToLeft; }

const char *TranslatedText(uint32_t key) {
  return g_language != nullptr ? g_language->Find(key) : nullptr;
}

const char *UiText(uint32_t key, const char *english) {
  const char *text = TranslatedText(key);
  return text != nullptr ? text : english;
}

std::string UiString(unsigned id) {
  const char *text = TranslatedText(id);
  return text != nullptr ? std::string(text) : win::LoadResourceString(id);
}

void TranslateWindow(HWND window, uint32_t templateId) {
  if (g_language == nullptr) {
    return;
  }
  // The process lays out right to left only the windows that have no owner: a dialog owned by
  // another, and each of its controls, are mirrored here.
  if (g_rightToLeft) {
    Mirror(window, 0);
    ::EnumChildWindows(window, &Mirror, 0);
  }
  for (uint32_t i = 0; i < g_language->count(); ++i) {
    const uint32_t key = g_language->KeyAt(i);
    const int control = static_cast<int>(key & 0xFFFF);
    const char *text = g_language->TextAt(i);
    if (key >> 16 == templateId && text != nullptr) {
      SetUiWindowText(control == 0 ? window : ::GetDlgItem(window, control), text);
    }
  }
}

void SetUiWindowText(HWND window, std::string_view text) {
  ::SetWindowTextW(window, win::WideText(text).get());
}

void SetUiItemText(HWND dialog, int id, std::string_view text) {
  SetUiWindowText(::GetDlgItem(dialog, id), text);
}

int ShowUiMessage(HWND owner, std::string_view text, const wchar_t *caption, UINT flags) {
  return ::MessageBoxW(owner, win::WideText(text).get(), caption,
                       g_rightToLeft ? flags | MB_RTLREADING | MB_RIGHT : flags);
}
