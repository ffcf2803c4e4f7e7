#include "callback/access_verification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace qf {
namespace {

Text Request(std::string_view signature) {
  return "GET /wx?signature=" + Text(signature) +
         "&echostr=5837397749&timestamp=1700000000&nonce=1234 HTTP/1.1\r\nHost: h\r\n\r\n";
}

TEST(AccessVerificationTest, Sha1OfUtf8) {
  EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(AccessVerificationTest, GoodSignatureEchoes) {
  // Sorted: nonce "1234" < timestamp "1700000000" < token "token".
  const Text signature = Sha1Hex("12341700000000token");
  EXPECT_EQ(VerifyAccess(Request(signature), "token"), "5837397749");
}

TEST(AccessVerificationTest, MismatchesGiveNothing) {
  const Text signature = Sha1Hex("12341700000000token");
  Text upper = signature;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  EXPECT_EQ(VerifyAccess(Request(upper), "token"), "");
  EXPECT_EQ(VerifyAccess(Request(signature), "other"), "");
  EXPECT_EQ(VerifyAccess("POST / HTTP/1.1\r\n\r\n<xml>echostr</xml>", "token"), "");
}

TEST(AccessVerificationTest, SortIsAscendingForAnyInput) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<Text> texts;
    const int n = static_cast<int>(random() % 7);
    for (int i = 0; i < n; ++i) texts.push_back(std::string(1 + random() % 3, 'a' + random() % 3));
    std::vector<Text> expected = texts;
    std::sort(expected.begin(), expected.end());
    SortTextsAscending(texts);
    ASSERT_EQ(texts, expected) << "round " << round;
  }
}

}  // namespace
}  // namespace qf
