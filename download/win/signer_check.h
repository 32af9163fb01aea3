// Whether a file carries a valid Authenticode signature of a given signer.
#pragma once
#include <string>

// WinVerifyTrust's ordinary Authenticode policy (chain included, no revocation check) accepts
// the file, and the subject name (CN) of the signer's own certificate is signer, compared
// whole and without regard to case. wintrust.dll and crypt32.dll are bound from the system
// folder for the call; any failure is false.
bool IsSignedBy(const std::string &path, const std::string &signer);
