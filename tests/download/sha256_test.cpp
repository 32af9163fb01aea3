#include <gtest/gtest.h>

#include "download/sha256.h"
#include <cctype>
#include <string>

TEST(Sha256, StandardVectors) {
  EXPECT_EQ(Sha256Hex("", 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc", 3),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  EXPECT_EQ(Sha256Hex(two.data(), two.size()),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  std::string four =
      "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
      "klmnopqrlmnopqrsmnopqrstnopqrstu";
  EXPECT_EQ(Sha256Hex(four.data(), four.size()),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  // One million 'a', fed in uneven pieces to cross block boundaries.
  Sha256 hash;
  std::string piece(997, 'a');
  size_t left = 1000000;
  while (left > 0) {
    size_t n = left < piece.size() ? left : piece.size();
    hash.Update(piece.data(), n);
    left -= n;
  }
  EXPECT_EQ(hash.FinalHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, TextForm) {
  std::string hex = Sha256Hex("abc", 3);
  std::string upper = hex;
  for (char &c : upper) {
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  }
  EXPECT_TRUE(IsSha256Text(upper));
  EXPECT_TRUE(SameSha256(hex, upper));
  EXPECT_FALSE(IsSha256Text(hex.substr(1)));
  EXPECT_FALSE(IsSha256Text(hex.substr(1) + "g"));
  EXPECT_FALSE(SameSha256(hex, Sha256Hex("abd", 3)));
}
