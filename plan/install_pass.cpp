// The install pass of the plan: the setups of the scheduled prerequisites, one after another.
#include "plan/prereq_plan.h"

#include "install/setup_launch.h"

int PrereqPlan::installAll(bool silent) {
  started_.assign(actions_.size(), 0);
  const std::vector<SetupLaunch> launches =
      BuildSetupLaunches(archive_, list_, actions_, batch_.folder(), &badExtractions_);
  std::vector<unsigned char> started(launches.size(), 0);
  if (silent) {
    for (size_t i = 0; i < launches.size(); ++i) {
      started[i] = installer_.RunSetup(launches[i]) ? 1 : 0;
    }
  } else {
    installer_.RunWithLaunchWindow(launches, &started);
  }
  for (size_t i = 0; i < launches.size(); ++i) {
    if (started[i] != 0) {
      started_[launches[i].prereqIndex] = 1;
    }
  }
  // The caller learns nothing of the setups' own outcomes; setupStarted tells what ran.
  return 0;
}
