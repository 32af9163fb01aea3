#include "packer/offline_prereqs.h"

#include "base/text.h"
#include "download/sha256.h"
#include "packer/file_scan.h"
#include "packer/input_kinds.h"
#include "packer/portable_system.h"
#include "prereq/config_reader.h"
#include "prereq/profile_file.h"

namespace {

constexpr uint32_t kMaxConfigBytes = 8u << 20;

std::vector<Prerequisite> ReadAll(const std::string &text) {
  ProfileFile file;
  file.Parse(text);
  std::vector<Prerequisite> list;
  Prerequisite p;
  for (uint32_t n = 1; ReadPrerequisite(file, n, &p); ++n) {
    list.push_back(p);
  }
  return list;
}

bool SameExceptSource(const Prerequisite &a, const Prerequisite &b) {
  return a.name == b.name && a.commandLine == b.commandLine && a.options == b.options &&
         a.searchType == b.searchType && a.searchString == b.searchString && a.verMin == b.verMin &&
         a.verMax == b.verMax && a.targetOS == b.targetOS && a.exactSize == b.exactSize &&
         a.sha256 == b.sha256 && a.architectures == b.architectures && a.signer == b.signer;
}

const OfflinePrereq *OfflinePrereqOf(const PackOptions &options, uint32_t app) {
  for (const OfflinePrereq &request : options.offlinePrereqs) {
    if (request.app == app) {
      return &request;
    }
  }
  return nullptr;
}

// The carried file against what the configuration says the download must be.
PackStatus CheckOfflineSetup(const OfflinePrereq &request, const Prerequisite &p) {
  const std::string label = "--carry App" + std::to_string(request.app) + ": ";
  if (p.sourceKind != SourceKind::Url) {
    return Refused(label + "App" + std::to_string(request.app) +
                   " is not downloaded: it already names the carried setup '" + p.source + "'");
  }
  PackStatus status = CheckPrerequisiteKind(request.path, label + "the setup");
  if (!status.ok()) {
    return status;
  }
  uint64_t size = 0;
  if (!portable::FileSize(request.path, &size)) {
    return Refused(label + "cannot find '" + request.path + "'");
  }
  if (p.exactSize != 0 && size != p.exactSize) {
    return Refused(label + "'" + request.path + "' is " + std::to_string(size) +
                   " bytes, but the prerequisite's ExactSize is " + std::to_string(p.exactSize));
  }
  if (!p.sha256.empty()) {
    std::string hex;
    if (!Sha256OfFile(request.path, &hex)) {
      return IoError(label + "cannot read '" + request.path + "'");
    }
    if (IsSha256Text(p.sha256) && !SameSha256(hex, p.sha256)) {
      return Refused(label + "'" + request.path +
                     "' does not match the prerequisite's Sha256 (its "
                     "hash is " +
                     hex + ")");
    }
  }
  return PackOk();
}

} // namespace

bool RewriteToSetupFile(const std::string &text, const std::string &section,
                        const std::string &name, std::string *out) {
  out->clear();
  enum { kBefore, kInside, kAfter } state = kBefore;
  bool replaced = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
      ++end;
    }
    size_t next = end;
    while (next < text.size() && (text[next] == '\r' || text[next] == '\n')) {
      ++next;
    }
    const std::string content = text.substr(pos, end - pos);
    const std::string ending = text.substr(end, next - end);
    pos = next;
    const std::string line(text::TrimSpacesAndTabs(content));
    if (!line.empty() && line[0] == '[' && text::FindLastChar(line, ']') != std::string::npos) {
      const std::string title(text::TrimSpacesAndTabs(
          std::string_view(line).substr(1, text::FindLastChar(line, ']') - 1)));
      if (state == kInside) {
        state = kAfter;
      } else if (state == kBefore && text::EqualNoCase(title, section)) {
        state = kInside;
      }
      *out += content + ending;
      continue;
    }
    const size_t equals = text::FindChar(line, '=');
    const std::string key(text::TrimSpacesAndTabs(std::string_view(line).substr(0, equals)));
    if (state == kInside && text::EqualNoCase(key, "SetupFile")) {
      continue;
    }
    if (state == kInside && !replaced && equals != std::string::npos &&
        text::EqualNoCase(key, "Url")) {
      *out += "SetupFile=" + name + ending;
      replaced = true;
      continue;
    }
    *out += content + ending;
  }
  return replaced;
}

PackStatus BuildStoredConfiguration(const PackOptions &options, std::string *stored) {
  uint64_t size = 0;
  if (!portable::FileSize(options.config, &size)) {
    return Refused("cannot find the configuration '" + options.config + "'");
  }
  if (size > kMaxConfigBytes || !ReadFileHead(options.config, kMaxConfigBytes, stored)) {
    return IoError("cannot read the configuration '" + options.config + "'");
  }
  if (options.offlinePrereqs.empty()) {
    return PackOk();
  }
  const std::vector<Prerequisite> before = ReadAll(*stored);
  std::string text = *stored;
  for (const OfflinePrereq &request : options.offlinePrereqs) {
    if (request.app > before.size()) {
      return Refused("--carry App" + std::to_string(request.app) +
                     ": the configuration lists no such prerequisite (it has " +
                     std::to_string(before.size()) + ")");
    }
    const PackStatus status = CheckOfflineSetup(request, before[request.app - 1]);
    if (!status.ok()) {
      return status;
    }
    std::string rewritten;
    if (!RewriteToSetupFile(text, AppKeyName(request.app), portable::BaseName(request.path),
                            &rewritten)) {
      return Refused("--carry App" + std::to_string(request.app) +
                     ": cannot find the Url line of [App" + std::to_string(request.app) +
                     "] to rewrite");
    }
    text = rewritten;
  }
  // The setup must read the rewritten file exactly as meant: same list, carried ones from
  // the archive under their names, nothing else changed.
  const std::vector<Prerequisite> after = ReadAll(text);
  bool same = after.size() == before.size();
  for (size_t i = 0; same && i < after.size(); ++i) {
    const OfflinePrereq *request = OfflinePrereqOf(options, static_cast<uint32_t>(i + 1));
    same = SameExceptSource(before[i], after[i]) &&
           (request == nullptr
                ? after[i].source == before[i].source && after[i].sourceKind == before[i].sourceKind
                : after[i].sourceKind == SourceKind::SetupFile &&
                      after[i].source == portable::BaseName(request->path));
  }
  if (!same) {
    return Refused("the configuration '" + options.config +
                   "' cannot be rewritten for the carried setups so that it reads as meant");
  }
  *stored = text;
  return PackOk();
}
