// Adds a certificate authority to the local machine's root store of the Wine prefix it runs in
// (never the machine's own), so that the tests' TLS servers are trusted there alone.
//   trust_root <certificate.der>
#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_root <certificate.der>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  HCERTSTORE store =
      ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  const BOOL added = store != nullptr &&
                     ::CertAddEncodedCertificateToStore(
                         store, X509_ASN_ENCODING, reinterpret_cast<const BYTE *>(der.data()),
                         static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  // The registry store is written when it is closed.
  if (store != nullptr) {
    ::CertCloseStore(store, 0);
  }
  std::printf(added ? "TRUSTED\n" : "NOT TRUSTED\n");
  return added ? 0 : 1;
}
