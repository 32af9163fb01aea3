// Starts at the setup's own entry point and reports, on standard output, the order of what runs:
// static construction, WinMain with its command-line text, the atexit handlers, the static
// destructors.
#include <windows.h>

#include <cstdlib>

namespace {
void Say(const char *text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(::lstrlenA(text)),
              &written, nullptr);
}

struct Noisy {
  explicit Noisy(const char *name) : name_(name) {
    Say("construct ");
    Say(name_);
    Say("\n");
  }
  ~Noisy() {
    Say("destroy ");
    Say(name_);
    Say("\n");
  }
  const char *name_;
};

Noisy first("first");
Noisy second("second");

void Handler() { Say("atexit handler\n"); }
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  std::atexit(Handler);
  Say("WinMain [");
  Say(commandLine);
  Say("]\n");
  return 0;
}
