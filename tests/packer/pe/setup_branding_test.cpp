// The vendor's side of packing: inputs refused before anything is written, the vendor's icon
// and version strings written into the stub's resources, and offline setups (--carry).
#include <gtest/gtest.h>

#include <functional>

#include "archive/sfx_archive.h"
#include "download/sha256.h"
#include "packer/archive_commands.h"
#include "packer/check/check_command.h"
#include "packer/pack_command.h"
#include "packer/pe/pe_image.h"
#include "tests/support/packer_test_support.h"
#include "tests/support/stub_image_fixture.h"

using packer_test::FakeProgram;
using packer_test::Filler;
using packer_test::ReadFileBytes;
using packer_test::ScratchFolder;
using stub_fixture::Cabinet;
using stub_fixture::CompoundFile;
using stub_fixture::MakeIcon;
using stub_fixture::MakeStub;
using stub_fixture::StubRecipe;

namespace {

class VendorTest : public ::testing::Test {
protected:
  void SetUp() override {
    stub_ = dir_.Add("stub.exe", MakeStub());
    msi_ = dir_.Add("app.msi", CompoundFile(Filler(5000, 2)));
    cab_ = dir_.Add("data1.cab", Cabinet(Filler(900, 3)));
    output_ = dir_ / "setup.exe";
  }

  PackOptions Basic() const {
    PackOptions options;
    options.stub = stub_;
    options.msi = msi_;
    options.cabinets = {cab_};
    options.output = output_;
    return options;
  }

  PackStatus Run(const PackOptions &options) {
    std::string summary;
    return Pack(options, &summary);
  }

  ScratchFolder dir_;
  std::string stub_, msi_, cab_, output_;
};

ArchiveFooter FooterOf(const std::string &file) {
  ArchiveFooter footer;
  DecodeFooter(reinterpret_cast<const unsigned char *>(file.data()) + file.size() - kFooterSize,
               &footer);
  return footer;
}

struct Program {
  std::string bytes;
  PeImage image;
  ResourceTree tree;
};

// The program part of a setup (or a stub) with its resources read back.
Program ReadProgram(const std::string &file, uint32_t size) {
  Program p;
  p.bytes = file.substr(0, size);
  std::string problem;
  size_t index = 0;
  EXPECT_TRUE(ReadStubHeaders(p.bytes, &p.image, &problem)) << problem;
  EXPECT_TRUE(FindResourceSection(p.bytes, p.image, &index, &problem)) << problem;
  const PeSection &s = p.image.sections[index];
  EXPECT_TRUE(ParseResourceSection(p.bytes.substr(s.rawPointer, s.rawSize), s.virtualAddress,
                                   &p.tree, &problem))
      << problem;
  return p;
}

std::string Leaf(ResourceTree &tree, uint16_t type, const ResourceId &id) {
  ResourceItem *item = tree.FindItem(ResourceId::Number(type), id);
  return item == nullptr || item->languages.empty() ? std::string() : item->languages[0].data;
}

std::string VersionText(ResourceTree &tree, const std::string &key) {
  VersionNode root;
  std::u16string text;
  if (!ParseVersionInfo(Leaf(tree, kRtVersion, ResourceId::Number(1)), &root) ||
      !GetVersionString(root, key, &text)) {
    return "<none>";
  }
  return std::string(text.begin(), text.end());
}

const PeSection *SectionNamed(const Program &p, const std::string &name) {
  for (const PeSection &s : p.image.sections) {
    if (s.name == name) {
      return &s;
    }
  }
  return nullptr;
}

// An .ico whose every directory entry shows one 16-pixel PNG.
std::string ManyImageIcon(uint32_t count) {
  std::string png = "\x89PNG\r\n\x1a\n";
  png += std::string("\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10", 16);
  std::string file;
  bytes::Append16(&file, 0);
  bytes::Append16(&file, 1);
  bytes::Append16(&file, count);
  for (uint32_t i = 0; i < count; ++i) {
    file += std::string("\x10\x10\0\0", 4);
    bytes::Append16(&file, 1);
    bytes::Append16(&file, 32);
    bytes::Append32(&file, static_cast<uint32_t>(png.size()));
    bytes::Append32(&file, 6 + count * 16);
  }
  return file + png;
}

} // namespace

