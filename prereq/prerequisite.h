// The records read from the configuration file: one Prerequisite per AppN section and the
// options of the whole run.
#pragma once
#include <cstdint>
#include <string>

#include "base/object_vector.h"

// Which key gave Prerequisite::source.
enum class SourceKind : int32_t {
  SetupFile = 0, // a setup program stored in the archive
  Url = 1,       // a setup program downloaded over HTTP
};

// The native architectures of machines, as bits: the machine's own is one of them (or none).
enum MachineArch : uint8_t { kArchX86 = 1, kArchX64 = 2, kArchArm64 = 4 };
// The words of an Architectures list, word i for bit i, matched exactly.
inline constexpr const char *kArchNames[] = {"x86", "x64", "arm64"};
// Set in Prerequisite::architectures when the key is given.
constexpr uint8_t kArchListed = 0x80;

// The operating-system family a decision is made for.
enum class OsFamily { Windows9x, WindowsNT };
// The family GetVersion reports (the host build counts as the NT family).
OsFamily CurrentOsFamily();

// Option letters, found by a case-sensitive substring test anywhere in an Options value.
constexpr const char *kQuietOption = "q";     // GeneralOptions: no wizard
constexpr const char *kMandatoryOption = "m"; // AppN: the user cannot change the action

// Whether options holds the letter, found by whole characters of the ANSI code page: the
// trail byte of a double-byte character is never taken for a letter.
bool HasOptionLetter(const std::string &options, const char *letter);

struct Prerequisite {
  std::string name;         // value of AppN in [PREREQUISITES]
  std::string source;       // SetupFile, else Url
  base::StringList mirrors; // Url2, Url3, ... up to the first one missing (with Url only)
  std::string commandLine;  // CommandLine
  std::string options;      // Options
  SourceKind sourceKind = SourceKind::SetupFile;
  int32_t searchType = 0;   // SearchType
  std::string searchString; // SearchString
  std::string verMin;       // VerMin, raw text (parsed only when needed)
  std::string verMax;       // VerMax, raw text
  int32_t targetOS = 2;     // TargetOS: 0 9x family only, 1 NT family only, other both
  // Architectures: kArchListed and the bits of the machines it names; 0 when not given.
  uint8_t architectures = 0;
  uint32_t exactSize = 0; // ExactSize: expected byte count of a download
  // Sha256: 64 hex digits the downloaded file must hash to; empty when not given.
  std::string sha256;
  // Signer: the subject name the download's Authenticode signature must carry; empty when not
  // given.
  std::string signer;
  // SuccessCodes and RestartCodes: comma-separated exit codes; empty when not given.
  std::string successCodes;
  std::string restartCodes;

  // The "m" letter: the user cannot change this prerequisite's action.
  bool isMandatory() const { return HasOptionLetter(options, kMandatoryOption); }
  // A Sha256 or a Signer decides whether a download is the right file; without ExactSize the
  // server's length is then taken as its size.
  bool checksContent() const { return !sha256.empty() || !signer.empty(); }
};

struct GeneralOptions {
  std::string mainAppCmdLine; // MainAppCmdLine
  std::string options;        // Options
};
