#include "text/script_unescape.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(ScriptUnescapeTest, PercentUEscapesGivePrivateUseMarks) {
  EXPECT_EQ(ScriptUnescape("%ue231"), "\xAF\xFC");                // U+E231
  EXPECT_EQ(ScriptUnescape("%ue03D"), FromUtf8("\xEE\x80\xBD"));  // U+E03D, two bytes
  EXPECT_EQ(ScriptUnescape("%41%u4eba"), "A" + Gbk("人"));
  EXPECT_EQ(ScriptUnescape("100% sure %zz"), "100% sure %zz");
}

TEST(ScriptUnescapeTest, JsonEscapesResolveThroughTheLiteral) {
  const Text json = R"({"title":"\u4eba\u6c11","url":"http:\/\/h\/x","q":"say \"hi\""})";
  EXPECT_EQ(ScriptUnescape(json), Gbk(R"({"title":"人民","url":"http://h/x","q":"say "hi""})"));
}

TEST(ScriptUnescapeTest, LiteralEscapeRules) {
  struct Case {
    const char* name;
    std::string_view in;
    std::string_view out;
  } cases[] = {
      {"control letters", R"(\b\t\n\v\f\r)", "\b\t\n\v\f\r"},
      {"hex", R"(\x41\x4)", "Ax4"},
      {"octal", R"(\101\7\400)",
       "A\a\x20"
       "0"},
      {"backslash quote", R"(\\ \' \")", R"(\ ' ")"},
      {"other letters stand for themselves", R"(\q\/)", "q/"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScriptUnescape(c.in), c.out) << c.name;
}

TEST(ScriptUnescapeTest, LineBreaksAndQuotesSurvive) {
  EXPECT_EQ(ScriptUnescape("a\r\nb"), "a\r\nb");
  EXPECT_EQ(ScriptUnescape("it's"), "it's");
  // A right single quotation mark the text already held comes back as a plain quote.
  EXPECT_EQ(ScriptUnescape(Gbk("it’s")), "it's");
  // A leading lone carriage return is dropped rather than breaking the literal.
  EXPECT_EQ(ScriptUnescape("\rab"), "ab");
}

TEST(ScriptUnescapeTest, InvalidLiteralFallsBackToUtf16Reading) {
  // A bare line feed makes the literal invalid: the bytes are read as UTF-16 instead.
  EXPECT_EQ(ScriptUnescape("A\n"), BytesAsUtf16Text("A\n"));
  EXPECT_EQ(ScriptUnescape("A\n"), "?");  // U+0A41 has no code page 936 form
  EXPECT_EQ(ScriptUnescape("abc\\"), BytesAsUtf16Text("abc\\"));
}

TEST(BytesAsUtf16TextTest, LittleEndianWithOptionalMark) {
  EXPECT_EQ(BytesAsUtf16Text(std::string("\xBA\x4E\x11\x6C", 4)), Gbk("人民"));
  EXPECT_EQ(BytesAsUtf16Text(std::string("\xFF\xFE"
                                         "A\0",
                                         4)),
            "A");
  EXPECT_EQ(BytesAsUtf16Text(std::string("A\0B", 3)), "A");  // odd last byte dropped
  EXPECT_EQ(BytesAsUtf16Text(""), "");
}

}  // namespace
}  // namespace qf
