// What the prerequisites page decides, without windows: the counts and the page state, the
// hint, the action combo's items and the effect of a choice, and what each pass leaves.
#pragma once
#include <cstddef>
#include <string>

#include "download/download_batch.h"
#include "prereq/prerequisite_list.h"
#include "resources/ui_texts.h"

class PrereqPlan;

enum class PageState { DownloadsPending, InstallsPending, Finished };

// Whether the sheet's Next and Finish buttons are enabled; Back is always on this page.
struct WizardButtons {
  bool next;
  bool finish;
};

class PrereqPageModel {
public:
  // Counts the mandatory prerequisites whose decision is Install or Download.
  explicit PrereqPageModel(PrereqPlan &plan);

  // Recounts the actions; the state follows from the counts.
  void Recount();

  // A click on the Action cell selects the row unless it is NotRequired; the combo then opens
  // unless the row is mandatory.
  bool SelectsRow(size_t row) const;
  bool OpensCombo(size_t row) const;
  // Item 1 of the combo ("Install" or "Download"; item 0 is always "Don't Install").
  PrereqText SecondItemText(size_t row) const;
  int PreselectedItem(size_t row) const;
  // The user's choice in the combo; recounts.
  void ApplyActionChoice(size_t row, int item);

  // After the interactive downloadAll with its result. AllAttempted applies the items'
  // outcomes and recounts. Returns the string id of the message the page shows, 0 for none: the
  // failure text of any other result, or the save-failure text when a file could not be written.
  unsigned AfterDownloadPass(DownloadRunResult result);
  // After the interactive installAll: rows whose setup was started become Installed, or Failed
  // when their setup failed or found another installation running. Returns true when every
  // scheduled setup was started and none failed (the state is then Finished); otherwise rows
  // not started keep their actions and the state is recounted, so that Next runs the rows left
  // and the failed ones again.
  bool AfterInstallPass();
  // True while a mandatory prerequisite is still to be downloaded or installed, or failed.
  bool MandatoryLeft() const;

  static UiTextRef HintText(PageState state);
  // The sheet's buttons for the page as it is: Next while something is pending; Finish once
  // everything is done, and before that unless a mandatory prerequisite is left.
  WizardButtons Buttons() const;

  int mandatoryPending() const { return mandatoryPending_; }
  int downloadCount() const { return downloadCount_; }
  int installCount() const { return installCount_; }
  PageState state() const { return state_; }
  void setState(PageState state) { state_ = state; }

private:
  bool IsMandatory(size_t row) const;

  PrereqPlan &plan_;
  int mandatoryPending_ = 0;
  int downloadCount_ = 0;
  int installCount_ = 0;
  PageState state_ = PageState::DownloadsPending;
};

// Whether an action is run by the install pass.
bool IsInstallAction(PrereqAction action);
