#include "archive/sfx_archive.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/support/archive_fixture.h"

namespace {

class SfxArchiveTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = scratch_.folder();
    out_ = folder_ + "out/";
    mkdir(out_.c_str(), 0755);
  }

  std::string WriteSetup(const std::vector<FixtureEntry> &entries,
                         const FixtureLayout &layout = FixtureLayout()) {
    const std::string path = folder_ + "setup.exe";
    WriteWholeFile(path, BuildSetupBytes(entries, layout));
    return path;
  }

  SetupError OpenSetup(SfxArchive *archive, const std::string &path) {
    archive->SetModulePath(path);
    archive->setExtractFolder(out_.substr(0, out_.size() - 1)); // Open adds the separator
    return archive->Open();
  }

  static std::vector<FixtureEntry> Shipped() {
    return {{kMainPackage, "app.msi", std::string(70000, 'm')},
            {kPackageCabinet, "app.cab", "cabinet"},
            {kConfiguration, "app.ini", "[PREREQUISITES]\r\n"},
            {kPrerequisiteSetup, "runtime.exe", std::string(3, 'r')}};
  }

  ScratchFolder scratch_;
  std::string folder_;
  std::string out_;
};

TEST_F(SfxArchiveTest, AsBuiltArchiveIsFoundInOneBlockAndExtractsByteIdentical) {
  const std::vector<FixtureEntry> entries = Shipped();
  SfxArchive archive;
  ASSERT_EQ(OpenSetup(&archive, WriteSetup(entries)), kSetupOk);
  EXPECT_EQ(archive.footerSearchBytesRead(), 2048u);
  EXPECT_EQ(archive.offsetDelta(), 0);
  ASSERT_EQ(archive.entries().size(), 4u);
  EXPECT_EQ(archive.entries()[3].name, "runtime.exe");
  EXPECT_EQ(archive.packageBaseName(), "app");
  EXPECT_EQ(archive.configPath(), out_ + "app.ini");
  EXPECT_EQ(archive.FindEntry("app.cab"), 1);
  EXPECT_EQ(archive.FindEntry("APP.CAB"), -1);
  EXPECT_EQ(archive.ModuleFolder(), folder_.substr(0, folder_.size() - 1));

  ASSERT_EQ(archive.ExtractAll(), kSetupOk);
  for (const FixtureEntry &e : entries) {
    EXPECT_EQ(ReadWholeFile(out_ + e.name), e.data) << e.name;
  }
}

TEST_F(SfxArchiveTest, ArchiveMovedOrFollowedByBytesStillReadsFromTheRightPlace) {
  const std::vector<FixtureEntry> entries = Shipped();
  // Moved by d bytes, and tails that push the signature across block boundaries: with the
  // overlapping blocks no start position is left untested.
  const uint32_t leads[] = {0, 1, 777};
  const size_t tails[] = {0, 1, 2036, 2037, 2038, 2039, 2045, 2046, 4070, 4080, 9000};
  for (uint32_t lead : leads) {
    for (size_t tail : tails) {
      FixtureLayout layout;
      layout.lead = lead;
      layout.tail = std::string(tail, 't');
      SfxArchive archive;
      ASSERT_EQ(OpenSetup(&archive, WriteSetup(entries, layout)), kSetupOk)
          << "lead " << lead << " tail " << tail;
      EXPECT_EQ(archive.offsetDelta(), static_cast<int32_t>(lead));
      ASSERT_EQ(archive.ExtractByName("app.msi"), kSetupOk);
      EXPECT_EQ(ReadWholeFile(out_ + "app.msi"), entries[0].data);
    }
  }
}

