// The ProductName of the stub's version resource, rewritten in place for each vendor's setup.
// The build gives the value a fixed room of 64 UTF-16 units (63 characters and a NUL,
// NUL-padded), so a new name never moves any other byte of the stub.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/file.h"

constexpr uint32_t kProductNameCapacity = 64; // UTF-16 units, the terminating NUL included
constexpr uint32_t kProductNameValueBytes = kProductNameCapacity * 2;

// The value bytes for name: UTF-16LE, NUL-padded to the full room. Names come from the command
// line: UTF-8 on Linux (anything else is read as Latin-1), the ANSI code page on Windows.
// False, with *error set, for an empty name, a control character or more than 63 units.
bool EncodeProductName(const std::string &name, std::vector<unsigned char> *value,
                       std::string *error);

enum class ProductNameSearch {
  kFound,
  kNoField,       // no ProductName string in the stub at all
  kWrongCapacity, // a ProductName whose value is not the fixed 64-unit room
  kReadError,
};

// File offsets of the value of every fixed-room ProductName String node in the first size bytes.
ProductNameSearch FindProductNameValues(sys::File &stub, uint32_t size,
                                        std::vector<uint32_t> *valueOffsets);