TEST_F(VendorTest, WritesTheVendorsIconAndVersionStringsIntoTheStubsResources) {
  const std::string icon = MakeIcon(32, 0xFFAA5500);
  PackOptions options = Basic();
  options.icon = dir_.Add("vendor.ico", icon);
  options.company = "Contoso Ltd.";
  options.description = "Contoso Suite installer";
  options.fileVersion = "2.1.0.7";
  options.productName = "Contoso Suite";
  options.hasProductName = true;
  const PackStatus status = Run(options);
  ASSERT_TRUE(status.ok()) << status.message;

  const std::string stub = ReadFileBytes(stub_);
  EXPECT_EQ(stub, MakeStub()) << "the input stub is left as it was";
  const std::string setup = ReadFileBytes(output_);
  const ArchiveFooter footer = FooterOf(setup);
  Program before = ReadProgram(stub, static_cast<uint32_t>(stub.size()));
  Program after = ReadProgram(setup, footer.dataOffset);

  // Icon group 128 shows the vendor's one image; the stub's own image is gone.
  const std::vector<uint16_t> ids =
      IconGroupIds(Leaf(after.tree, kRtGroupIcon, ResourceId::Number(128)));
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(Leaf(after.tree, kRtIcon, ResourceId::Number(ids[0])), icon.substr(22));
  EXPECT_EQ(after.tree.FindType(ResourceId::Number(kRtIcon))->items.size(), 1u);

  EXPECT_EQ(VersionText(after.tree, "CompanyName"), "Contoso Ltd.");
  EXPECT_EQ(VersionText(after.tree, "FileDescription"), "Contoso Suite installer");
  EXPECT_EQ(VersionText(after.tree, "FileVersion"), "2.1.0.7");
  EXPECT_EQ(VersionText(after.tree, "ProductName"), "Contoso Suite");
  VersionNode root;
  ASSERT_TRUE(ParseVersionInfo(Leaf(after.tree, kRtVersion, ResourceId::Number(1)), &root));
  EXPECT_EQ(bytes::Get32(root.value, 8), 0x00020001u);
  EXPECT_EQ(bytes::Get32(root.value, 12), 0x00000007u);
  EXPECT_EQ(Leaf(after.tree, kRtRcData, ResourceId::Name(kStubMarkerName)),
            Leaf(before.tree, kRtRcData, ResourceId::Name(kStubMarkerName)));

  // The resources grew; the relocations moved behind them unchanged, and the image's size and
  // directories follow.
  const PeSection *rsrc = SectionNamed(after, ".rsrc");
  const PeSection *reloc = SectionNamed(after, ".reloc");
  const PeSection *oldReloc = SectionNamed(before, ".reloc");
  ASSERT_TRUE(rsrc != nullptr && reloc != nullptr && oldReloc != nullptr);
  EXPECT_GT(reloc->virtualAddress, oldReloc->virtualAddress);
  EXPECT_GE(reloc->virtualAddress, rsrc->virtualAddress + rsrc->virtualSize);
  EXPECT_EQ(after.bytes.substr(reloc->rawPointer, reloc->rawSize),
            stub.substr(oldReloc->rawPointer, oldReloc->rawSize));
  EXPECT_EQ(after.image.DirectoryRva(after.bytes, pe::kDirBaseReloc), reloc->virtualAddress);
  EXPECT_EQ(after.image.DirectorySize(after.bytes, pe::kDirResource), rsrc->virtualSize);
  EXPECT_EQ(bytes::Get32(after.bytes, after.image.optionalAt + 56),
            bytes::AlignUp(reloc->virtualAddress + reloc->virtualSize, 0x1000));
  EXPECT_EQ(reloc->rawPointer + reloc->rawSize, footer.dataOffset);

  // The archive behind the rewritten program reads as before.
  ScratchFolder out;
  {
    SfxArchive archive;
    archive.SetModulePath(output_);
    archive.setExtractFolder(out.path());
    archive.setKeepFiles(true);
    ASSERT_EQ(archive.Open(), kSetupOk);
    EXPECT_EQ(archive.offsetDelta(), 0);
    ASSERT_EQ(archive.ExtractAll(), kSetupOk);
  }
  EXPECT_EQ(ReadFileBytes(out / "app.msi"), ReadFileBytes(msi_));

  // The most images an icon may hold get consecutive ids after the stub's own.
  PackOptions many = Basic();
  many.icon = dir_.Add("many.ico", ManyImageIcon(kMaxIconImages));
  many.output = dir_ / "many.exe";
  ASSERT_TRUE(Run(many).ok()) << Run(many).message;
  const std::string manySetup = ReadFileBytes(many.output);
  Program manyImages = ReadProgram(manySetup, FooterOf(manySetup).dataOffset);
  const std::vector<uint16_t> manyIds =
      IconGroupIds(Leaf(manyImages.tree, kRtGroupIcon, ResourceId::Number(128)));
  ASSERT_EQ(manyIds.size(), kMaxIconImages);
  for (size_t i = 0; i < manyIds.size(); ++i) {
    EXPECT_EQ(manyIds[i], manyIds[0] + i);
  }

  // A finished setup given again with --replace is rewritten once more: the new icon, the
  // strings written before kept.
  PackOptions again = Basic();
  again.stub = output_;
  again.replace = true;
  again.icon = dir_.Add("other.ico", MakeIcon(48, 0xFF00FF00));
  again.output = dir_ / "again.exe";
  ASSERT_TRUE(Run(again).ok());
  const std::string second = ReadFileBytes(again.output);
  Program third = ReadProgram(second, FooterOf(second).dataOffset);
  const std::vector<uint16_t> newIds =
      IconGroupIds(Leaf(third.tree, kRtGroupIcon, ResourceId::Number(128)));
  ASSERT_EQ(newIds.size(), 1u);
  EXPECT_EQ(Leaf(third.tree, kRtIcon, ResourceId::Number(newIds[0])),
            MakeIcon(48, 0xFF00FF00).substr(22));
  EXPECT_EQ(VersionText(third.tree, "CompanyName"), "Contoso Ltd.");
}

