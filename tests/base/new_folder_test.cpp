// A run's own folder: never one that was there, whoever made it; a parent it cannot write in
// fails at once.
#include <gtest/gtest.h>

#include "base/file.h"
#include "base/new_folder.h"
#include "tests/support/scratch_folder.h"

TEST(NewFolder, PassesOverTakenNamesAndLeavesThemAsTheyAre) {
  ScratchFolder dir;
  std::string first;
  ASSERT_TRUE(sys::CreateNewFolder(dir.folder(), "tsr", 7, &first));
  ASSERT_EQ(first.size(), dir.folder().size() + 3 + 8 + 1);
  EXPECT_EQ(first.compare(0, dir.folder().size() + 3, dir.folder() + "tsr"), 0);
  EXPECT_EQ(first.back(), sys::kPathSeparator);

  // The same seed again: the folder made before is taken, and so is a file planted under the
  // next name; the third name is made, and the planted file stays.
  std::string second;
  ASSERT_TRUE(sys::CreateNewFolder(dir.folder(), "tsr", 7, &second));
  EXPECT_NE(second, first);
  ASSERT_TRUE(sys::RemoveFolder(second));
  const std::string planted = second.substr(0, second.size() - 1);
  dir.Add(planted.substr(dir.folder().size()), "planted");
  std::string third;
  ASSERT_TRUE(sys::CreateNewFolder(dir.folder(), "tsr", 7, &third));
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  EXPECT_EQ(dir.List().size(), 3u);

  std::string none;
  EXPECT_FALSE(sys::CreateNewFolder(dir / "missing" + sys::kPathSeparator, "tsr", 7, &none));
  EXPECT_TRUE(none.empty());
}
