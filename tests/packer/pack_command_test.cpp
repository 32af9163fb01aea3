// Whole packs on the host: the files written, and read back as the setup reads them.
#include "packer/pack_command.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "archive/sfx_archive.h"
#include "packer/archive_commands.h"
#include "packer/pack_options.h"
#include "tests/support/packer_test_support.h"
#include "tests/support/stub_image_fixture.h"

using packer_test::Filler;
using packer_test::ReadFileBytes;
using packer_test::ScratchFolder;
using stub_fixture::Cabinet;
using stub_fixture::CompoundFile;
using stub_fixture::MakeStub;

namespace {

const std::string kConfig = "[PREREQUISITES]\nApp1=Runtime\n[App1]\nSetupFile=vcredist.exe\n"
                            "SearchType=1\nSearchString=HKLM\\SOFTWARE\\Vendor\\Runtime\n"
                            "VerMin=1.4\n";
const uint32_t kConfigSize = static_cast<uint32_t>(kConfig.size());
const uint32_t kStubSize = static_cast<uint32_t>(MakeStub().size());

class PackTest : public ::testing::Test {
protected:
  void SetUp() override {
    stub_ = dir_.Add("stub.exe", MakeStub());
    // More than one copy chunk of the reader.
    msi_ = dir_.Add("app.msi", CompoundFile(Filler(70000 - 8, 2)));
    cab_ = dir_.Add("data1.cab", Cabinet(Filler(3000 - 4, 3)));
    config_ = dir_.Add("whatever.cfg", kConfig);
    prereq_ = dir_.Add("vcredist.exe", packer_test::FakeProgram(2500, 4));
    output_ = dir_ / "setup.exe";
  }

  PackOptions Basic() const {
    PackOptions options;
    options.stub = stub_;
    options.msi = msi_;
    options.output = output_;
    return options;
  }

  PackOptions Full() const {
    PackOptions options = Basic();
    options.cabinets = {cab_};
    options.config = config_;
    options.prerequisites = {prereq_};
    return options;
  }

  PackStatus Run(const PackOptions &options) {
    std::string summary;
    return Pack(options, &summary);
  }

  ScratchFolder dir_;
  std::string stub_, msi_, cab_, config_, prereq_, output_;
};

ArchiveFooter FooterOf(const std::string &file) {
  ArchiveFooter footer;
  DecodeFooter(reinterpret_cast<const unsigned char *>(file.data()) + file.size() - kFooterSize,
               &footer);
  return footer;
}

} // namespace