TEST_F(VendorTest, RefusesInputsThatCannotMakeAWorkingSetupBeforeWritingAnything) {
  auto stubWith = [this](const std::string &name, const std::function<void(StubRecipe &)> &edit) {
    StubRecipe recipe;
    edit(recipe);
    return dir_.Add(name, MakeStub(recipe));
  };
  const std::string text = dir_.Add("notes.txt", "just some text\n");
  const std::string icon = MakeIcon(32, 0xFF000000);
  std::string narrow = icon;
  narrow[6] = 16; // the directory says 16 pixels, the bitmap has 32
  std::string signedStub = MakeStub();
  bytes::Put32(&signedStub, 0x58 + 96 + 4 * 8, static_cast<uint32_t>(signedStub.size()));
  bytes::Put32(&signedStub, 0x58 + 96 + 4 * 8 + 4, 512);
  signedStub += std::string(512, 'S');
  // The stub with one 32-bit header field set to value (offsets of MakeStub's layout).
  auto patched = [this](const std::string &name, std::string file, uint32_t at, uint32_t value) {
    bytes::Put32(&file, at, value);
    return dir_.Add(name, file);
  };
  const uint32_t fileAlignment = 0x58 + 36, rsrcRawPointer = 0x58 + 224 + 40 + 20;
  const std::string config =
      dir_.Add("prereqs.ini", "[PREREQUISITES]\nApp1=Runtime\n[App1]\nSetupFile=runtime.exe\n"
                              "SearchType=1\nSearchString=HKLM\\SOFTWARE\\Vendor\\Runtime\n");

  struct Case {
    const char *what;
    std::function<void(PackOptions &)> change;
    const char *expected;
  };
  const std::vector<Case> cases = {
      {"an ELF program as the stub", [](PackOptions &o) { o.stub = "/bin/ls"; },
       "is not a Windows program"},
      {"a text stub", [&](PackOptions &o) { o.stub = text; }, "is not a Windows program"},
      {"an ARM64 stub",
       [&](PackOptions &o) {
         o.stub = stubWith("arm64.exe", [](StubRecipe &s) {
           s.machine = 0xAA64;
           s.magic = 0x20B;
         });
       },
       "is not an x86 or x86-64 Windows program"},
      {"a console stub",
       [&](PackOptions &o) {
         o.stub = stubWith("con.exe", [](StubRecipe &s) { s.subsystem = 3; });
       },
       "is a console program"},
      {"a DLL as the stub",
       [&](PackOptions &o) {
         o.stub = stubWith("lib.dll", [](StubRecipe &s) { s.characteristics = 0x2102; });
       },
       "is a library"},
      {"a GUI program without the marker",
       [&](PackOptions &o) {
         o.stub = stubWith("other.exe", [](StubRecipe &s) { s.marker = false; });
       },
       "no Tessara stub"},
      {"a stub of another archive version",
       [&](PackOptions &o) {
         o.stub = stubWith("old.exe", [](StubRecipe &s) { s.markerVersion = 99; });
       },
       "reads archive version 99; this packer writes version 100"},
      {"a text file named .msi",
       [&](PackOptions &o) { o.msi = dir_.Add("fake.msi", "<xml>not a package</xml>"); },
       "is not a Windows Installer package"},
      {"a cabinet that is none",
       [&](PackOptions &o) { o.cabinets = {dir_.Add("fake.cab", Filler(100, 5))}; },
       "is not a cabinet"},
      {"a prerequisite that is no program",
       [&](PackOptions &o) { o.prerequisites = {dir_.Add("setup.bat", "@echo off\r\n")}; },
       "is neither a Windows program nor a Windows Installer package"},
      {"a configuration naming a setup that is not carried",
       [&](PackOptions &o) { o.config = config; }, "has errors"},
      {"a text file as the icon", [&](PackOptions &o) { o.icon = text; }, "is not an .ico file"},
      {"an icon cut short",
       [&](PackOptions &o) { o.icon = dir_.Add("cut.ico", icon.substr(0, 600)); },
       "outside the file"},
      {"an icon of 65,535 images, all one picture",
       [&](PackOptions &o) { o.icon = dir_.Add("many.ico", ManyImageIcon(65535)); },
       "has 65535 images; an icon holds at most 256"},
      {"an icon whose directory lies",
       [&](PackOptions &o) { o.icon = dir_.Add("narrow.ico", narrow); },
       "differs from its directory entry"},
      {"a file version with a letter", [](PackOptions &o) { o.fileVersion = "2.x"; },
       "is not one to four numbers"},
      {"a file version of five parts", [](PackOptions &o) { o.fileVersion = "1.2.3.4.5"; },
       "is not one to four numbers"},
      {"a file version field over 65535", [](PackOptions &o) { o.fileVersion = "70000"; },
       "is not one to four numbers"},
      {"a company with a control character", [](PackOptions &o) { o.company = "Con\ttoso"; },
       "control character"},
      {"a product name of 64 characters",
       [](PackOptions &o) {
         o.productName = std::string(64, 'n');
         o.hasProductName = true;
       },
       "room for 63"},
      {"a stub whose certificate table lies inside its sections",
       [&](PackOptions &o) {
         std::string inside = signedStub;
         bytes::Put32(&inside, 0x58 + 96 + 4 * 8, 0x400);
         o.stub = dir_.Add("inside.exe", inside);
       },
       "certificate table inside its sections"},
      // Header fields the packer computes with, each out of the format's limits.
      {"a stub whose file alignment makes the rounding wrap",
       [&](PackOptions &o) { o.stub = patched("wrap.exe", MakeStub(), fileAlignment, 0xFFFFFF00); },
       "file alignment 4294967040"},
      {"a stub whose file alignment is 2 GiB",
       [&](PackOptions &o) { o.stub = patched("2gib.exe", MakeStub(), fileAlignment, 1u << 31); },
       "is none a Windows program can have"},
      {"a stub whose resources start inside its headers",
       [&](PackOptions &o) { o.stub = patched("early.exe", MakeStub(), rsrcRawPointer, 0x100); },
       "the data of section .rsrc starts inside its headers"},
      {"a stub whose certificate table lies inside its headers",
       [&](PackOptions &o) {
         o.stub = patched("inhead.exe", signedStub, 0x58 + 96 + 4 * 8, 0x100);
       },
       "certificate table inside its headers"},
      {"a setup given with --replace whose file alignment is damaged",
       [&](PackOptions &o) {
         PackOptions first = Basic();
         first.output = dir_ / "first.exe";
         EXPECT_TRUE(Run(first).ok());
         o.stub = patched("damaged-setup.exe", ReadFileBytes(first.output), fileAlignment, 3);
         o.replace = true;
       },
       "is damaged: its file alignment 3"},
  };
  for (const Case &c : cases) {
    PackOptions options = Basic();
    c.change(options);
    const auto before = dir_.List().size();
    const PackStatus status = Run(options);
    EXPECT_EQ(status.exitCode, kExitRefused) << c.what;
    EXPECT_NE(status.message.find(c.expected), std::string::npos)
        << c.what << ": " << status.message;
    EXPECT_EQ(dir_.List().size(), before) << c.what << ": something was written";
  }
  // The same stub and package with a 63-character name and a good icon do pack.
  PackOptions good = Basic();
  good.productName = std::string(63, 'n');
  good.hasProductName = true;
  good.icon = dir_.Add("good.ico", icon);
  good.fileVersion = "3";
  EXPECT_TRUE(Run(good).ok()) << Run(good).message;
}