TEST_F(SfxArchiveTest, FooterProblemsGiveTheirCodes) {
  FixtureLayout layout;
  layout.version = 99;
  SfxArchive v99;
  EXPECT_EQ(OpenSetup(&v99, WriteSetup(Shipped(), layout)), kUnsupportedVersion);
  layout.version = 101;
  SfxArchive v101;
  EXPECT_EQ(OpenSetup(&v101, WriteSetup(Shipped(), layout)), kUnsupportedVersion);

  WriteWholeFile(folder_ + "plain.exe", std::string(10000, 'x'));
  SfxArchive unsigned_;
  EXPECT_EQ(OpenSetup(&unsigned_, folder_ + "plain.exe"), kFileError);

  WriteWholeFile(folder_ + "tiny.exe", "TESSARASFX");
  SfxArchive tiny;
  EXPECT_EQ(OpenSetup(&tiny, folder_ + "tiny.exe"), kFileError);

  SfxArchive missing;
  EXPECT_EQ(OpenSetup(&missing, folder_ + "nothing.exe"), kFileError);

  SfxArchive noPath;
  EXPECT_EQ(noPath.Open(), kFileError);

  // The two footers more than a block apart: the one nearer the end wins.
  std::string first = BuildSetupBytes({{kMainPackage, "old.msi", "old"}}, FixtureLayout());
  FixtureLayout second;
  second.stubSize = 0;
  std::string both = first + std::string(3000, 'p');
  const uint32_t base = static_cast<uint32_t>(both.size());
  std::string later = BuildSetupBytes({{kMainPackage, "new.msi", "new"}}, second);
  // Recorded offsets as if the second archive had been built at its place.
  WriteWholeFile(folder_ + "two.exe", both + later);
  SfxArchive two;
  ASSERT_EQ(OpenSetup(&two, folder_ + "two.exe"), kSetupOk);
  EXPECT_EQ(two.offsetDelta(), static_cast<int32_t>(base));
  EXPECT_EQ(two.packageBaseName(), "new");
}

// Gives the stub bytes of a setup a PE header whose certificate table (directory 4) covers
// the bytes from tableAt to the end of the file; magic 0x10B is PE32, 0x20B PE32+.
void AddCertificateTable(std::string *setup, uint32_t tableAt, uint32_t magic = 0x10B) {
  unsigned char *b = reinterpret_cast<unsigned char *>(&(*setup)[0]);
  const uint32_t pe = 0x80;
  const uint32_t optional = pe + 24;
  const uint32_t countAt = optional + (magic == 0x10B ? 92 : 108);
  b[0] = 'M';
  b[1] = 'Z';
  WriteLe32(b + 0x3C, pe);
  WriteLe32(b + pe, 0x00004550u);
  b[optional] = static_cast<unsigned char>(magic);
  b[optional + 1] = static_cast<unsigned char>(magic >> 8);
  WriteLe32(b + countAt, 16);
  WriteLe32(b + countAt + 4 + 4 * 8, tableAt);
  WriteLe32(b + countAt + 8 + 4 * 8, static_cast<uint32_t>(setup->size()) - tableAt);
}

TEST_F(SfxArchiveTest, AnArchiveHiddenInTheCertificateTableOfASignedSetupIsNotItsOwn) {
  FixtureLayout foreignLayout;
  foreignLayout.stubSize = 0;
  const std::string foreign =
      BuildSetupBytes({{kMainPackage, "foreign.msi", "evil"}}, foreignLayout);
  for (uint32_t magic : {0x10Bu, 0x20Bu}) {
    std::string setup = BuildSetupBytes({{kMainPackage, "own.msi", "good"}}, FixtureLayout());
    const uint32_t tableAt = static_cast<uint32_t>(setup.size()) + 4; // after alignment bytes
    setup += std::string(4, '\0') + std::string(3000, 'C') + foreign;
    AddCertificateTable(&setup, tableAt, magic);
    WriteWholeFile(folder_ + "signed.exe", setup);
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, folder_ + "signed.exe"), kSetupOk) << magic;
    EXPECT_EQ(archive.packageBaseName(), "own") << magic;
    EXPECT_EQ(archive.offsetDelta(), 0);

    // A table that stops short of the end is not what a signing tool writes: the search
    // starts at the end of the file as for any setup.
    std::string shortTable = setup;
    AddCertificateTable(&shortTable, tableAt);
    shortTable += "x";
    WriteWholeFile(folder_ + "short.exe", shortTable);
    SfxArchive unsigned_;
    ASSERT_EQ(OpenSetup(&unsigned_, folder_ + "short.exe"), kSetupOk);
    EXPECT_EQ(unsigned_.packageBaseName(), "foreign");
  }
  // A table that holds the whole archive leaves nothing to find in front of it.
  std::string whole = BuildSetupBytes({{kMainPackage, "own.msi", "good"}}, FixtureLayout());
  AddCertificateTable(&whole, 5000);
  WriteWholeFile(folder_ + "whole.exe", whole);
  SfxArchive none;
  EXPECT_EQ(OpenSetup(&none, folder_ + "whole.exe"), kFileError);
}

