// The wizard's first page (template 206): a fixed rich-text explanation.
#pragma once
#include <windows.h>

#include "base/win/icon.h"
#include "base/win/property_page.h"
#include "base/win/subclass.h"
#include "resources/setup_wizard_ids.h"
#include "ui/wizard_state.h"

class InformationPage : public win::PropertyPage<InformationPage> {
public:
  static constexpr int kTemplateId = IDD_INFORMATION_PAGE;
  static const MessageEntry kMessageMap[2];

  explicit InformationPage(WizardState &state) : state_(state) {}

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM);
  INT_PTR OnNotify(WPARAM, LPARAM);
  void OnFirstActivation();
  static DWORD CALLBACK ReadDocument(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *read);
  // The text's focus and keys.
  static bool OnTextMessage(void *context, HWND hwnd, UINT message, WPARAM, LPARAM,
                            LRESULT *result);

  WizardState &state_;
  bool iconsSet_ = false;
  win::Subclass textHandler_;
  // The document streamed into the text control, its terminating NUL included: the user's
  // language's, else the English one.
  const char *document_ = nullptr;
  size_t documentLength_ = 0;
  size_t readPosition_ = 0;
  // The sheet's icons, big then small: they must outlive the sheet window.
  win::Icon icons_[2];
};