TEST_F(PackTest, WritesTheBuildersLayout) {
  ASSERT_TRUE(Run(Full()).ok());
  const std::string setup = ReadFileBytes(output_);
  const std::string stub = ReadFileBytes(stub_);
  ASSERT_EQ(setup.size(),
            kStubSize + 70000 + 3000 + kConfigSize + 2500 + 4 * 16 + 7 + 9 + 7 + 12 + 36);
  EXPECT_EQ(setup.compare(0, stub.size(), stub), 0);
  const ArchiveFooter footer = FooterOf(setup);
  EXPECT_EQ(footer.entryCount, 4u);
  EXPECT_EQ(footer.version, 100u);
  EXPECT_EQ(footer.footerOffset, setup.size() - 36);
  EXPECT_EQ(footer.dataOffset, kStubSize);
  EXPECT_EQ(footer.entryTableOffset, kStubSize + 70000 + 3000 + kConfigSize + 2500);
  EXPECT_EQ(footer.flags, static_cast<uint32_t>(kHasPrerequisites));
  EXPECT_EQ(footer.reserved, 0);
  EXPECT_EQ(setup.compare(kStubSize, 70000, ReadFileBytes(msi_)), 0);

  struct stat st;
  ASSERT_EQ(::stat(output_.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IXUSR, 0u);
  // Only the setup is left: no temporary file.
  EXPECT_EQ(dir_.List().size(), 6u);
}

TEST_F(PackTest, ReadsBackThroughTheSetupsReaderByteForByte) {
  ASSERT_TRUE(Run(Full()).ok());
  ScratchFolder out;
  {
    SfxArchive archive;
    archive.SetModulePath(output_);
    archive.setExtractFolder(out.path());
    archive.setKeepFiles(true);
    ASSERT_EQ(archive.Open(), kSetupOk);
    EXPECT_EQ(archive.offsetDelta(), 0);
    EXPECT_EQ(archive.packageBaseName(), "app");
    std::vector<std::string> names;
    for (const SfxArchive::Entry &entry : archive.entries()) {
      names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"app.msi", "data1.cab", "app.ini", "vcredist.exe"}));
    // The configuration is extracted while opening, under the package's name.
    EXPECT_EQ(ReadFileBytes(out / "app.ini"), ReadFileBytes(config_));
    ASSERT_EQ(archive.ExtractAll(), kSetupOk);
  }
  EXPECT_EQ(ReadFileBytes(out / "app.msi"), ReadFileBytes(msi_));
  EXPECT_EQ(ReadFileBytes(out / "data1.cab"), ReadFileBytes(cab_));
  EXPECT_EQ(ReadFileBytes(out / "vcredist.exe"), ReadFileBytes(prereq_));

  std::string listing;
  ASSERT_TRUE(ListSetup(output_, &listing).ok());
  EXPECT_NE(listing.find("flags             2 HasPrerequisites"), std::string::npos) << listing;
  EXPECT_NE(listing.find("Configuration"), std::string::npos);
  EXPECT_NE(listing.find("2500      " + std::to_string(kStubSize + 73000 + kConfigSize) +
                         "  vcredist.exe"),
            std::string::npos)
      << listing;

  ScratchFolder again;
  std::string report;
  ASSERT_TRUE(ExtractSetup(output_, again / "new", &report).ok());
  EXPECT_EQ(ReadFileBytes(again / "new/vcredist.exe"), ReadFileBytes(prereq_));
  EXPECT_EQ(ReadFileBytes(again / "new/app.ini"), ReadFileBytes(config_));
}

TEST_F(PackTest, ExternalFilesSetupExtractsIntoTheFolderAskedFor) {
  // The setup alone in its folder: the setup itself would write its entries beside itself.
  ScratchFolder dist;
  PackOptions options = Basic();
  options.externalFiles = true;
  options.output = dist / "setup.exe";
  ASSERT_TRUE(Run(options).ok());
  EXPECT_EQ(FooterOf(ReadFileBytes(options.output)).flags, static_cast<uint32_t>(kExternalFiles));
  ScratchFolder out;
  std::string report;
  ASSERT_TRUE(ExtractSetup(options.output, out.path(), &report).ok());
  EXPECT_EQ(ReadFileBytes(out / "app.msi"), ReadFileBytes(msi_));
  EXPECT_EQ(out.List(), std::vector<std::string>{"app.msi"});
  EXPECT_EQ(dist.List(), std::vector<std::string>{"setup.exe"});

  options.msi.clear();
  options.hasPrerequisitesFlag = true;
  ASSERT_TRUE(Run(options).ok());
  const ArchiveFooter footer = FooterOf(ReadFileBytes(options.output));
  EXPECT_EQ(footer.entryCount, 0u);
  EXPECT_EQ(footer.flags, static_cast<uint32_t>(kExternalFiles | kHasPrerequisites));
}

