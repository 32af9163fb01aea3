// The packer's preparation of a stub (PrepareStub): its headers, resource tree, version resource
// and the vendor's icon. The first byte chooses the vendor's options (1 product name, 2 company,
// 4 description, 8 file version, 16 icon: a 16-bit length and that many bytes of .ico follow);
// the rest is the stub. With 128 set the rest is a version block alone, given a product name.
// A stub that is not refused must come back a program whose resources read back with the
// vendor's product name.
#include <cstdio>

#include "packer/pack_status.h"
#include "packer/pe/pe_image.h"
#include "packer/pe/resource_tree.h"
#include "packer/pe/setup_branding.h"
#include "packer/pe/version_info.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const std::u16string kName = u"Fuzzed Product";

bool ReadsName(const std::string &block) {
  VersionNode root;
  std::u16string name;
  return ParseVersionInfo(block, &root) && GetVersionString(root, "ProductName", &name) &&
         name == kName;
}

void VersionBlock(const std::string &block) {
  VersionNode root;
  if (!ParseVersionInfo(block, &root)) {
    return;
  }
  SetVersionString(&root, "ProductName", std::vector<uint16_t>(kName.begin(), kName.end()));
  FUZZ_CHECK(ReadsName(BuildVersionInfo(root)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t flags = in.Byte();
  if ((flags & 128) != 0) {
    VersionBlock(in.Rest());
    return 0;
  }
  PackOptions options;
  options.stub = "stub.exe";
  options.hasProductName = (flags & 1) != 0;
  options.productName = "Fuzzed Product";
  options.company = (flags & 2) != 0 ? "Fuzz Company" : "";
  options.description = (flags & 4) != 0 ? "Fuzzed setup" : "";
  options.fileVersion = (flags & 8) != 0 ? "1.2.3.4" : "";
  if ((flags & 16) != 0) {
    const uint32_t length = (static_cast<uint32_t>(in.Byte()) << 8) | in.Byte();
    std::string icon;
    for (uint32_t i = 0; i < length; ++i) {
      icon.push_back(static_cast<char>(in.Byte()));
    }
    options.icon = FuzzScratchFolder() + "icon.ico";
    FILE *file = std::fopen(options.icon.c_str(), "wb");
    FUZZ_CHECK(file != nullptr && std::fwrite(icon.data(), 1, icon.size(), file) == icon.size());
    std::fclose(file);
  }
  std::string stub = in.Rest();
  const PackStatus status = PrepareStub(options, &stub);
  if (!status.ok()) {
    FUZZ_CHECK(status.exitCode == kExitRefused && !status.message.empty());
    return 0;
  }
  // What the vendor adds is small: a stub that grows by more was padded or copied wrongly.
  FUZZ_CHECK(stub.size() <= size + (1u << 20));
  PeImage image;
  std::string problem;
  size_t index = 0;
  ResourceTree tree;
  FUZZ_CHECK(ReadStubHeaders(stub, &image, &problem) && image.RawEnd() <= stub.size());
  FUZZ_CHECK(FindResourceSection(stub, image, &index, &problem));
  const PeSection &section = image.sections[index];
  FUZZ_CHECK(ParseResourceSection(stub.substr(section.rawPointer, section.rawSize),
                                  section.virtualAddress, &tree, &problem));
  if (options.hasProductName) {
    const ResourceItem *version =
        tree.FindItem(ResourceId::Number(kRtVersion), ResourceId::Number(1));
    FUZZ_CHECK(version != nullptr && !version->languages.empty() &&
               ReadsName(version->languages[0].data));
  }
  return 0;
}
