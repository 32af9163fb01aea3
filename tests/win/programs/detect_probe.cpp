// Test program: loads a configuration, runs the searches on this machine and decides, as the
// setup does, then prints what it found and decided, one line per fact.
#include <cstdio>

#include "prereq/prerequisite_list.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: detect_probe CONFIG.ini\n");
    return 2;
  }
  PrerequisiteList list(argv[1]);
  list.LoadConfiguration();
  list.RunDetection();
  list.DecideActions();
  const GeneralOptions &general = list.generalOptions();
  std::printf("general: cmdline='%s' options='%s' quiet=%s\n", general.mainAppCmdLine.c_str(),
              general.options.c_str(), list.HasGeneralOption(kQuietOption) ? "yes" : "no");
  for (size_t i = 0; i < list.count(); ++i) {
    const Prerequisite &p = list.prerequisite(i);
    std::printf("App%zu name='%s'\n", i + 1, p.name.c_str());
    std::printf("App%zu found=", i + 1);
    for (size_t k = 0; k < list.foundVersions(i).size(); ++k) {
      std::printf("%s'%s'", k == 0 ? "" : ",", list.foundVersions(i)[k].c_str());
    }
    std::printf("\nApp%zu status=%s\n", i + 1, list.StatusText(i).c_str());
    std::printf("App%zu action=%d %s\n", i + 1, static_cast<int>(list.decision(i)),
                PrerequisiteList::ActionText(list.decision(i)).c_str());
  }
  std::printf("count=%zu needsAction=%s\n", list.count(), list.NeedsAction() ? "yes" : "no");
  return 0;
}
