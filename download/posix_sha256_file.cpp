// Files are hashed with the portable SHA-256 where the system offers none.
#include "download/hash_file.h"
#include "download/sha256.h"

namespace {

// The portable hash in the shape HashFile takes.
class PortableSha256 {
public:
  bool Update(const uint8_t *data, uint32_t size) {
    hash_.Update(data, size);
    return true;
  }
  bool Final(uint8_t (&digest)[32]) {
    hash_.Final(digest);
    return true;
  }

private:
  Sha256 hash_;
};

} // namespace

bool Sha256OfFile(const std::string &path, std::string *hex) {
  PortableSha256 hash;
  uint8_t digest[32];
  if (!HashFile(path, hash, digest)) {
    return false;
  }
  *hex = Sha256DigestHex(digest);
  return true;
}
