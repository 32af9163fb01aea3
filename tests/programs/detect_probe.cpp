// Test program: loads a configuration, runs the searches on this machine and decides, as the
// setup does, then prints what it found and decided, one line per fact. With --setup it first
// opens a packed setup in the temporary folder, as the setup opens itself, and reads the
// configuration the setup carries.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "archive/sfx_archive.h"
#include "prereq/prerequisite_list.h"

int main(int argc, char **argv) {
  std::string configPath;
  SfxArchive archive;
  if (argc == 3 && std::strcmp(argv[1], "--setup") == 0) {
    char temp[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    archive.setExtractFolder(std::string(temp, length));
    if (archive.SetModulePath(argv[2]) != kSetupOk || archive.Open() != kSetupOk) {
      std::fprintf(stderr, "detect_probe: cannot open the setup %s\n", argv[2]);
      return 3;
    }
    configPath = archive.configPath();
    std::printf("config=%s\n", configPath.c_str());
  } else if (argc == 2) {
    configPath = argv[1];
  } else {
    std::fprintf(stderr, "usage: detect_probe CONFIG.ini | detect_probe --setup SETUP.exe\n");
    return 2;
  }
  PrerequisiteList list(configPath);
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
                PrerequisiteList::ActionText(list.decision(i)));
  }
  std::printf("count=%zu needsAction=%s\n", list.count(), list.NeedsAction() ? "yes" : "no");
  return 0;
}