TEST_F(SfxArchiveTest, HostileOrBrokenEntryTablesAreRejectedWithoutWritingAnything) {
  struct Case {
    std::string name;
    SetupError expected;
  };
  const Case cases[] = {{"..", kCorrupted},
                        {".", kCorrupted},
                        {"..\\evil.exe", kCorrupted},
                        {"../evil.exe", kCorrupted},
                        {"C:evil.exe", kCorrupted},
                        {std::string(260, 'n'), kCorrupted},
                        {std::string(259, 'n'), kSetupOk},
                        // Device names open the device, in any case, with any extension.
                        {"CON", kCorrupted},
                        {"nul.txt", kCorrupted},
                        {"Aux.tar.gz", kCorrupted},
                        {"prn ", kCorrupted},
                        {"com1", kCorrupted},
                        {"LPT9.log", kCorrupted},
                        {"COM\xB9.dat", kCorrupted},
                        {"conout$", kCorrupted},
                        {"lpt1 .txt", kCorrupted},
                        // Windows strips trailing dots and blanks: another file than named.
                        {"setup.exe.", kCorrupted},
                        {"setup.exe ", kCorrupted},
                        // Only the whole device part counts.
                        {"console.txt", kSetupOk},
                        {"com10.txt", kSetupOk},
                        {"lpt.txt", kSetupOk},
                        {"xnul", kSetupOk},
                        {".con", kSetupOk}};
  for (const Case &c : cases) {
    if (c.expected != kSetupOk) {
      // The name as the configuration, which Open itself extracts, then ExtractAll: a reader
      // that let it through would write it (beside the folder, for "../evil.exe").
      FixtureLayout layout;
      layout.flags = kHasPrerequisites;
      {
        SfxArchive archive;
        EXPECT_EQ(OpenSetup(&archive, WriteSetup({{kMainPackage, "a.msi", "x"},
                                                  {kConfiguration, c.name, "evil"}},
                                                 layout)),
                  c.expected)
            << c.name.substr(0, 20);
        archive.ExtractAll();
        EXPECT_FALSE(archive.isExtracted(0));
        // Looked at before the archive's clean-up could remove what it wrote.
        EXPECT_EQ(ScratchFolder::Names(out_), std::vector<std::string>()) << c.name.substr(0, 20);
        EXPECT_EQ(scratch_.List().size(), 2u) << c.name.substr(0, 20); // out and setup.exe
        EXPECT_FALSE(sys::FileExists(folder_ + "evil.exe"));
      }
    }
    SfxArchive plain;
    EXPECT_EQ(OpenSetup(&plain,
                        WriteSetup({{kMainPackage, "a.msi", "x"}, {kPackageFile, c.name, "evil"}})),
              c.expected)
        << c.name.substr(0, 20);
  }

  // A huge nameLength must not wrap an allocation size.
  std::string bytes = BuildSetupBytes({{kMainPackage, "a.msi", "x"}}, FixtureLayout());
  const size_t table = bytes.size() - kFooterSize - kEntryHeaderSize - 5;
  for (uint32_t length : {0xFFFFFFFFu, 0x80000000u, 260u}) {
    WriteLe32(reinterpret_cast<unsigned char *>(&bytes[table + 12]), length);
    WriteWholeFile(folder_ + "huge.exe", bytes);
    SfxArchive archive;
    EXPECT_EQ(OpenSetup(&archive, folder_ + "huge.exe"), kCorrupted) << length;
  }
  // An empty name cannot be read.
  WriteLe32(reinterpret_cast<unsigned char *>(&bytes[table + 12]), 0);
  WriteWholeFile(folder_ + "empty.exe", bytes);
  SfxArchive empty;
  EXPECT_EQ(OpenSetup(&empty, folder_ + "empty.exe"), kFileError);

  // A configuration entry whose data lies outside the file: no empty file stays behind.
  std::string far = BuildSetupBytes({{kMainPackage, "a.msi", "x"}, {kConfiguration, "a.ini", "i"}},
                                    FixtureLayout());
  const size_t configHeader = far.size() - kFooterSize - (kEntryHeaderSize + 5);
  WriteLe32(reinterpret_cast<unsigned char *>(&far[configHeader + 8]), 0xDE000000u);
  WriteWholeFile(folder_ + "far.exe", far);
  {
    SfxArchive farArchive;
    EXPECT_EQ(OpenSetup(&farArchive, folder_ + "far.exe"), kSetupOk); // no prerequisites flag
  }
  far[far.size() - kFooterSize + 20] = static_cast<char>(kHasPrerequisites);
  WriteWholeFile(folder_ + "far.exe", far);
  {
    SfxArchive farArchive;
    EXPECT_EQ(OpenSetup(&farArchive, folder_ + "far.exe"), kFileError);
  }
  struct stat st;
  EXPECT_NE(stat((out_ + "a.ini").c_str(), &st), 0) << "an empty a.ini was left behind";

  // More entries announced than the file holds.
  std::string counted = BuildSetupBytes({{kMainPackage, "a.msi", "x"}}, FixtureLayout());
  WriteLe32(reinterpret_cast<unsigned char *>(&counted[counted.size() - kFooterSize]), 1000000);
  WriteWholeFile(folder_ + "count.exe", counted);
  SfxArchive count;
  // The reader runs into the footer and then the end of the file: either way, not a table.
  EXPECT_NE(OpenSetup(&count, folder_ + "count.exe"), kSetupOk);
  EXPECT_TRUE(count.entries().empty());
}

