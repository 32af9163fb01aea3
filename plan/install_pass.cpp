// The install pass of the plan: the setups of the scheduled prerequisites, one after another.
#include "plan/pass_windows.h"
#include "plan/prereq_plan.h"
#include "plan/setup_launches.h"

void PrereqPlan::installAll() { RunInstallPass(nullptr); }

void PrereqPlan::installAll(PassWindows &windows) { RunInstallPass(&windows); }

void PrereqPlan::RunInstallPass(PassWindows *windows) {
  started_ = std::vector<unsigned char>(actions_.size());
  const std::vector<SetupLaunch> launches =
      BuildSetupLaunches(archive_, list_, actions_, batch_.folder(), &badExtractions_);
  std::vector<SetupStart> started(launches.size(), SetupStart::NotStarted);
  if (windows == nullptr) {
    for (size_t i = 0; i < launches.size(); ++i) {
      started[i] = installer_.RunPrerequisiteSetup(launches[i]);
    }
  } else {
    windows->RunLaunches(launches, installer_, &started);
  }
  for (size_t i = 0; i < launches.size(); ++i) {
    if (started[i] == SetupStart::Started) {
      started_[launches[i].prereqIndex] = 1;
    }
  }
}
