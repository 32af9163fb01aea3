#include "tools/product_name.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "tools/file_scan.h"

namespace {

// A String node: wLength, wValueLength, wType, then the key with its NUL, padded to 4 bytes.
constexpr uint32_t kNodeHeaderSize = 6;
const char kKey[] = "ProductName";

std::string Utf16Key() {
  std::string key;
  for (const char *p = kKey; *p != '\0'; ++p) {
    key += *p;
    key += '\0';
  }
  key.append(2, '\0');
  return key;
}

#ifndef _WIN32
// Decodes UTF-8 into UTF-16 units; false when the bytes are not UTF-8.
bool DecodeUtf8(const std::string &in, std::vector<uint32_t> *units) {
  for (size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    uint32_t code = 0;
    size_t extra = 0;
    if (c < 0x80) {
      code = c;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      code = c & 0x1Fu;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0Fu;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      code = c & 0x07u;
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= in.size() && extra > 0) {
      return false;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(in[i + k]);
      if ((t & 0xC0) != 0x80) {
        return false;
      }
      code = (code << 6) | (t & 0x3Fu);
    }
    // Overlong forms and surrogate code points are not UTF-8.
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
      return false;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      units->push_back(0xD800 + (code >> 10));
      units->push_back(0xDC00 + (code & 0x3FF));
    } else {
      units->push_back(code);
    }
    i += extra + 1;
  }
  return true;
}
#endif

bool ToUtf16(const std::string &name, std::vector<uint32_t> *units) {
  units->clear();
#ifdef _WIN32
  const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(),
                                           static_cast<int>(name.size()), nullptr, 0);
  if (length <= 0) {
    return false;
  }
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()),
                        wide.data(), length);
  for (wchar_t w : wide) {
    units->push_back(static_cast<uint32_t>(w));
  }
  return true;
#else
  if (DecodeUtf8(name, units)) {
    return true;
  }
  units->clear();
  for (char c : name) {
    units->push_back(static_cast<unsigned char>(c));
  }
  return true;
#endif
}

} // namespace

bool EncodeProductName(const std::string &name, std::vector<unsigned char> *value,
                       std::string *error) {
  std::vector<uint32_t> units;
  if (name.empty()) {
    *error = "the product name is empty";
    return false;
  }
  if (!ToUtf16(name, &units)) {
    *error = "the product name is not text in this system's code page";
    return false;
  }
  for (uint32_t unit : units) {
    if (unit < 0x20 || unit == 0x7F) {
      *error = "the product name contains a control character";
      return false;
    }
  }
  if (units.size() >= kProductNameCapacity) {
    *error = "the product name has " + std::to_string(units.size()) +
             " characters; the stub has room for " + std::to_string(kProductNameCapacity - 1);
    return false;
  }
  value->assign(kProductNameValueBytes, 0);
  for (size_t i = 0; i < units.size(); ++i) {
    (*value)[2 * i] = static_cast<unsigned char>(units[i]);
    (*value)[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
  }
  return true;
}

ProductNameSearch FindProductNameValues(sys::File &stub, uint32_t size,
                                        std::vector<uint32_t> *valueOffsets) {
  valueOffsets->clear();
  const std::string key = Utf16Key();
  std::vector<uint32_t> positions;
  if (!FindAllInFile(stub, 0, size, key, &positions)) {
    return ProductNameSearch::kReadError;
  }
  // The value follows the key, 4-byte aligned from the node's start.
  const uint32_t valueStart = (kNodeHeaderSize + static_cast<uint32_t>(key.size()) + 3) & ~3u;
  for (uint32_t keyAt : positions) {
    if (keyAt < kNodeHeaderSize) {
      continue;
    }
    const uint32_t nodeAt = keyAt - kNodeHeaderSize;
    if (static_cast<uint64_t>(nodeAt) + valueStart + kProductNameValueBytes > size) {
      continue;
    }
    unsigned char node[kNodeHeaderSize];
    unsigned char last[2];
    if (!ReadAt(stub, nodeAt, node, kNodeHeaderSize) ||
        !ReadAt(stub, nodeAt + valueStart + kProductNameValueBytes - 2, last, 2)) {
      return ProductNameSearch::kReadError;
    }
    const uint32_t length = node[0] | (node[1] << 8);
    const uint32_t valueLength = node[2] | (node[3] << 8);
    const uint32_t type = node[4] | (node[5] << 8);
    // A text node with exactly the fixed room, whose last unit is still a NUL.
    if (type == 1 && valueLength == kProductNameCapacity &&
        length >= valueStart + kProductNameValueBytes && last[0] == 0 && last[1] == 0) {
      valueOffsets->push_back(nodeAt + valueStart);
    }
  }
  if (!valueOffsets->empty()) {
    return ProductNameSearch::kFound;
  }
  return positions.empty() ? ProductNameSearch::kNoField : ProductNameSearch::kWrongCapacity;
}
