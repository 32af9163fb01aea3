#include "download/win/signer_check.h"

#include <windows.h>

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstring>

#include "base/win/module.h"
#include "base/win/wide_text.h"

namespace {

// ANSI text as wide text in a MAX_PATH buffer, upper-cased by the system's rules; its length
// with the terminating zero, 0 when it does not fit.
int UpperWide(const char *text, WCHAR *wide) {
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
  ::CharUpperBuffW(wide, static_cast<DWORD>(length));
  return length;
}

} // namespace

bool IsSignedBy(const std::string &path, const std::string &signer) {
  WCHAR wanted[MAX_PATH];
  const int wantedLength = UpperWide(signer.c_str(), wanted);
  win::Module trust(win::LoadSystemLibrary("wintrust.dll"));
  win::Module crypt(win::LoadSystemLibrary("crypt32.dll"));
  const auto verify = trust.Proc<LONG(WINAPI *)(HWND, GUID *, LPVOID)>("WinVerifyTrust");
  const auto stateData =
      trust.Proc<CRYPT_PROVIDER_DATA *(WINAPI *)(HANDLE)>("WTHelperProvDataFromStateData");
  const auto signerOf =
      trust.Proc<CRYPT_PROVIDER_SGNR *(WINAPI *)(CRYPT_PROVIDER_DATA *, DWORD, BOOL, DWORD)>(
          "WTHelperGetProvSignerFromChain");
  const auto certOf = trust.Proc<CRYPT_PROVIDER_CERT *(WINAPI *)(CRYPT_PROVIDER_SGNR *, DWORD)>(
      "WTHelperGetProvCertFromChain");
  const auto nameOf =
      crypt.Proc<DWORD(WINAPI *)(PCCERT_CONTEXT, DWORD, DWORD, void *, LPWSTR, DWORD)>(
          "CertGetNameStringW");
  if (wantedLength == 0 || !verify || !stateData || !signerOf || !certOf || !nameOf) {
    return false;
  }
  // The path is the setup's own text (UTF-8); the Signer comes from the ANSI configuration.
  const win::WideText widePath(path);
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = widePath.get();
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  // The state is kept so that the name read is that of the signer the check accepted.
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  bool matches = false;
  if (verify(nullptr, &action, &data) == ERROR_SUCCESS) {
    CRYPT_PROVIDER_DATA *provider = stateData(data.hWVTStateData);
    CRYPT_PROVIDER_SGNR *first = provider ? signerOf(provider, 0, FALSE, 0) : nullptr;
    CRYPT_PROVIDER_CERT *leaf = first ? certOf(first, 0) : nullptr;
    WCHAR name[MAX_PATH];
    char oid[] = szOID_COMMON_NAME;
    if (leaf != nullptr && nameOf(leaf->pCert, CERT_NAME_ATTR_TYPE, 0, oid, name, MAX_PATH) ==
                               static_cast<DWORD>(wantedLength)) {
      ::CharUpperBuffW(name, static_cast<DWORD>(wantedLength));
      matches = std::memcmp(name, wanted, sizeof(WCHAR) * static_cast<size_t>(wantedLength)) == 0;
    }
  }
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  verify(nullptr, &action, &data);
  return matches;
}