TEST_F(PackTest, RefusesAStubThatCarriesAnArchiveUnlessReplacing) {
  ASSERT_TRUE(Run(Full()).ok());
  PackOptions options = Basic();
  options.stub = output_;
  options.output = dir_ / "second.exe";
  const PackStatus refused = Run(options);
  EXPECT_EQ(refused.exitCode, kExitRefused);
  EXPECT_NE(refused.message.find("already carries an archive"), std::string::npos);
  EXPECT_FALSE(sys::FileExists(options.output));

  options.replace = true;
  ASSERT_TRUE(Run(options).ok());
  const std::string second = ReadFileBytes(options.output);
  EXPECT_EQ(second.compare(0, kStubSize, ReadFileBytes(stub_)), 0);
  EXPECT_EQ(second.size(), kStubSize + 70000 + 16 + 7 + 36);
  EXPECT_EQ(FooterOf(second).dataOffset, kStubSize);

  // A stub whose code holds the signature as a constant is no setup.
  stub_fixture::StubRecipe plain;
  plain.code = Filler(3000, 9) + kArchiveMagic + Filler(3000, 10);
  options = Basic();
  options.stub = dir_.Add("plain.exe", MakeStub(plain));
  EXPECT_TRUE(Run(options).ok());
}

TEST_F(PackTest, APrerequisiteThatIsItselfASetupStaysInside) {
  // A small setup packed as the last entry puts its footer's signature into the last block.
  PackOptions inner = Basic();
  inner.output = dir_ / "inner.exe";
  ASSERT_TRUE(Run(inner).ok());
  PackOptions outer = Full();
  outer.prerequisites = {prereq_, inner.output};
  ASSERT_TRUE(Run(outer).ok());

  ScratchFolder out;
  SfxArchive archive;
  archive.SetModulePath(output_);
  archive.setExtractFolder(out.path());
  archive.setKeepFiles(true);
  ASSERT_EQ(archive.Open(), kSetupOk);
  EXPECT_EQ(archive.entries().size(), 5u);
  ASSERT_EQ(archive.ExtractAll(), kSetupOk);
  EXPECT_EQ(ReadFileBytes(out / "inner.exe"), ReadFileBytes(inner.output));
}

TEST_F(PackTest, RefusesMissingInputsAndLeavesNothingBehind) {
  PackOptions options = Full();
  options.cabinets.push_back(dir_ / "missing.cab");
  PackStatus status = Run(options);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("cannot find the input file"), std::string::npos);
  EXPECT_NE(status.message.find("missing.cab"), std::string::npos);

  options = Basic();
  options.stub = dir_ / "nostub.exe";
  EXPECT_NE(Run(options).message.find("cannot find the stub"), std::string::npos);

  // Writing over an input would lose it.
  options = Full();
  options.output = dir_ / "./data1.cab";
  status = Run(options);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("is the input"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(cab_), Cabinet(Filler(3000 - 4, 3)));

  options = Basic();
  options.output = dir_ / "no-such-folder/setup.exe";
  EXPECT_EQ(Run(options).exitCode, kExitIoError);
  EXPECT_EQ(dir_.List().size(), 5u);
}

TEST_F(PackTest, RefusesAnInputOf2GiB) {
  // Sparse: no disk space is used.
  const std::string big = dir_ / "big.cab";
  packer_test::WriteFileBytes(big, "");
  ASSERT_EQ(::truncate(big.c_str(), 0x80000000LL), 0);
  PackOptions options = Basic();
  options.cabinets = {big};
  const PackStatus status = Run(options);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("2147483648 bytes"), std::string::npos) << status.message;
  EXPECT_FALSE(sys::FileExists(output_));
}

TEST_F(PackTest, RefusesAConfigurationWithErrors) {
  PackOptions options = Full();
  // The configuration names a setup that is not packed.
  options.prerequisites.clear();
  const PackStatus status = Run(options);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("has errors"), std::string::npos);
  EXPECT_FALSE(sys::FileExists(output_));
}

TEST_F(PackTest, ListAndExtractRefuseAFileWithoutArchive) {
  std::string text;
  PackStatus status = ListSetup(stub_, &text);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("carries no archive"), std::string::npos);
  status = ListSetup(dir_ / "nothing.exe", &text);
  EXPECT_NE(status.message.find("cannot find"), std::string::npos);
  ScratchFolder out;
  EXPECT_EQ(ExtractSetup(stub_, out.path(), &text).exitCode, kExitRefused);
  EXPECT_TRUE(out.List().empty());
}