TEST_F(SfxArchiveTest, KnownFilesFollowTheConfigurationOrTheLastPackage) {
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, WriteSetup({{kMainPackage, "first.msi", "1"},
                                              {kMainPackage, "second.msi", "2"}})),
              kSetupOk);
    EXPECT_EQ(archive.packageBaseName(), "second");
    EXPECT_EQ(archive.configPath(), out_);
  }
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, WriteSetup({{kMainPackage, "x.msi", "1"},
                                              {kConfiguration, "y.ini", "2"},
                                              {kConfiguration, "z.ini", "3"}})),
              kSetupOk);
    EXPECT_EQ(archive.packageBaseName(), "y");
    EXPECT_EQ(archive.configPath(), out_ + "y.ini");
  }
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, WriteSetup({{kMainPackage, ".msi", "1"}})), kSetupOk);
    EXPECT_EQ(archive.packageBaseName(), "");
  }
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, WriteSetup({})), kSetupOk);
    EXPECT_EQ(archive.packageBaseName(), "");
    EXPECT_EQ(archive.configPath(), out_);
  }
  {
    FixtureLayout layout;
    layout.flags = kExternalFiles | kHasPrerequisites;
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, WriteSetup(Shipped(), layout)), kSetupOk);
    EXPECT_EQ(archive.extractFolder(), folder_);
    EXPECT_EQ(archive.configPath(), folder_ + "setup.ini");
    EXPECT_EQ(archive.packageBaseName(), "setup");
    // Nothing is written for the package and nothing is deleted.
    EXPECT_EQ(archive.ExtractPackageFiles(), kSetupOk);
    EXPECT_EQ(archive.ExtractByName("runtime.exe"), kSetupOk);
    EXPECT_FALSE(archive.isExtracted(0));
    EXPECT_FALSE(archive.isExtracted(3));
  }
}

