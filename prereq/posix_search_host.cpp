// The POSIX build has no registry and no Windows folders: its searches find nothing.
#include "prereq/empty_search_host.h"

std::unique_ptr<SearchHost> CreatePlatformSearchHost() {
  return std::unique_ptr<SearchHost>(new EmptySearchHost());
}

OsFamily CurrentOsFamily() { return OsFamily::WindowsNT; }
