// The product is built without exceptions. The C++ runtime's throwing helpers would drag in
// the whole unwinder, type information and a name demangler (about 150 KB); these versions
// end the process instead, which is what an exception nobody catches would do anyway.
#include <cstdlib>
#include <new>

namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char *) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char *) { std::abort(); }
[[noreturn]] void __throw_out_of_range(const char *) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char *, ...) { std::abort(); }
[[noreturn]] void __throw_invalid_argument(const char *) { std::abort(); }
// A failed bounds check of the standard containers.
void __glibcxx_assert_fail(const char *, int, const char *, const char *) noexcept { std::abort(); }
// Defined here, the constant does not pull in the runtime's new-handler object.
const nothrow_t nothrow{};
} // namespace std

// A call through an unset virtual function: a programming error, ended like a failed check.
extern "C" void __cxa_pure_virtual() { std::abort(); }

void *operator new(std::size_t size) {
  void *p = std::malloc(size != 0 ? size : 1);
  if (p == nullptr) {
    std::abort();
  }
  return p;
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  return std::malloc(size != 0 ? size : 1);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  return std::malloc(size != 0 ? size : 1);
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
