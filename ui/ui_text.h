// The texts of the setup's windows in the user's language. The run hands over the language
// table it chose (app/ui_language.h); a text the table holds replaces its English where it is
// set, every other text stays English. Texts are UTF-8 here and reach Windows as UTF-16, so
// that any language shows whatever the system's code page.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "archive/language_table.h"
#include "resources/ui_texts.h"

// The table the windows take their texts from; null (the start) for English. It outlives
// every window.
void SetUiLanguage(const LanguageTable *table);
// Whether the windows are laid out right to left (the table's language is written so).
bool UiRightToLeft();

// The table's text for key; null when there is none.
const char *TranslatedText(uint32_t key);
// The table's text for key, else english.
const char *UiText(uint32_t key, const char *english);
inline const char *UiText(const UiTextRef &text) { return UiText(text.key, text.english); }
// A string-table text: the table's, else the resource's.
std::string UiString(unsigned id);

// Gives window, made from template templateId, every text the table holds for that template,
// and lays it out right to left when the language is written so.
void TranslateWindow(HWND window, uint32_t templateId);
void SetUiWindowText(HWND window, std::string_view text);
void SetUiItemText(HWND dialog, int id, std::string_view text);
// A message box in the language's reading order; caption null for the system's own ("Error").
int ShowUiMessage(HWND owner, std::string_view text, const wchar_t *caption, UINT flags);
