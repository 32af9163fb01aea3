#include "ui/prereq_page_model.h"

#include "download/download_item.h"
#include "plan/prereq_plan.h"
#include "plan/setup_outcome.h"
#include "ui/download_failure_message.h"

bool IsInstallAction(PrereqAction action) {
  return action == PrereqAction::Install || action == PrereqAction::Downloaded ||
         action == PrereqAction::AlreadyDownloaded || action == PrereqAction::Failed;
}

PrereqPageModel::PrereqPageModel(PrereqPlan &plan) : plan_(plan) {
  for (size_t i = 0; i < plan_.count(); ++i) {
    const PrereqAction decision = plan_.decision(i);
    if (IsMandatory(i) &&
        (decision == PrereqAction::Install || decision == PrereqAction::Download)) {
      ++mandatoryPending_;
    }
  }
}

bool PrereqPageModel::IsMandatory(size_t row) const {
  return plan_.list().prerequisite(row).isMandatory();
}

void PrereqPageModel::Recount() {
  downloadCount_ = 0;
  installCount_ = 0;
  for (size_t i = 0; i < plan_.count(); ++i) {
    const PrereqAction action = plan_.action(i);
    if (plan_.IsScheduledDownload(i)) {
      ++downloadCount_;
    } else if (IsInstallAction(action)) {
      ++installCount_;
    }
  }
  if (downloadCount_ > 0) {
    state_ = PageState::DownloadsPending;
  } else if (installCount_ > 0) {
    state_ = PageState::InstallsPending;
  } else {
    state_ = PageState::Finished;
  }
}

bool PrereqPageModel::SelectsRow(size_t row) const {
  return row < plan_.count() && plan_.action(row) != PrereqAction::NotRequired;
}

bool PrereqPageModel::OpensCombo(size_t row) const { return SelectsRow(row) && !IsMandatory(row); }

PrereqText PrereqPageModel::SecondItemText(size_t row) const {
  if (plan_.list().prerequisite(row).sourceKind == SourceKind::SetupFile) {
    return prereq_text::kInstall;
  }
  const PrereqAction action = plan_.action(row);
  return action == PrereqAction::Downloaded || action == PrereqAction::AlreadyDownloaded ||
                 action == PrereqAction::Failed
             ? prereq_text::kInstall
             : prereq_text::kDownload;
}

int PrereqPageModel::PreselectedItem(size_t row) const {
  const PrereqAction action = plan_.action(row);
  return action == PrereqAction::Download || IsInstallAction(action) ? 1 : 0;
}

void PrereqPageModel::ApplyActionChoice(size_t row, int item) {
  if (row >= plan_.count()) {
    return;
  }
  if (item == 0) {
    // An installed row stays installed: its setup has run.
    if (plan_.action(row) != PrereqAction::Installed) {
      plan_.setAction(row, PrereqAction::DontInstall);
    }
  } else if (plan_.list().prerequisite(row).sourceKind == SourceKind::SetupFile) {
    plan_.setAction(row, PrereqAction::Install);
  } else {
    plan_.setAction(row, PrereqAction::Download);
    // A complete file already in the folder makes it AlreadyDownloaded at once.
    plan_.refreshDownloaded();
  }
  Recount();
}

unsigned PrereqPageModel::AfterDownloadPass(DownloadRunResult result) {
  if (result != DownloadRunResult::AllAttempted) {
    // The actions stay: the user may press Next again, change actions or choose a folder.
    Recount();
    return DownloadFailureStringId(FailureOf(result));
  }
  bool saveFailed = false;
  for (const DownloadItem &item : plan_.batch().items()) {
    saveFailed = saveFailed || item.status == DownloadItemStatus::SaveFailed;
  }
  plan_.ApplyDownloadResults();
  Recount();
  // A folder that cannot be written fails every file silently otherwise.
  return saveFailed ? DownloadFailureStringId(DownloadFailure::SaveError) : 0;
}

bool PrereqPageModel::AfterInstallPass() {
  bool allDone = true;
  for (size_t i = 0; i < plan_.count(); ++i) {
    if (!IsInstallAction(plan_.action(i))) {
      continue;
    }
    if (!plan_.setupStarted(i)) {
      allDone = false;
      continue;
    }
    const PrereqResult result = plan_.result(i);
    const bool failed = result == PrereqResult::Failed || result == PrereqResult::Busy;
    plan_.setAction(i, failed ? PrereqAction::Failed : PrereqAction::Installed);
    allDone = allDone && !failed;
  }
  if (allDone) {
    state_ = PageState::Finished;
  } else {
    Recount();
  }
  return allDone;
}

bool PrereqPageModel::MandatoryLeft() const {
  for (size_t i = 0; i < plan_.count(); ++i) {
    const PrereqAction action = plan_.action(i);
    if (IsMandatory(i) && (action == PrereqAction::Download || IsInstallAction(action) ||
                           action == PrereqAction::DownloadFailed)) {
      return true;
    }
  }
  return false;
}

UiTextRef PrereqPageModel::HintText(PageState state) {
  switch (state) {
  case PageState::DownloadsPending:
    return ui_text::kHintDownload;
  case PageState::InstallsPending:
    return ui_text::kHintInstall;
  case PageState::Finished:
    break;
  }
  return ui_text::kHintFinish;
}

WizardButtons PrereqPageModel::Buttons() const {
  const bool finished = state_ == PageState::Finished;
  return {!finished, finished || !MandatoryLeft()};
}