TEST_F(SfxArchiveTest, PrerequisitesExtractTheConfigurationAtOpenAndCleanUpEverything) {
  FixtureLayout layout;
  layout.flags = kHasPrerequisites;
  const std::string path = WriteSetup(Shipped(), layout);
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, path), kSetupOk);
    EXPECT_TRUE(archive.isExtracted(2));
    EXPECT_EQ(ReadWholeFile(out_ + "app.ini"), "[PREREQUISITES]\r\n");
    EXPECT_FALSE(sys::FileExists(out_ + "app.msi"));

    // The same setup twice is written once; an unknown name writes nothing.
    ASSERT_EQ(archive.ExtractByName("runtime.exe"), kSetupOk);
    WriteWholeFile(out_ + "runtime.exe", "changed");
    EXPECT_EQ(archive.ExtractByName("runtime.exe"), kSetupOk);
    EXPECT_EQ(ReadWholeFile(out_ + "runtime.exe"), "changed");
    EXPECT_EQ(archive.ExtractByName("absent.exe"), kFileError);
    EXPECT_FALSE(sys::FileExists(out_ + "absent.exe"));

    ASSERT_EQ(archive.ExtractPackageFiles(), kSetupOk);
    EXPECT_TRUE(sys::FileExists(out_ + "app.cab"));
  }
  for (const char *name : {"app.msi", "app.cab", "app.ini", "runtime.exe"}) {
    EXPECT_FALSE(sys::FileExists(out_ + name)) << name;
  }

  // Extract-only keeps its files.
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, path), kSetupOk);
    ASSERT_EQ(archive.ExtractAll(), kSetupOk);
    archive.setKeepFiles(true);
  }
  EXPECT_TRUE(sys::FileExists(out_ + "runtime.exe"));

  // Prerequisites announced without any configuration entry: nothing to extract.
  SfxArchive noConfig;
  EXPECT_EQ(OpenSetup(&noConfig, WriteSetup({{kMainPackage, "a.msi", "x"}}, layout)), kFileError);
}

TEST_F(SfxArchiveTest, ShortOrImpossibleCopiesFailAndStillGetCleanedUp) {
  std::string bytes = BuildSetupBytes(
      {{kMainPackage, "a.msi", "data"}, {kPackageFile, "b.dat", "more"}}, FixtureLayout());
  // Entry a claims more bytes than the file holds after its offset.
  const size_t table = bytes.size() - kFooterSize - 2 * kEntryHeaderSize - 5 - 5;
  WriteLe32(reinterpret_cast<unsigned char *>(&bytes[table + 4]), 0x10000000);
  WriteWholeFile(folder_ + "short.exe", bytes);
  {
    SfxArchive archive;
    ASSERT_EQ(OpenSetup(&archive, folder_ + "short.exe"), kSetupOk);
    EXPECT_EQ(archive.ExtractPackageFiles(), kFileError);
    EXPECT_TRUE(archive.isExtracted(0));
    EXPECT_TRUE(sys::FileExists(out_ + "a.msi"));
  }
  EXPECT_FALSE(sys::FileExists(out_ + "a.msi"));

  // A folder that does not exist receives nothing; ExtractAll stops at the first failure.
  SfxArchive archive;
  archive.SetModulePath(WriteSetup(Shipped()));
  archive.setExtractFolder(folder_ + "missing");
  ASSERT_EQ(archive.Open(), kSetupOk);
  EXPECT_EQ(archive.ExtractAll(), kFileError);
  EXPECT_FALSE(archive.isExtracted(0));
  EXPECT_FALSE(archive.isExtracted(1));
}

} // namespace
