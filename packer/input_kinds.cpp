#include "packer/input_kinds.h"

#include "archive/archive_format.h"
#include "archive/pe_headers.h"
#include "packer/file_scan.h"

namespace {

const char kCompoundSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
// Enough for the DOS header and stub of any linker's output.
constexpr uint32_t kHeadBytes = 64 * 1024;

} // namespace

InputKind KindOfHead(const std::string &head) {
  if (head.compare(0, 8, kCompoundSignature, 8) == 0) {
    return InputKind::kCompoundFile;
  }
  if (head.compare(0, 4, "MSCF", 4) == 0) {
    return InputKind::kCabinet;
  }
  return pe::IsWindowsProgram(reinterpret_cast<const unsigned char *>(head.data()), head.size())
             ? InputKind::kWindowsProgram
             : InputKind::kOther;
}

InputKind KindOfFile(const std::string &path) {
  std::string head;
  return ReadFileHead(path, kHeadBytes, &head) ? KindOfHead(head) : InputKind::kOther;
}

PackStatus CheckPrerequisiteKind(const std::string &path, const std::string &role) {
  const InputKind kind = KindOfFile(path);
  if (kind != InputKind::kWindowsProgram && kind != InputKind::kCompoundFile) {
    return Refused(role + " '" + path +
                   "' is neither a Windows program nor a Windows Installer package");
  }
  return PackOk();
}

PackStatus CheckInputKinds(const std::vector<PlannedEntry> &entries) {
  for (const PlannedEntry &entry : entries) {
    if (entry.type == kMainPackage && KindOfFile(entry.path) != InputKind::kCompoundFile) {
      return Refused("the package '" + entry.path +
                     "' is not a Windows Installer package (no compound-file signature)");
    }
    if (entry.type == kPackageCabinet && KindOfFile(entry.path) != InputKind::kCabinet) {
      return Refused("the cabinet '" + entry.path +
                     "' is not a cabinet (it does not begin "
                     "with MSCF)");
    }
    if (IsPrerequisiteSetupType(entry.type)) {
      const PackStatus status = CheckPrerequisiteKind(entry.path, "the prerequisite setup");
      if (!status.ok()) {
        return status;
      }
    }
  }
  return PackOk();
}
