// The wizard's second page (template 202): the prerequisites with their status and action,
// the action combo over the Action cell, the download folder, and the two passes run from
// Next.
#pragma once
#include <windows.h>

#include <string>

#include "base/win/property_page.h"
#include "base/win/subclass.h"
#include "resources/setup_wizard_ids.h"
#include "ui/dialog_pass_windows.h"
#include "ui/prereq_page_model.h"
#include "ui/wizard_state.h"

class PrereqPlan;

class PrerequisitesPage : public win::PropertyPage<PrerequisitesPage> {
public:
  static constexpr int kTemplateId = IDD_PREREQUISITES_PAGE;
  static const MessageEntry kMessageMap[3];

  // Writes the wizard's title and the count of mandatory prerequisites still to be handled
  // into state.
  PrerequisitesPage(PrereqPlan &plan, WizardState &state);

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM);
  INT_PTR OnNotify(WPARAM, LPARAM);
  INT_PTR OnCommand(WPARAM, LPARAM);

  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
  void InitList();
  // Recounts and rewrites the Action column (and the Status column too when statuses is set),
  // then the hint and the Browse button.
  void RefreshActions(bool statuses = false);
  void ShowRows(bool statuses);
  // The row's Status text in the user's language; with its exit code when its setup failed.
  std::string StatusText(size_t row) const;
  void UpdateHint();
  // Browse is offered while downloads are scheduled.
  void EnableBrowse(bool enable);
  // dropDown shows its list at once, as the keyboard opens a combo box.
  void OpenActionCombo(int row, int column, bool dropDown = false);
  // Ends the open action combo, if any; apply makes its choice the row's action.
  void CloseActionCombo(bool apply);
  static bool OnComboMessage(void *context, HWND combo, UINT message, WPARAM, LPARAM,
                             LRESULT *result);
  // The list's keys that open the action list.
  static bool OnListMessage(void *context, HWND list, UINT message, WPARAM, LPARAM,
                            LRESULT *result);
  void Browse();
  void ShowFolder();
  void DownloadPass();
  void InstallPass();
  // The Yes/No box when Windows must restart before the run goes on; closes the sheet.
  void AskForRestart();
  void ShowFailure(unsigned stringId);

  WizardState &state_;
  PrereqPlan &plan_;
  PrereqPageModel model_;
  DialogPassWindows passWindows_;
  int rowCount_ = 0;
  win::Subclass comboHandler_;
  win::Subclass listHandler_;
  HWND combo_ = nullptr;
  int selectedRow_ = -1;
};
