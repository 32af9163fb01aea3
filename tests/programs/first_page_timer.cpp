// Benchmark helper: starts a setup, measures the milliseconds until the setup shows a window
// with the given button (the wizard's Cancel, a box's OK), prints them, presses that button and
// waits for the setup to end.
//   first_page_timer <setup.exe> <button text>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
  DWORD processId;
  const char *button;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<Search *>(lParam);
  char text[128] = {};
  ::GetWindowTextA(hwnd, text, sizeof(text));
  if (std::strcmp(text, search->button) == 0 && ::IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTop(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<Search *>(lParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && ::IsWindowVisible(hwnd)) {
    ::EnumChildWindows(hwnd, FindChild, lParam);
  }
  return search->found == nullptr;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: first_page_timer <setup.exe> <button text>\n");
    return 2;
  }
  std::string command = std::string("\"") + argv[1] + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const DWORD start = ::GetTickCount();
  if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::printf("could not start %s\n", argv[1]);
    return 1;
  }
  Search search = {process.dwProcessId, argv[2], nullptr};
  while (search.found == nullptr) {
    if (::WaitForSingleObject(process.hProcess, 5) == WAIT_OBJECT_0) {
      std::printf("the setup ended without showing the page\n");
      return 1;
    }
    ::EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
  }
  const DWORD elapsed = ::GetTickCount() - start;
  std::printf("first page ms: %lu\n", static_cast<unsigned long>(elapsed));
  std::fflush(stdout);
  ::PostMessageA(search.found, BM_CLICK, 0, 0);
  ::WaitForSingleObject(process.hProcess, 60000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return 0;
}
