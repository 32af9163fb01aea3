// The ProductName rewrite in the stub's version resource.
#include "tools/product_name.h"

#include <gtest/gtest.h>

#include "packer_test_support.h"
#include "tools/pack_command.h"

using packer_test::Filler;
using packer_test::ReadFileBytes;
using packer_test::ScratchFolder;

namespace {

std::string Utf16(const std::string &ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

// A String node as the build writes it: header, key, padding, a value of valueUnits units.
std::string ProductNameNode(const std::string &name, uint16_t valueUnits) {
  std::string node(6, '\0');
  node += Utf16("ProductName") + std::string(2, '\0');
  node.append(2, '\0'); // to a 4-byte boundary
  std::string value = Utf16(name);
  value.resize(valueUnits * 2u, '\0');
  node += value;
  const size_t length = node.size();
  node[0] = static_cast<char>(length & 0xFF);
  node[1] = static_cast<char>(length >> 8);
  node[2] = static_cast<char>(valueUnits & 0xFF);
  node[3] = static_cast<char>(valueUnits >> 8);
  node[4] = 1;
  return node;
}

std::string StubWith(const std::string &node) { return Filler(4000, 5) + node + Filler(900, 6); }

class ProductNameTest : public ::testing::Test {
protected:
  PackStatus PackWithName(const std::string &stubBytes, const std::string &name) {
    PackOptions options;
    options.stub = dir_.Add("stub.exe", stubBytes);
    options.msi = dir_.Add("app.msi", Filler(500, 7));
    options.output = dir_ / "setup.exe";
    options.productName = name;
    options.hasProductName = true;
    std::string summary;
    return Pack(options, &summary);
  }

  ScratchFolder dir_;
};

} // namespace

TEST_F(ProductNameTest, RewritesTheFixedRoomInPlace) {
  const std::string stub = StubWith(ProductNameNode("Tessara", 64));
  ASSERT_TRUE(PackWithName(stub, "Contoso Suite").ok());
  const std::string setup = ReadFileBytes(dir_ / "setup.exe");
  std::string expected = stub;
  std::string value = Utf16("Contoso Suite");
  value.resize(128, '\0');
  expected.replace(4000 + 32, 128, value);
  EXPECT_EQ(setup.compare(0, expected.size(), expected), 0);
  // The input stub itself is left as it was.
  EXPECT_EQ(ReadFileBytes(dir_ / "stub.exe"), stub);
}

TEST_F(ProductNameTest, TakesUpTo63Characters) {
  const std::string stub = StubWith(ProductNameNode("Tessara", 64));
  EXPECT_TRUE(PackWithName(stub, std::string(63, 'n')).ok());
  const PackStatus status = PackWithName(stub, std::string(64, 'n'));
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("room for 63"), std::string::npos) << status.message;
  EXPECT_EQ(PackWithName(stub, "").exitCode, kExitRefused);
  EXPECT_EQ(PackWithName(stub, "Tab\tName").exitCode, kExitRefused);
}

TEST_F(ProductNameTest, RefusesAStubWithoutTheFixedField) {
  PackStatus status = PackWithName(Filler(5000, 8), "Name");
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("has no ProductName"), std::string::npos);
  // A ProductName sized to its text, as other resource compilers write it, cannot grow.
  status = PackWithName(StubWith(ProductNameNode("Tessara", 8)), "Name");
  EXPECT_EQ(status.exitCode, kExitRefused);
  EXPECT_NE(status.message.find("fixed room"), std::string::npos);
  EXPECT_FALSE(sys::FileExists(dir_ / "setup.exe"));
}

TEST(EncodeProductName, ReadsUtf8AndFallsBackToLatin1) {
  std::vector<unsigned char> value;
  std::string error;
  ASSERT_TRUE(EncodeProductName("Caf\xC3\xA9", &value, &error));
  ASSERT_EQ(value.size(), 128u);
  EXPECT_EQ(value[6], 0xE9);
  EXPECT_EQ(value[7], 0x00);
  EXPECT_EQ(value[8], 0x00);
  // Not UTF-8: each byte is its Latin-1 character.
  ASSERT_TRUE(EncodeProductName("Caf\xE9", &value, &error));
  EXPECT_EQ(value[6], 0xE9);
  // A character beyond the BMP takes two of the 63 units.
  ASSERT_TRUE(EncodeProductName("\xF0\x9F\x98\x80", &value, &error));
  EXPECT_EQ(value[1], 0xD8);
  EXPECT_EQ(value[3], 0xDE);
  EXPECT_FALSE(EncodeProductName(std::string(62, 'a') + "\xF0\x9F\x98\x80", &value, &error));
}
