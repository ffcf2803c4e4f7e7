// The program's own patterns, run through RegexObject with the defaults their callers use.
#include <gtest/gtest.h>

#include "coupon/item_page_pattern.h"
#include "coupon/share_code_pattern.h"
#include "net/meta_charset_pattern.h"
#include "script/regex_object.h"
#include "search/site_search_pattern.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

Text FirstMatch(std::string_view pattern, std::string_view subject) {
  RegexObject re;
  if (!re.Match(pattern, subject)) return "<failed>";
  return re.MatchText(1);
}

TEST(SiteAnchorPatternTest, PicksMovieIdentifiersAndTitles) {
  const Text page =
      Gbk("<li><a href=\"http://v.site/paly/101/1-1.html\" target=\"_blank\"><B>流浪</B>地球</a>\n"
          "<li><A HREF=\"http://v.site/x/paly/7/1-1.html\" TARGET=\"_blank\">Two</A>\n"
          "<li><a href=\"https://v.site/paly/8/1-1.html\" target=\"_blank\">not http</a>\n"
          "<li><a href=\"http://v.site/play/9/1-1.html\" target=\"_blank\">wrong path</a>\n");
  RegexObject re;
  ASSERT_TRUE(re.Match(kSiteAnchorPattern, page));
  ASSERT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.GroupText(1, 1), "101");
  EXPECT_EQ(re.GroupText(1, 2), Gbk("<B>流浪</B>地球"));
  EXPECT_EQ(re.GroupText(2, 1), "7");
  EXPECT_EQ(re.GroupText(2, 2), "Two");
}

TEST(ShareCodePatternTest, Examples) {
  struct Case {
    const char* name;
    Text text;
    Text match;  // "" when the text holds no code
  } cases[] = {
      {"yen markers", Gbk("复制￥AbCdEfGhIjK￥打开"), Gbk("￥AbCdEfGhIjK￥")},
      {"bare code", "AbCdEfGhIjK", ""},
      {"framed by ideographs", Gbk("复制AbCdEfGhIjK打开"), ""},
      {"twelve framed by ideographs", Gbk("复制AbCdEfGhIjKL打开"), ""},
      {"thirteen framed by ideographs", Gbk("复制AbCdEfGhIjKLM打开"), "AbCdEfGhIjKLM"},
      {"parentheses", "(AbCdEfGhIjK)", "(AbCdEfGhIjK)"},
      {"dollars", "$AbCdEfGhIjK$", "$AbCdEfGhIjK$"},
      {"euro signs",
       "\x80"
       "AbCdEfGhIjK\x80",
       "\x80"
       "AbCdEfGhIjK\x80"},
      {"spaces", " AbCdEfGhIjK ", " AbCdEfGhIjK "},
      {"two codes: the first", "(AAAAAAAAAAA) (BBBBBBBBBBB)", "(AAAAAAAAAAA)"},
      {"long word", "xx https://example.com/abcdefghijklm", "/abcdefghijkl"},
      {"guillemet marker", Gbk("《AbCdEfGhIjK《"), Gbk("《AbCdEfGhIjK《")},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstMatch(kShareCodePattern, c.text), c.match) << c.name;
}

TEST(ItemPagePatternTest, Examples) {
  const std::string pattern = ItemPagePattern(
      {"item.shop.test", "h5.m.shop.test", "detail.mall.test", "detail.m.mall.test"});
  struct Case {
    const char* link;
    bool matches;
  } cases[] = {
      {"https://item.shop.test/item.htm?id=123", true},
      {"http://detail.mall.test/item.htm?spm=a1&id=5", true},
      {"detail.m.mall.test/item.htm?id=5", true},
      {"https://h5.m.shop.test/item.htm?skuid=5", true},   // any "id=" qualifies
      {"https://ITEM.SHOP.TEST/item.htm?id=1", true},      // case ignored
      {"https://itemXshopXtest/item.htm?id=1", true},      // dots match anything
      {"xx\nhttps://item.shop.test/item.htm?id=1", true},  // caret at a line start
      {"https://item.shop.test/item.htm", false},
      {"https://s.click.shop.test/t?e=abc&id=1", false},
      {"https://other.test/item.htm?id=1", false},
  };
  for (const Case& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Match(pattern, c.link)) << c.link;
    EXPECT_EQ(re.MatchCount() > 0, c.matches) << c.link;
  }
}

TEST(MetaCharsetPatternTest, Examples) {
  struct Case {
    const char* page;
    const char* charset;
  } cases[] = {
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", "utf-8"},
      {"<head><meta charset=\"gbk\"></head>", "gbk"},
      {"<META CHARSET=GB2312>", "GB2312"},
      {"<meta name=x>\n<p>charset=big5</p>", ""},  // the dot stops at the line feed
      {"<html>no meta</html>", ""},
  };
  for (const Case& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Match(kMetaCharsetPattern, c.page));
    EXPECT_EQ(re.GroupText(1, 1), c.charset) << c.page;
  }
}

}  // namespace
}  // namespace qf
