// Reads back what a packed setup shows of the vendor, through the platform's own functions:
//   resource_probe icon SETUP.exe ICON.ico SIZE  icon 128 of the setup against the .ico at SIZE
//   resource_probe version SETUP.exe              the version strings and the fixed file version
//   resource_probe manifest SETUP.exe             the text of the application manifest
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The icon's colour and mask pixels as 32-bit rows; empty when it cannot be read.
std::vector<unsigned char> Pixels(HICON icon, int size) {
  std::vector<unsigned char> pixels;
  ICONINFO info;
  if (icon == nullptr || !::GetIconInfo(icon, &info)) {
    return pixels;
  }
  HDC dc = ::GetDC(nullptr);
  for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
    if (bitmap == nullptr) {
      continue;
    }
    BITMAPINFO bi;
    std::memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> rows(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    if (::GetDIBits(dc, bitmap, 0, static_cast<UINT>(size), rows.data(), &bi, DIB_RGB_COLORS) !=
        size) {
      pixels.clear();
      break;
    }
    pixels.insert(pixels.end(), rows.begin(), rows.end());
    ::DeleteObject(bitmap);
  }
  ::ReleaseDC(nullptr, dc);
  return pixels;
}

unsigned long Digest(const std::vector<unsigned char> &bytes) {
  unsigned long h = 2166136261u;
  for (unsigned char b : bytes) {
    h = (h ^ b) * 16777619u;
  }
  return h;
}

int Icon(const char *setup, const char *file, int size) {
  HMODULE module = ::LoadLibraryExA(setup, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    std::printf("setup not loadable: %lu\n", static_cast<unsigned long>(::GetLastError()));
    return 1;
  }
  auto fromSetup = static_cast<HICON>(
      ::LoadImageA(module, MAKEINTRESOURCEA(128), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  auto fromFile = static_cast<HICON>(
      ::LoadImageA(nullptr, file, IMAGE_ICON, size, size, LR_LOADFROMFILE | LR_DEFAULTCOLOR));
  const std::vector<unsigned char> a = Pixels(fromSetup, size);
  const std::vector<unsigned char> b = Pixels(fromFile, size);
  std::printf("setup icon: %s %08lx\n", a.empty() ? "none" : "loaded", Digest(a));
  std::printf("file icon: %s %08lx\n", b.empty() ? "none" : "loaded", Digest(b));
  // The centre pixel, as blue green red alpha.
  if (!a.empty()) {
    const size_t centre = (static_cast<size_t>(size / 2) * static_cast<size_t>(size) +
                           static_cast<size_t>(size / 2)) *
                          4;
    std::printf("centre: %02x%02x%02x\n", a[centre + 2], a[centre + 1], a[centre]);
  }
  std::printf("pixels: %s\n", !a.empty() && a == b ? "equal" : "differ");
  // The shell's own pick, as Explorer shows the file: the first icon group, at the large size.
  HICON shell = nullptr;
  if (size == ::GetSystemMetrics(SM_CXICON) &&
      ::ExtractIconExA(setup, 0, &shell, nullptr, 1) == 1) {
    const std::vector<unsigned char> c = Pixels(shell, size);
    std::printf("shell icon: %s\n", !c.empty() && c == b ? "equal" : "differ");
    ::DestroyIcon(shell);
  }
  if (fromSetup != nullptr) {
    ::DestroyIcon(fromSetup);
  }
  if (fromFile != nullptr) {
    ::DestroyIcon(fromFile);
  }
  ::FreeLibrary(module);
  return 0;
}

int Version(const char *setup) {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(setup, &handle);
  std::vector<char> block(size == 0 ? 1 : size);
  if (size == 0 || !::GetFileVersionInfoA(setup, 0, size, block.data())) {
    std::printf("no version resource\n");
    return 1;
  }
  for (const char *key :
       {"CompanyName", "FileDescription", "FileVersion", "ProductName", "ProductVersion"}) {
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + key;
    char *value = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<LPVOID *>(&value), &length) &&
        value != nullptr) {
      std::printf("%s: %s\n", key, value);
    } else {
      std::printf("%s: <none>\n", key);
    }
  }
  VS_FIXEDFILEINFO *info = nullptr;
  UINT length = 0;
  if (::VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID *>(&info), &length)) {
    std::printf("fixed file version: %lu.%lu.%lu.%lu\n",
                static_cast<unsigned long>(HIWORD(info->dwFileVersionMS)),
                static_cast<unsigned long>(LOWORD(info->dwFileVersionMS)),
                static_cast<unsigned long>(HIWORD(info->dwFileVersionLS)),
                static_cast<unsigned long>(LOWORD(info->dwFileVersionLS)));
  }
  return 0;
}

int Manifest(const char *setup) {
  HMODULE module = ::LoadLibraryExA(setup, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found =
      module != nullptr ? ::FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST) : nullptr;
  HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
  if (loaded == nullptr) {
    std::printf("no manifest\n");
    return 1;
  }
  std::fwrite(::LockResource(loaded), 1, ::SizeofResource(module, found), stdout);
  ::FreeLibrary(module);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 5 && std::strcmp(argv[1], "icon") == 0) {
    return Icon(argv[2], argv[3], std::atoi(argv[4]));
  }
  if (argc == 3 && std::strcmp(argv[1], "version") == 0) {
    return Version(argv[2]);
  }
  if (argc == 3 && std::strcmp(argv[1], "manifest") == 0) {
    return Manifest(argv[2]);
  }
  std::fprintf(stderr,
               "usage: resource_probe icon SETUP ICO SIZE | version SETUP | manifest SETUP\n");
  return 2;
}
