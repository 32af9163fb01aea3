// The install pass of the plan: the setups of the scheduled prerequisites, one after another.
#include "plan/pass_windows.h"
#include "plan/prereq_plan.h"
#include "plan/setup_launches.h"

void PrereqPlan::installAll() { RunInstallPass(nullptr); }

void PrereqPlan::installAll(PassWindows &windows) { RunInstallPass(&windows); }

void PrereqPlan::RunInstallPass(PassWindows *windows) {
  started_.assign(actions_.size(), 0);
  const std::vector<SetupLaunch> launches =
      BuildSetupLaunches(archive_, list_, actions_, batch_.folder(), &badExtractions_);
  std::vector<unsigned char> started(launches.size(), 0);
  if (windows == nullptr) {
    for (size_t i = 0; i < launches.size(); ++i) {
      started[i] = installer_.RunPrerequisiteSetup(launches[i]) == SetupStart::Started ? 1 : 0;
    }
  } else {
    windows->RunLaunches(launches, installer_, &started);
  }
  for (size_t i = 0; i < launches.size(); ++i) {
    if (started[i] != 0) {
      started_[launches[i].prereqIndex] = 1;
    }
  }
}
