// The stub's entry point in place of the C runtime's start-up code, which brings argument
// vectors, pseudo-relocations and exception-frame registration the stub never uses. It does for
// this program what that code did: the x87 control word reset, the runtime's GUI error mode,
// the static constructors, WinMain with the text after the program name (path text, UTF-8: see
// base/file.h) and the start-up show state, and exit(), which runs the atexit handlers (static
// destructors among them) in reverse order of registration before the process ends.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "base/win/wide_text.h"

extern "C" {
// Filled by the linker: a -1 marker, the functions, a null end.
extern void (*__CTOR_LIST__[])();
extern void (*__DTOR_LIST__[])();
void __cdecl __set_app_type(int type);
[[noreturn]] void TessaraStart();

// The runtime library offers atexit only as part of its start-up code; the handlers go to the
// table of msvcrt's exit() directly, as that code's atexit put them.
int __cdecl atexit(void(__cdecl *handler)()) {
  return _onexit(reinterpret_cast<_onexit_t>(handler)) == nullptr ? -1 : 0;
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {
// msvcrt's _GUI_APP: its run-time error messages go to a message box.
constexpr int kGuiApplication = 2;

void RunStaticDestructors() {
  for (auto entry = __DTOR_LIST__ + 1; *entry != nullptr; ++entry) {
    (*entry)();
  }
}

// Last to first, as the runtime does; the destructors then run in the order of the list.
void RunStaticConstructors() {
  std::size_t count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) {
    ++count;
  }
  for (; count > 0; --count) {
    __CTOR_LIST__[count]();
  }
  std::atexit(RunStaticDestructors);
}

int StartupShowState() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  ::GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}
} // namespace

void TessaraStart() {
  // What the runtime's _fpreset does (its object would bring an unwind table along): the x87
  // unit in its initial state, 64-bit precision.
  __asm__ __volatile__("fninit");
  __set_app_type(kGuiApplication);
  RunStaticConstructors();
  int exitCode = 0;
  {
    std::string arguments = ArgumentsAfterProgramName(win::CommandLine());
    exitCode = WinMain(::GetModuleHandleA(nullptr), nullptr, arguments.data(), StartupShowState());
  }
  std::exit(exitCode);
}
