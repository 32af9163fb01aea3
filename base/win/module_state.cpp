#include "base/win/module_state.h"

#include "base/win/wide_text.h"

namespace win {

namespace {
HINSTANCE g_instance = nullptr;
}

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() {
  return g_instance != nullptr ? g_instance : ::GetModuleHandleA(nullptr);
}

std::string LoadResourceString(UINT id) {
  // With no buffer, LoadStringW hands out the resource's own text, whatever its length.
  const wchar_t *text = nullptr;
  const int length = ::LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return text != nullptr && length > 0 ? NarrowText(text, length) : std::string();
}

} // namespace win
