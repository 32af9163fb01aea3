#include <gtest/gtest.h>

#include <string>

#include "prereq/name_index.h"

TEST(NameIndex, KeepsTheFirstOccurrenceOfEveryNameThroughManyGrowths) {
  NameIndex index;
  EXPECT_EQ(index.find("app1"), NameIndex::npos);
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
    EXPECT_EQ(index.find("app" + std::to_string(i)), i) << i;
  }
  EXPECT_EQ(index.find(""), 42u);
  // Exact bytes: no case folding of its own, no prefix matches.
  EXPECT_EQ(index.find("APP1"), NameIndex::npos);
  EXPECT_EQ(index.find("app"), NameIndex::npos);
  index.clear();
  EXPECT_EQ(index.find("app1"), NameIndex::npos);
  index.emplace("app1", 3);
  EXPECT_EQ(index.find("app1"), 3u);
}
