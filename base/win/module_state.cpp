#include "base/win/module_state.h"

#include "base/buffer.h"

namespace win {

namespace {
HINSTANCE g_instance = nullptr;
}

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() {
  return g_instance != nullptr ? g_instance : ::GetModuleHandleA(nullptr);
}

std::string LoadResourceString(UINT id) {
  // Grow the buffer until the text fits with room to spare: LoadStringA truncates silently.
  for (int size = 256; size <= 65536; size *= 2) {
    base::Buffer<char> buffer(static_cast<size_t>(size));
    const int length = ::LoadStringA(ModuleInstance(), id, buffer.get(), size);
    if (length < size - 1) {
      return std::string(buffer.get(), static_cast<size_t>(length));
    }
  }
  return std::string();
}

} // namespace win
