#include "packer/pe/setup_branding.h"

#include <cstdio>
#include <vector>

#include "archive/archive_format.h"
#include "packer/byte_io.h"
#include "packer/file_scan.h"
#include "packer/pe/icon_file.h"
#include "packer/pe/pe_image.h"
#include "packer/pe/resource_tree.h"
#include "packer/pe/version_info.h"
#include "packer/portable_system.h"
#include "packer/version_text.h"
#include "resources/resource.h"

static_assert(TESSARA_STUB_FORMAT == kArchiveVersion,
              "the stub's marker names the archive version the packer writes");

namespace {

bool HasFaceOptions(const PackOptions &o) {
  return o.hasProductName || !o.icon.empty() || !o.company.empty() || !o.fileVersion.empty() ||
         !o.description.empty();
}

PackStatus CheckMarker(const PackOptions &options, ResourceTree &tree) {
  const ResourceItem *marker =
      tree.FindItem(ResourceId::Number(kRtRcData), ResourceId::Name(kStubMarkerName));
  if (marker == nullptr || marker->languages.empty() || marker->languages[0].data.size() < 4) {
    return Refused("the stub '" + options.stub +
                   "' is a Windows program but no Tessara stub (it lacks the stub's marker); "
                   "give tessara-stub.exe");
  }
  const uint32_t version = bytes::Get32(marker->languages[0].data, 0);
  if (version != kArchiveVersion) {
    return Refused("the stub '" + options.stub + "' reads archive version " +
                   std::to_string(version) + "; this packer writes version " +
                   std::to_string(kArchiveVersion) + ": use the stub of the same release");
  }
  return PackOk();
}

// The stub's icon ids, taken once: the new images get the free ids upward from the lowest, each
// found by one step past the last.
class IconIds {
public:
  explicit IconIds(const ResourceTree &tree) : taken_(0x10000, false) {
    taken_[0] = true;
    for (const ResourceType &type : tree.types) {
      if (type.id == ResourceId::Number(kRtIcon)) {
        for (const ResourceItem &item : type.items) {
          if (!item.id.named) {
            taken_[item.id.number] = true;
          }
        }
      }
    }
  }
  // The next free id, or 0 when every id is taken.
  uint16_t Next() {
    while (next_ < taken_.size() && taken_[next_]) {
      ++next_;
    }
    if (next_ == taken_.size()) {
      return 0;
    }
    taken_[next_] = true;
    return static_cast<uint16_t>(next_);
  }

private:
  std::vector<bool> taken_;
  size_t next_ = 1;
};

PackStatus ReplaceIcon(const PackOptions &options, ResourceTree &tree) {
  uint64_t size = 0;
  std::string file;
  if (!portable::FileSize(options.icon, &size)) {
    return Refused("cannot find the icon '" + options.icon + "'");
  }
  std::string problem;
  std::vector<IconImage> images;
  if (size > kMaxIconFileSize) {
    return Refused("the icon '" + options.icon + "' is larger than 4 MiB");
  }
  if (!ReadFileHead(options.icon, kMaxIconFileSize, &file)) {
    return IoError("cannot read the icon '" + options.icon + "'");
  }
  if (!ParseIconFile(file, &images, &problem)) {
    return Refused("the icon '" + options.icon + "' " + problem);
  }
  const ResourceId groupType = ResourceId::Number(kRtGroupIcon);
  const ResourceId groupId = ResourceId::Number(IDI_SETUP);
  ResourceLeaf groupLeaf;
  groupLeaf.language = ResourceId::Number(0x409);
  if (ResourceItem *old = tree.FindItem(groupType, groupId)) {
    if (!old->languages.empty()) {
      groupLeaf.language = old->languages[0].language;
    }
    // Drop the old group's images unless another group shows them too.
    for (const ResourceLeaf &leaf : old->languages) {
      for (uint16_t id : IconGroupIds(leaf.data)) {
        bool shared = false;
        for (const ResourceType &type : tree.types) {
          for (const ResourceItem &item : type.items) {
            if (type.id == groupType && !(item.id == groupId)) {
              for (const ResourceLeaf &l : item.languages) {
                for (uint16_t other : IconGroupIds(l.data)) {
                  shared = shared || other == id;
                }
              }
            }
          }
        }
        if (!shared) {
          tree.RemoveItem(ResourceId::Number(kRtIcon), ResourceId::Number(id));
        }
      }
    }
  }
  std::vector<uint16_t> ids;
  IconIds free(tree);
  for (const IconImage &image : images) {
    ResourceLeaf leaf;
    leaf.language = groupLeaf.language;
    leaf.data = image.data;
    const uint16_t id = free.Next();
    if (id == 0) {
      return Refused("the stub has no icon id left for the icon '" + options.icon + "'");
    }
    ids.push_back(id);
    tree.Item(ResourceId::Number(kRtIcon), ResourceId::Number(id)).languages = {leaf};
  }
  groupLeaf.data = BuildIconGroup(images, ids);
  tree.Item(groupType, groupId).languages = {groupLeaf};
  return PackOk();
}

PackStatus SetText(VersionNode *root, const std::string &key, const std::string &text,
                   const std::string &what, size_t maxUnits, size_t room) {
  std::vector<uint16_t> units;
  std::string error;
  if (!EncodeVersionText(text, what, maxUnits, &units, &error)) {
    return Refused(error);
  }
  SetVersionString(root, key, units, room);
  return PackOk();
}

PackStatus RewriteVersion(const PackOptions &options, ResourceTree &tree) {
  ResourceItem *item = tree.FindItem(ResourceId::Number(kRtVersion), ResourceId::Number(1));
  VersionNode root;
  if (item == nullptr || item->languages.empty() ||
      !ParseVersionInfo(item->languages[0].data, &root)) {
    return Refused("the stub '" + options.stub +
                   "' has no readable version resource to write the product's strings into");
  }
  PackStatus status;
  if (options.hasProductName) {
    status = SetText(&root, "ProductName", options.productName, "product name", kMaxProductName, 0);
  }
  if (status.ok() && !options.company.empty()) {
    status = SetText(&root, "CompanyName", options.company, "company", kVersionTextRoom, 0);
  }
  if (status.ok() && !options.description.empty()) {
    status =
        SetText(&root, "FileDescription", options.description, "description", kVersionTextRoom, 0);
  }
  if (status.ok() && !options.fileVersion.empty()) {
    uint16_t parts[4];
    if (!ParseFileVersion(options.fileVersion, parts)) {
      return Refused("the file version '" + options.fileVersion +
                     "' is not one to four numbers of 0 to 65535 separated by dots (2.1.0.7)");
    }
    status = SetText(&root, "FileVersion", options.fileVersion, "file version", 23, 0);
    if (status.ok() && !SetFixedFileVersion(&root, parts)) {
      status = Refused("the stub '" + options.stub +
                       "' has a version resource without its "
                       "fixed part");
    }
  }
  if (status.ok()) {
    for (ResourceLeaf &leaf : item->languages) {
      leaf.data = BuildVersionInfo(root);
    }
  }
  return status;
}

} // namespace

