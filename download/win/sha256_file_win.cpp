// Files are hashed with the system's SHA-256: CryptoAPI's AES provider, which every Windows the
// setup supports has, so the setup carries no hash code of its own.
#include <windows.h>

#include <wincrypt.h>

#include "download/hash_file.h"
#include "download/sha256.h"

namespace {

// CALG_SHA_256, which the headers name only for Windows versions after the oldest the setup
// declares.
constexpr ALG_ID kSha256Algorithm = 0x800C;

// A SHA-256 hash object of a provider context of its own; both released with it.
class SystemSha256 {
public:
  SystemSha256() {
    if (!::CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
      provider_ = 0;
    } else if (!::CryptCreateHash(provider_, kSha256Algorithm, 0, 0, &hash_)) {
      hash_ = 0;
    }
  }
  ~SystemSha256() {
    if (hash_ != 0) {
      ::CryptDestroyHash(hash_);
    }
    if (provider_ != 0) {
      ::CryptReleaseContext(provider_, 0);
    }
  }
  SystemSha256(const SystemSha256 &) = delete;
  SystemSha256 &operator=(const SystemSha256 &) = delete;

  bool Update(const uint8_t *data, uint32_t size) {
    return hash_ != 0 && ::CryptHashData(hash_, data, size, 0) != FALSE;
  }
  bool Final(uint8_t (&digest)[32]) {
    DWORD size = sizeof digest;
    return hash_ != 0 && ::CryptGetHashParam(hash_, HP_HASHVAL, digest, &size, 0) &&
           size == sizeof digest;
  }

private:
  HCRYPTPROV provider_ = 0;
  HCRYPTHASH hash_ = 0;
};

} // namespace

bool Sha256OfFile(const std::string &path, std::string *hex) {
  SystemSha256 hash;
  uint8_t digest[32];
  if (!HashFile(path, hash, digest)) {
    return false;
  }
  *hex = Sha256DigestHex(digest);
  return true;
}