// A signature made before packing cannot cover the setup, and one left in the headers makes
// the setup's own signature read as corrupt: a signed stub, and a signed setup packed anew with
// --replace, give setups that name no certificate table and carry none.
TEST_F(VendorTest, PacksSignedStubsAndSetupsWithoutTheirSignature) {
  const uint32_t securityDirectory = 0x58 + 96 + 4 * 8;
  const std::string table(512, 'S');
  const auto sign = [&](std::string file) {
    bytes::Put32(&file, securityDirectory, static_cast<uint32_t>(file.size()));
    bytes::Put32(&file, securityDirectory + 4, static_cast<uint32_t>(table.size()));
    return file + table;
  };
  const auto unsigned_ = [&](const std::string &file) {
    return bytes::Get32(file, securityDirectory) == 0 &&
           bytes::Get32(file, securityDirectory + 4) == 0 && file.find(table) == std::string::npos;
  };

  PackOptions fromSignedStub = Basic();
  fromSignedStub.stub = dir_.Add("signed-stub.exe", sign(MakeStub()));
  fromSignedStub.icon = dir_.Add("good.ico", MakeIcon(32, 0xFF000000));
  PackStatus status = Run(fromSignedStub);
  ASSERT_TRUE(status.ok()) << status.message;
  const std::string packed = ReadFileBytes(output_);
  EXPECT_TRUE(unsigned_(packed));
  EXPECT_EQ(FooterOf(packed).entryCount, 2u);

  PackOptions replaced = Basic();
  replaced.stub = dir_.Add("signed-setup.exe", sign(packed));
  replaced.replace = true;
  replaced.cabinets.clear();
  replaced.output = dir_ / "again.exe";
  status = Run(replaced);
  ASSERT_TRUE(status.ok()) << status.message;
  const std::string again = ReadFileBytes(replaced.output);
  EXPECT_TRUE(unsigned_(again));
  EXPECT_EQ(FooterOf(again).entryCount, 1u);
  // The program part is the first setup's, cut where its archive began.
  EXPECT_EQ(again.compare(0, FooterOf(packed).dataOffset, packed, 0, FooterOf(packed).dataOffset),
            0);
}

