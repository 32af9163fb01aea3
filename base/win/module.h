// Loaded DLLs and the defences against DLL planting.
#pragma once
#include <windows.h>

#include <string>

namespace win {

// An export of a loaded module; null when either is missing. One call for every lookup.
FARPROC ProcAddressOf(HMODULE module, const char *name);

// An export of kernel32.dll, which every process has loaded, as the function type the caller
// names; null when this system lacks it. For the calls that newer systems added.
FARPROC KernelProcAddress(const char *name);
template <typename Fn> Fn KernelProc(const char *name) {
  // GetProcAddress returns a generic pointer; the caller names the real signature.
  return reinterpret_cast<Fn>(reinterpret_cast<void *>(KernelProcAddress(name)));
}

// An export of a loaded module as the function type the caller names; null when either is missing.
template <typename Fn> Fn ProcAddress(HMODULE module, const char *name) {
  // GetProcAddress returns a generic pointer; the caller names the real signature.
  return reinterpret_cast<Fn>(reinterpret_cast<void *>(ProcAddressOf(module, name)));
}

// Sets *fn to the export of that name; false when the module or the export is missing.
template <typename Fn> bool BindProc(HMODULE module, const char *name, Fn *fn) {
  *fn = ProcAddress<Fn>(module, name);
  return *fn != nullptr;
}

// Owner of a module handle from LoadLibrary; Free() is safe to repeat.
class Module {
public:
  Module() = default;
  explicit Module(HMODULE m) : module_(m) {}
  ~Module() { Free(); }
  Module(const Module &) = delete;
  Module &operator=(const Module &) = delete;

  bool IsLoaded() const { return module_ != nullptr; }
  HMODULE Get() const { return module_; }
  void Attach(HMODULE m) {
    Free();
    module_ = m;
  }
  void Free() {
    if (module_ != nullptr) {
      ::FreeLibrary(module_);
      module_ = nullptr;
    }
  }
  template <typename Fn> Fn Proc(const char *name) const { return ProcAddress<Fn>(module_, name); }

private:
  HMODULE module_ = nullptr;
};

// Restricts the DLL search to the system folder where the system allows it. Call first thing.
void HardenDllSearch();

// The system folder, ending with a backslash; empty when it cannot be obtained.
std::string SystemFolder();

// Loads a DLL by its full path in the system folder, never from the search path.
HMODULE LoadSystemLibrary(const char *fileName);

} // namespace win