bool ParseFileVersion(const std::string &text, uint16_t parts[4]) {
  uint32_t values[4] = {0, 0, 0, 0};
  size_t count = 0;
  size_t digits = 0;
  for (char c : text) {
    if (c == '.') {
      if (digits == 0 || ++count == 4) {
        return false;
      }
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 5) {
      values[count] = values[count] * 10 + static_cast<uint32_t>(c - '0');
      ++digits;
    } else {
      return false;
    }
  }
  if (digits == 0) {
    return false;
  }
  for (size_t i = 0; i < 4; ++i) {
    if (values[i] > 0xFFFF) {
      return false;
    }
    parts[i] = static_cast<uint16_t>(values[i]);
  }
  return true;
}

PackStatus PrepareStub(const PackOptions &options, std::string *stub) {
  PeImage image;
  std::string problem;
  if (!ReadStubHeaders(*stub, &image, &problem)) {
    return Refused("the stub '" + options.stub + "' " + problem + "; give tessara-stub.exe");
  }
  bool signatureDropped = false;
  if (!DropSignature(stub, image, &signatureDropped, &problem)) {
    return Refused("the stub '" + options.stub + "' " + problem);
  }
  if (signatureDropped) {
    std::fprintf(stderr,
                 "tessara-pack: warning: the stub '%s' is signed; that signature cannot cover "
                 "the packed setup and is left out: sign the finished setup\n",
                 options.stub.c_str());
  }
  size_t index = 0;
  if (!FindResourceSection(*stub, image, &index, &problem)) {
    return Refused("the stub '" + options.stub + "' " + problem +
                   ", so it is no Tessara stub; give tessara-stub.exe");
  }
  const PeSection &section = image.sections[index];
  ResourceTree tree;
  if (!ParseResourceSection(stub->substr(section.rawPointer, section.rawSize),
                            section.virtualAddress, &tree, &problem)) {
    return Refused("the stub '" + options.stub + "' " + problem);
  }
  PackStatus status = CheckMarker(options, tree);
  if (!status.ok() || !HasFaceOptions(options)) {
    return status;
  }
  if (!options.icon.empty()) {
    status = ReplaceIcon(options, tree);
  }
  if (status.ok() && (options.hasProductName || !options.company.empty() ||
                      !options.description.empty() || !options.fileVersion.empty())) {
    status = RewriteVersion(options, tree);
  }
  if (!status.ok()) {
    return status;
  }
  std::string rewritten;
  if (!ReplaceResourceSection(*stub, image, index,
                              BuildResourceSection(tree, section.virtualAddress), &rewritten,
                              &problem)) {
    return Refused("the stub '" + options.stub + "' " + problem);
  }
  *stub = rewritten;
  return PackOk();
}
