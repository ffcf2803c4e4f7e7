#include "text/text_search.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

// 人民 is C8 CB C3 F1; 嗣 is CB C3, which stands between them but never starts a character.
constexpr std::string_view kPeople = "\xC8\xCB\xC3\xF1";
constexpr std::string_view kHeir = "\xCB\xC3";

struct FindCase {
  const char* name;
  std::string_view text;
  std::string_view needle;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindTextTest, Table) {
  const FindCase cases[] = {
      {"plain", "abcabc", "bc", 1, false, 2},
      {"from start", "abcabc", "bc", 3, false, 5},
      {"start 0 is beginning", "abcabc", "a", 0, false, 1},
      {"start beyond end", "abc", "a", 9, false, -1},
      {"case differs", "ABC", "b", 1, false, -1},
      {"case ignored", "ABC", "b", 1, true, 2},
      {"empty needle", "abc", "", 1, false, 1},
      {"empty needle, empty text", "", "", 1, false, -1},
      {"mid-character bytes", kPeople, kHeir, 1, false, -1},
      {"whole character", kPeople, "\xC3\xF1", 1, false, 3},
      {"trail byte looks ASCII", "\x81\x40@", "@", 1, false, 3},
      {"needle past end", "ab", "abc", 1, false, -1},
      {"ascii after double-byte run", "\xC8\xCB\xC3\xF1xyz", "yz", 1, false, 6},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.needle, c.start, c.ignoreCase), c.expected) << c.name;
  }
}

TEST(FindTextTest, LongAsciiRunsBeforeDoubleByteMatch) {
  // Exercises the eight-bytes-at-a-time skip over ASCII and its edge before a lead byte.
  std::string text(37, 'a');
  text += "\xC8\xCB";
  text += std::string(19, 'b');
  text += "\xC8\xCB";
  EXPECT_EQ(FindText(text, "\xC8\xCB"), 38);
  EXPECT_EQ(FindText(text, "\xC8\xCB", 39), 59);
  EXPECT_EQ(FindText(text,
                     "\xCB"
                     "b"),
            -1);  // straddles a character
}

TEST(FindTextBackwardTest, LastOccurrenceWithinLimit) {
  EXPECT_EQ(FindTextBackward("a/b/c", "/"), 4);
  EXPECT_EQ(FindTextBackward("a/b/c", "/", 4), 2);  // must lie within the first 3 bytes
  EXPECT_EQ(FindTextBackward("a/b/c", "/", 2), -1);
  EXPECT_EQ(FindTextBackward("A/B", "b", 0, true), 3);
  EXPECT_EQ(FindTextBackward(kPeople, kHeir), -1);
}

TEST(ReplaceTextTest, CountsStartAndStepping) {
  EXPECT_EQ(ReplaceText("aXaXa", "X", "--"), "a--a--a");
  EXPECT_EQ(ReplaceText("aXaXa", "X", "", 1, 1), "aaXa");
  EXPECT_EQ(ReplaceText("XaXaX", "X", "", 2), "Xaa");  // the byte before the start is kept
  EXPECT_EQ(ReplaceText("xAx", "a", "b", 1, -1, true), "xbx");
  EXPECT_EQ(ReplaceText("xAx", "a", "b"), "xAx");
  EXPECT_EQ(ReplaceText("abc", "", "z"), "abc");
  EXPECT_EQ(ReplaceText(kPeople, kHeir, "!"), kPeople);
}

TEST(CutTest, ClampedByteCuts) {
  EXPECT_EQ(LeftBytes("abc", 2), "ab");
  EXPECT_EQ(LeftBytes("abc", 9), "abc");
  EXPECT_EQ(LeftBytes("abc", 0), "");
  EXPECT_EQ(RightBytes("abc", 2), "bc");
  EXPECT_EQ(RightBytes("abc", -1), "");
  EXPECT_EQ(MiddleBytes("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MiddleBytes("abc", 4, 1), "");
  EXPECT_EQ(MiddleBytes("abc", 0, 1), "");
}

}  // namespace
}  // namespace qf
