#include "packer/pack_layout.h"

#include <gtest/gtest.h>

#include "packer/pack_options.h"
#include "packer/pack_plan.h"

namespace {

std::vector<PlannedEntry> Entries(std::initializer_list<std::pair<const char *, uint32_t>> list) {
  std::vector<PlannedEntry> entries;
  uint32_t type = 0;
  for (const auto &item : list) {
    PlannedEntry entry;
    entry.name = item.first;
    entry.size = item.second;
    entry.type = type++;
    entries.push_back(entry);
  }
  return entries;
}

const std::string kMagic(kArchiveMagic, kMagicSize);

} // namespace

TEST(PackLayout, RecordsOffsetsAsBuiltWithTheTableRightAfterTheData) {
  PackLayout layout;
  ASSERT_TRUE(
      ComputeLayout(5000, Entries({{"app.msi", 300}, {"a.cab", 0}, {"x.dat", 7}}), &layout).ok());
  EXPECT_EQ(layout.dataOffset, 5000u);
  ASSERT_EQ(layout.headers.size(), 3u);
  EXPECT_EQ(layout.headers[0].offset, 5000u);
  EXPECT_EQ(layout.headers[1].offset, 5300u);
  EXPECT_EQ(layout.headers[2].offset, 5300u);
  EXPECT_EQ(layout.headers[2].type, 2u);
  EXPECT_EQ(layout.entryTableOffset, 5307u);
  EXPECT_EQ(layout.table.size(), 3 * kEntryHeaderSize + 7 + 5 + 5);
  EXPECT_EQ(layout.sizeBeforeFooter, 5307u + layout.table.size());
  ArchiveEntry second;
  DecodeEntryHeader(reinterpret_cast<const unsigned char *>(layout.table.data()) + 23, &second);
  EXPECT_EQ(second.nameLength, 5u);
  EXPECT_EQ(layout.table.substr(39, 5), "a.cab");

  const ArchiveFooter footer = MakeFooter(layout, kHasPrerequisites, 9999);
  EXPECT_EQ(footer.entryCount, 3u);
  EXPECT_EQ(footer.version, 100u);
  EXPECT_EQ(footer.footerOffset, 9999u);
  EXPECT_EQ(footer.entryTableOffset, 5307u);
  EXPECT_EQ(footer.dataOffset, 5000u);
  EXPECT_EQ(footer.flags, 2u);
  EXPECT_TRUE(HasArchiveMagic(footer));
  EXPECT_EQ(footer.reserved, 0);
}

TEST(PackLayout, RefusesASetupOf2GiBOrMore) {
  PackLayout layout;
  // Exactly at the limit with the footer: 0x7FFFFFFF bytes is the largest file allowed.
  const uint32_t table = kEntryHeaderSize + 7;
  const uint32_t fits = kMaxArchiveExtent - 1000 - table - kFooterSize;
  EXPECT_TRUE(ComputeLayout(1000, Entries({{"app.msi", fits}}), &layout).ok());
  const PackStatus status = ComputeLayout(1000, Entries({{"app.msi", fits + 1}}), &layout);
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("2 GiB"), std::string::npos);
  // Sizes that together wrap around 32 bits are refused too.
  EXPECT_FALSE(
      ComputeLayout(1000, Entries({{"app.msi", 0x7FFFFFF0u}, {"b.cab", 0x7FFFFFF0u}}), &layout)
          .ok());
}

TEST(FooterPadding, KeepsTheOnlySignatureOfTheLastBlockInTheFooter) {
  PackLayout layout;
  ASSERT_TRUE(ComputeLayout(4000, Entries({{"app.msi", 100}}), &layout).ok());
  const uint32_t size = layout.sizeBeforeFooter;
  const std::string plain(2048, 'x');
  EXPECT_EQ(FooterPadding(plain, size, layout, 0), 0u);

  // A prerequisite that is itself a setup ends with a footer: its signature lies in the last
  // block and the setup would take it for its own. Padding pushes it out of the block.
  std::string tail = plain;
  tail.replace(1500, kMagicSize, kMagic);
  const uint32_t padding = FooterPadding(tail, size, layout, 0);
  EXPECT_GT(padding, 0u);
  std::string end = tail + std::string(padding, '\0') + std::string(kFooterSize, 'F');
  EXPECT_EQ(end.substr(end.size() - 2048).find(kMagic), std::string::npos);
  // No more than needed: one byte less would keep it in the block.
  end = tail + std::string(padding - 1, '\0') + std::string(kFooterSize, 'F');
  EXPECT_NE(end.substr(end.size() - 2048).find(kMagic), std::string::npos);
}

TEST(FooterPadding, MakesASmallSetupOneSearchBlockLong) {
  PackLayout layout;
  ASSERT_TRUE(ComputeLayout(100, Entries({{"app.msi", 50}}), &layout).ok());
  const uint32_t size = layout.sizeBeforeFooter;
  const uint32_t padding = FooterPadding(std::string(size, 'x'), size, layout, 0);
  EXPECT_EQ(size + padding + kFooterSize, 2048u);
}