TEST_F(VendorTest, CarriesADownloadAndRewritesOnlyTheStoredConfiguration) {
  const std::string runtime = FakeProgram(3000, 7);
  const std::string runtimePath = dir_.Add("runtime-setup.exe", runtime);
  const std::string head = "; offline and online from one file\r\n[PREREQUISITES]\r\n"
                           "App1=Runtime\r\nApp2=Tools\r\n[App1]\r\n";
  const std::string url = "Url = http://example.test/dl/runtime-setup.exe\r\n";
  const std::string tail = "ExactSize=3000\r\nSha256=" + Sha256Hex(runtime.data(), runtime.size()) +
                           "\r\nSearchType=1\r\nSearchString=HKLM\\SOFTWARE\\Vendor\\Runtime\r\n"
                           "[App2]\r\nUrl=http://example.test/dl/tools.exe\r\nSearchType=1\r\n"
                           "SearchString=HKLM\\SOFTWARE\\Vendor\\Tools\r\n";
  const std::string config = dir_.Add("prereqs.ini", head + url + tail);

  PackOptions online = Basic();
  online.config = config;
  online.output = dir_ / "online.exe";
  ASSERT_TRUE(Run(online).ok());
  PackOptions offline = online;
  offline.output = dir_ / "offline.exe";
  ASSERT_EQ(ParsePackOptions({"--stub", stub_, "--msi", msi_, "--cab", cab_, "--config", config,
                              "--carry", "App1=" + runtimePath, "-o", offline.output},
                             &offline)
                .exitCode,
            kExitOk);
  const PackStatus packed = Run(offline);
  ASSERT_TRUE(packed.ok()) << packed.message;

  ScratchFolder onlineOut;
  ScratchFolder offlineOut;
  std::string report;
  ASSERT_TRUE(ExtractSetup(online.output, onlineOut.path(), &report).ok());
  ASSERT_TRUE(ExtractSetup(offline.output, offlineOut.path(), &report).ok());
  const std::string stored = head + "SetupFile=runtime-setup.exe\r\n" + tail;
  EXPECT_EQ(ReadFileBytes(onlineOut / "app.ini"), head + url + tail);
  EXPECT_EQ(ReadFileBytes(offlineOut / "app.ini"), stored);
  EXPECT_EQ(ReadFileBytes(offlineOut / "runtime-setup.exe"), runtime);
  EXPECT_EQ(ReadFileBytes(config), head + url + tail) << "the vendor's file is left alone";
  EXPECT_EQ(ReadFileBytes(offline.output).size(), ReadFileBytes(online.output).size() +
                                                      runtime.size() + 16 +
                                                      std::string("runtime-setup.exe").size() +
                                                      stored.size() - (head + url + tail).size());

  // "check" of the finished setup reads its stored configuration and tells the sources apart.
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunCheckCommand({offline.output}), 0);
  const std::string checked = testing::internal::GetCapturedStdout();
  EXPECT_NE(checked.find("Configuration: stored in " + offline.output), std::string::npos)
      << checked;
  EXPECT_NE(checked.find("Carried by the setup: App1 (runtime-setup.exe)"), std::string::npos)
      << checked;
  EXPECT_NE(
      checked.find("Downloaded while the setup runs: App2 (http://example.test/dl/tools.exe)"),
      std::string::npos)
      << checked;

  // Carried files must be what the configuration says the download is.
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char *expected;
  };
  const std::vector<Case> cases = {
      {{"--carry", "App1=" + dir_.Add("runtime-2999.exe", FakeProgram(2999, 7))},
       kExitRefused,
       "is 2999 bytes, but the prerequisite's ExactSize is 3000"},
      {{"--carry", "App1=" + dir_.Add("runtime-other.exe", FakeProgram(3000, 8))},
       kExitRefused,
       "does not match the prerequisite's Sha256"},
      {{"--carry", "App1=" + dir_.Add("runtime.txt", Filler(3000, 7))},
       kExitRefused,
       "is neither a Windows program nor a Windows Installer package"},
      {{"--carry", "App3=" + runtimePath}, kExitRefused, "lists no such prerequisite"},
      {{"--carry", "App1=" + runtimePath, "--carry", "app1=" + runtimePath},
       kExitUsage,
       "names App1 twice"},
      {{"--carry", "App0=" + runtimePath}, kExitUsage, "takes AppN=FILE"},
      {{"--carry", runtimePath}, kExitUsage, "takes AppN=FILE"},
  };
  for (const Case &c : cases) {
    std::vector<std::string> args = {"--stub",   stub_,  "--msi", msi_,
                                     "--config", config, "-o",    dir_ / "refused.exe"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    PackOptions options;
    PackStatus status = ParsePackOptions(args, &options);
    if (status.ok()) {
      status = Run(options);
    }
    EXPECT_EQ(status.exitCode, c.exitCode) << c.args.back();
    EXPECT_NE(status.message.find(c.expected), std::string::npos) << status.message;
    EXPECT_FALSE(sys::FileExists(dir_ / "refused.exe"));
  }
  PackOptions options;
  EXPECT_NE(ParsePackOptions(
                {"--stub", stub_, "--msi", msi_, "--carry", "App1=" + runtimePath, "-o", output_},
                &options)
                .message.find("--carry needs --config"),
            std::string::npos);

  // A prerequisite that already names a carried setup cannot be carried again; a carried setup
  // that no prerequisite names is packed with a warning.
  PackOptions twice = Basic();
  twice.config = offlineOut / "app.ini";
  const std::string spare = dir_.Add("spare.exe", FakeProgram(100, 9));
  twice.prerequisites = {spare};
  twice.offlinePrereqs = {OfflinePrereq{1, runtimePath}};
  EXPECT_NE(Run(twice).message.find("App1 is not downloaded"), std::string::npos);
  twice.offlinePrereqs.clear();
  twice.prerequisites = {runtimePath, spare};
  testing::internal::CaptureStderr();
  EXPECT_TRUE(Run(twice).ok());
  const std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("warning: [PREREQUISITES]: the setup carries 'spare.exe' but no "
                          "prerequisite names it"),
            std::string::npos)
      << warnings;
}
