// The modeless one-line progress window shown while the setup works (no buttons, no system
// menu: the user cannot close it, the program destroys it).
#pragma once
#include <string>

#include "base/win/dialog.h"
#include "resources/resource.h"

class StatusWindow : public win::Dialog<StatusWindow> {
public:
  static constexpr int kTemplateId = IDD_STATUS;
  static const MessageEntry kMessageMap[1];

  // Shows the window without owner; false when it could not be created.
  bool Create();
  void SetCaption(const std::string &caption);
  void SetText(const std::string &text);
  void Destroy() { DestroyModeless(); }

private:
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam);
};
