#include <gtest/gtest.h>

#include <string>

#include "prereq/name_index.h"

TEST(NameIndex, KeepsTheFirstOccurrenceOfEveryNameThroughManyGrowths) {
  NameIndex index;
  EXPECT_EQ(index.find("app1"), index.end());
  for (size_t i = 0; i < 5000; ++i) {
    index.emplace("app" + std::to_string(i), i);
  }
  // Repeats keep the first index.
  for (size_t i = 0; i < 5000; i += 7) {
    index.emplace("app" + std::to_string(i), 99999);
  }
  index.emplace("", 42);
  ASSERT_EQ(index.size(), 5001u);
  for (size_t i = 0; i < 5000; ++i) {
    const NameIndex::Entry *entry = index.find("app" + std::to_string(i));
    ASSERT_NE(entry, index.end()) << i;
    EXPECT_EQ(entry->second, i);
  }
  ASSERT_NE(index.find(""), index.end());
  EXPECT_EQ(index.find("")->second, 42u);
  // Exact bytes: no case folding of its own, no prefix matches.
  EXPECT_EQ(index.find("APP1"), index.end());
  EXPECT_EQ(index.find("app"), index.end());
  index.clear();
  EXPECT_EQ(index.find("app1"), index.end());
  index.emplace("app1", 3);
  EXPECT_EQ(index.find("app1")->second, 3u);
}
