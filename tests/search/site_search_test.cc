// The site search and the link shortener against their stand-ins.
#include "search/site_search.h"

#include <gtest/gtest.h>

#include "fakes/movie_service_fakes.h"
#include "search/link_shortener.h"
#include "search/reply_marks.h"
#include "support/gbk.h"
#include "support/percent.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::Gbk;
using testing::MovieServiceFakes;
using testing::PercentEveryByte;
using testing::SiteMovie;

std::vector<SiteMovie> Movies(int n) {
  std::vector<SiteMovie> movies;
  for (int i = 1; i <= n; ++i)
    movies.push_back({"id" + std::to_string(i), "电影" + std::to_string(i)});
  return movies;
}

// The timestamp at the end of a long link.
std::string StampOf(const std::string& link) { return link.substr(link.rfind('?') + 1); }

class SiteSearchTest : public ::testing::Test {
 protected:
  MovieServiceFakes fakes_;
};

TEST_F(SiteSearchTest, NothingListedGivesEmptyAndShortensNothing) {
  fakes_.ServeSitePage(PercentEveryByte("无名"), {});
  EXPECT_EQ(SearchSite(Gbk("无名"), fakes_.Services()), "");
  EXPECT_TRUE(fakes_.shortener.Requests().empty());
  ASSERT_EQ(fakes_.site.Requests().size(), 1u);
  EXPECT_TRUE(fakes_.site.Requests()[0].starts_with("GET /so.php?s=vod-search-wd-" +
                                                    PercentEveryByte("无名") + " HTTP/1.1\r\n"));
}

TEST_F(SiteSearchTest, UpToFiveListedLastFirstWithTheirShortLinks) {
  fakes_.ServeSitePage(PercentEveryByte("AB"),
                       {{"a1", "<B>甲</B>"}, {"b2", "<span class=x>乙</span>"}, {"c3", "丙"}});
  const Text list = SearchSite("AB", fakes_.Services());
  const Text expected = FilmMark() + Gbk("丙") + "\r\n" + LinkMark() + "http://s.example/3\r\n" +
                        FilmMark() + Gbk("<span class=x>乙") + "\r\n" + LinkMark() +
                        "http://s.example/2\r\n" + FilmMark() + Gbk("甲") + "\r\n" + LinkMark() +
                        "http://s.example/1\r\n";
  EXPECT_EQ(list, expected);
  const std::vector<std::string> links = fakes_.ShortenedLinks();
  ASSERT_EQ(links.size(), 3u);
  const std::string stamp = StampOf(links[0]);
  EXPECT_EQ(stamp.size(), 10u);
  EXPECT_EQ(links[0], "http://short.example/:a1-uid-417?" + stamp);
  EXPECT_EQ(links[2], "http://short.example/:c3-uid-417?" + stamp);  // one stamp per search
  // An ASCII title is still encoded byte by byte.
  EXPECT_TRUE(fakes_.site.Requests()[0].starts_with("GET /so.php?s=vod-search-wd-%41%42 "));
}

TEST_F(SiteSearchTest, ExactlyFiveHasNoMoreLine) {
  fakes_.ServeSitePage(PercentEveryByte("五"), Movies(5));
  const Text list = SearchSite(Gbk("五"), fakes_.Services());
  EXPECT_TRUE(list.starts_with(FilmMark() + Gbk("电影5") + "\r\n" + LinkMark()));
  EXPECT_TRUE(
      list.ends_with(FilmMark() + Gbk("电影1") + "\r\n" + LinkMark() + "http://s.example/1\r\n"));
  EXPECT_EQ(list.find(MoreMark()), Text::npos);
  EXPECT_EQ(fakes_.shortener.Requests().size(), 5u);
}

TEST_F(SiteSearchTest, SixOrMoreListFiveAndTheMoreLine) {
  fakes_.ServeSitePage(PercentEveryByte("六"), Movies(7));
  const Text list = SearchSite(Gbk("六"), fakes_.Services());
  Text expected;
  for (int i = 5; i >= 1; --i) {
    expected += LinkMark() + Gbk("电影" + std::to_string(i)) + "\r\nhttp://s.example/" +
                std::to_string(i) + "\r\n";
  }
  expected += MoreMark() + Gbk("当前结果还有2条数据") + ClosingMark() + "\r\n" + LinkMark() +
              "http://s.example/6";
  EXPECT_EQ(list, expected);
  const std::vector<std::string> links = fakes_.ShortenedLinks();
  ASSERT_EQ(links.size(), 6u);
  EXPECT_EQ(links[5].substr(0, links[5].rfind('?')),
            "http://short.example/:" + PercentEveryByte("六") + "-uid-417");
  EXPECT_GE(StampOf(links[5]), StampOf(links[0]));  // taken after the item links
}

TEST_F(SiteSearchTest, UnreachableShortenerLeavesEmptyLinks) {
  fakes_.ServeSitePage(PercentEveryByte("甲"), Movies(1));
  MovieServices services = fakes_.Services();
  services.shortener = "http://127.0.0.1:1";
  EXPECT_EQ(SearchSite(Gbk("甲"), services),
            FilmMark() + Gbk("电影1") + "\r\n" + LinkMark() + "\r\n");
}

TEST(ShortenLink, EveryByteIsEncoded) {
  MovieServiceFakes fakes;
  EXPECT_EQ(ShortenLink("", fakes.shortener.Url("")), "http://s.example/1");
  EXPECT_EQ(ShortenLink("http://a.example/x?y=1&z", fakes.shortener.Url("")), "http://s.example/2");
  const auto requests = fakes.shortener.Requests();
  EXPECT_TRUE(requests[0].starts_with("GET /gettiny?url= HTTP/1.1\r\n"));
  EXPECT_TRUE(requests[1].starts_with(
      "GET /gettiny?url=" + PercentEveryByte("http://a.example/x?y=1&z") + " HTTP/1.1\r\n"));
}

}  // namespace
}  // namespace qf
