// Benchmark program: loads and decides a configuration many times with our reader and, on
// Windows, reads the same keys one by one through GetPrivateProfileStringA as a baseline.
// Prints the best time of each in microseconds; the bench script turns them into a ratio.
#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "prereq/empty_search_host.h"
#include "prereq/prerequisite_list.h"

namespace {

// Nothing is installed, but the folders exist: the decisions then depend on the configuration
// alone, and folder tokens still expand as on a real system.
class NothingInstalled : public EmptySearchHost {
public:
  std::string SystemDirectory() const override { return "C:\\windows\\system32"; }
  std::string WindowsDirectory() const override { return "C:\\windows"; }
  std::string TempPath() const override { return "C:\\temp\\"; }
  std::string SpecialFolder(int) const override { return "C:\\special\\"; }
};

size_t LoadAndDecide(const std::string &path) {
  PrerequisiteList list(path);
  list.LoadConfiguration();
  list.RunDetection(NothingInstalled());
  list.DecideActions(OsFamily::WindowsNT);
  return list.count();
}

#ifdef _WIN32
// The same keys in the same order, each read by its own call.
size_t PlatformPerKey(const std::string &path) {
  char buffer[260];
  auto read = [&](const std::string &section, const char *key) {
    DWORD n =
        ::GetPrivateProfileStringA(section.c_str(), key, "NOT FOUND", buffer, 260, path.c_str());
    return n != 259 && std::string(buffer, n) != "NOT FOUND";
  };
  read("GeneralOptions", "MainAppCmdLine");
  read("GeneralOptions", "Options");
  size_t count = 0;
  for (unsigned n = 1;; ++n) {
    std::string app = "App" + std::to_string(n);
    if (!read("PREREQUISITES", app.c_str())) {
      break;
    }
    read(app, "TargetOS");
    if (!read(app, "SetupFile") && !read(app, "Url")) {
      break;
    }
    read(app, "ExactSize");
    read(app, "CommandLine");
    read(app, "Options");
    if (!read(app, "SearchType")) {
      break;
    }
    read(app, "VerMin");
    read(app, "VerMax");
    if (!read(app, "SearchString")) {
      break;
    }
    read(app, "Sha256");
    ++count;
  }
  return count;
}
#endif

template <typename Fn> long long BestMicroseconds(int rounds, Fn fn, size_t *count) {
  long long best = -1;
  for (int i = 0; i < rounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    *count = fn();
    auto end = std::chrono::steady_clock::now();
    long long us = std::chrono::duration_cast<std::chrono::microseconds>(end - start).count();
    best = best < 0 || us < best ? us : best;
  }
  return best;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: detect_bench CONFIG.ini [ROUNDS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
  size_t count = 0;
  long long ours = BestMicroseconds(
      rounds, [&] { return LoadAndDecide(path); }, &count);
  std::printf("ours_us=%lld prerequisites=%zu\n", ours, count);
#ifdef _WIN32
  long long platform = BestMicroseconds(
      rounds, [&] { return PlatformPerKey(path); }, &count);
  std::printf("platform_us=%lld prerequisites=%zu\n", platform, count);
#endif
  return 0;
}
