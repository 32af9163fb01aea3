// The containers of base: growth keeps every element through many reallocations, each object is
// destroyed exactly once whatever way it leaves, and an index past the end ends the process.
#include <gtest/gtest.h>

#include <string>

#include "base/buffer.h"
#include "base/object_vector.h"
#include "base/record_vector.h"

namespace {

struct Record {
  uint32_t number;
  uint16_t small;
  bool flag;
};

// Counts the objects alive; each one carries a string, so a double destruction or a lost one
// shows under the sanitizers as well.
struct Counted {
  static int alive;
  explicit Counted(int v) : value(v), text(std::to_string(v) + " a string longer than a buffer") {
    ++alive;
  }
  Counted(const Counted &other) : value(other.value), text(other.text) { ++alive; }
  ~Counted() { --alive; }
  int value;
  std::string text;
};
int Counted::alive = 0;

TEST(RecordVector, GrowsThroughManyReallocationsAndCopiesWhole) {
  base::RecordVector<Record> records;
  for (uint32_t i = 0; i < 10000; ++i) {
    records.push_back({i * 3, static_cast<uint16_t>(i), i % 2 == 0});
  }
  ASSERT_EQ(records.size(), 10000u);
  uint32_t i = 0;
  for (const Record &r : records) {
    ASSERT_EQ(r.number, i * 3);
    ASSERT_EQ(r.small, static_cast<uint16_t>(i));
    ASSERT_EQ(r.flag, i % 2 == 0);
    ++i;
  }
  base::RecordVector<Record> copy = records;
  records[9999].number = 1;
  EXPECT_EQ(copy[9999].number, 29997u);
  base::RecordVector<Record> moved = std::move(copy);
  EXPECT_EQ(moved.size(), 10000u);
  // assign makes every element as T() would; the old ones are gone.
  base::RecordVector<int> numbers = {7, 8};
  numbers.assign(3);
  EXPECT_EQ(numbers.size(), 3u);
  EXPECT_EQ(numbers[0] + numbers[1] + numbers[2], 0);
}

TEST(ObjectVector, ElementsStayInPlaceAndAreDestroyedOnce) {
  {
    base::ObjectVector<Counted> objects;
    const Counted &first = objects.emplace_back(0);
    for (int i = 1; i < 5000; ++i) {
      objects.emplace_back(i);
    }
    // The first element did not move while the list grew.
    EXPECT_EQ(&first, &objects[0]);
    EXPECT_EQ(Counted::alive, 5000);
    objects.pop_back();
    EXPECT_EQ(Counted::alive, 4999);
    base::ObjectVector<Counted> taken = std::move(objects);
    EXPECT_EQ(taken.size(), 4999u);
    EXPECT_EQ(taken[4998].text, "4998 a string longer than a buffer");
    base::ObjectVector<Counted> other;
    other.emplace_back(-1);
    other = std::move(taken);
    EXPECT_EQ(Counted::alive, 5000); // other's element lives on in taken until its end
    int sum = 0;
    for (const Counted &c : other) {
      sum += c.value;
    }
    EXPECT_EQ(sum, 4999 * 4998 / 2);
    other.clear();
    EXPECT_EQ(Counted::alive, 1);
  }
  EXPECT_EQ(Counted::alive, 0);
  base::StringList strings = {"a", "b"};
  EXPECT_EQ(strings.back(), "b");
}

TEST(ContainersDeathTest, AnIndexPastTheEndEndsTheProcess) {
  base::RecordVector<int> records = {1};
  base::ObjectVector<std::string> objects;
  base::Buffer<char> buffer(4);
  EXPECT_EQ(buffer[3], 0); // zeroed
  EXPECT_DEATH(records[1] = 2, "");
  EXPECT_DEATH(objects[0].clear(), "");
  EXPECT_DEATH(objects.pop_back(), "");
  EXPECT_DEATH(buffer[4] = 'x', "");
  // A count whose bytes overflow is refused before anything is asked of the system.
  base::Buffer<uint32_t> huge;
  EXPECT_FALSE(huge.Allocate(static_cast<size_t>(-1) / 2));
  EXPECT_EQ(huge.size(), 0u);
}

} // namespace
