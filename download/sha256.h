// SHA-256 (FIPS 180-4), portable, for checking downloaded setups.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
  Sha256();
  void Update(const void *data, size_t size);
  // Finishes the hash; the object must not be updated afterwards.
  void Final(uint8_t digest[32]);
  // Final() as 64 lower-case hex digits.
  std::string FinalHex();

private:
  void Block(const uint8_t *block);

  uint32_t state_[8];
  uint8_t buffer_[64];
  size_t buffered_ = 0;
  uint64_t totalBytes_ = 0;
};

std::string Sha256Hex(const void *data, size_t size);
// A digest as 64 lower-case hex digits.
std::string Sha256DigestHex(const uint8_t digest[32]);

// Hashes a whole file (on Windows with the system's SHA-256); false when it cannot be read.
bool Sha256OfFile(const std::string &path, std::string *hex);

// True for exactly 64 hex digits (either case).
bool IsSha256Text(const std::string &text);
// Case-insensitive comparison of two hex digests.
bool SameSha256(const std::string &a, const std::string &b);
