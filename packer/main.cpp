// tessara-pack: builds, lists and extracts setups.
#include <cstdio>
#include <string>
#include <vector>

#include "packer/archive_commands.h"
#include "packer/check/check_command.h"
#include "packer/hash_command.h"
#include "packer/language/language_check.h"
#include "packer/pack_command.h"
#include "packer/pack_status.h"
#include "packer/pack_usage.h"

#ifdef _WIN32
#include "base/win/wide_text.h"
#endif

int main(int argc, char **argv) {
#ifdef _WIN32
  // Its paths come from the ANSI command line and go to ANSI functions too (portable_system):
  // the shared file code reads them in that code page, not as the setup's UTF-8.
  win::KeepPathsInAnsiCodePage();
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(PackUsageText(), stderr);
    return kExitUsage;
  }
  const std::string command = args[0];
  if (command == "--help" || command == "-h" || command == "help" || command == "/?") {
    std::fputs(PackUsageText(), stdout);
    return kExitOk;
  }
  if (command == "--version") {
    std::fputs(PackVersionText(), stdout);
    return kExitOk;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const bool ownHelp = command == "check" || command == "hash";
  for (const std::string &arg : args) {
    if (!ownHelp && (arg == "--help" || arg == "-h")) {
      std::fputs(PackUsageText(), stdout);
      return kExitOk;
    }
  }
  if (command == "pack") {
    return RunPackCommand(rest);
  }
  if (command == "list") {
    return RunListCommand(rest);
  }
  if (command == "extract") {
    return RunExtractCommand(rest);
  }
  if (command == "check") {
    return RunCheckCommand(rest);
  }
  if (command == "hash") {
    return RunHashCommand(rest);
  }
  if (command == "language-template" && rest.empty()) {
    std::fputs(LanguageTemplate().c_str(), stdout);
    return kExitOk;
  }
  if (!command.empty() && command[0] == '-') {
    return RunPackCommand(args);
  }
  return ReportStatus(UsageError("unknown command '" + command + "' (see --help)"));
}
