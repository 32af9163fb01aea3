// The archive reader over arbitrary bytes taken as a whole setup file: opening and extracting
// must end in a result code, and every file written lies in the extraction folder and is gone
// once the archive is destroyed.
#include <dirent.h>
#include <sys/stat.h>

#include <fstream>

#include "archive/sfx_archive.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

int CountFiles(const std::string &folder) {
  int count = 0;
  DIR *dir = ::opendir(folder.c_str());
  for (dirent *e = dir != nullptr ? ::readdir(dir) : nullptr; e != nullptr; e = ::readdir(dir)) {
    const std::string name = e->d_name;
    count += name != "." && name != ".." ? 1 : 0;
  }
  if (dir != nullptr) {
    ::closedir(dir);
  }
  return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string scratch = FuzzScratchFolder();
  const std::string setup = scratch + "setup.exe";
  const std::string out = scratch + "out/";
  ::mkdir(out.c_str(), 0700);
  std::ofstream(setup, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  {
    SfxArchive archive;
    archive.SetModulePath(setup);
    archive.setExtractFolder(out);
    const SetupError result = archive.Open();
    FUZZ_CHECK(result == kSetupOk || result == kFileError || result == kOutOfMemory ||
               result == kCorrupted || result == kUnsupportedVersion);
    if (result == kSetupOk) {
      for (const SfxArchive::Entry &entry : archive.entries()) {
        FUZZ_CHECK(IsSafeEntryName(entry.name));
      }
      archive.ExtractAll();
    }
  }
  // Nothing outside the folder can have been written (the names are bare), and nothing in it
  // may stay behind.
  FUZZ_CHECK(CountFiles(out) == 0);
  return 0;
}
