// A follower's movie title through the running program: the stand-ins are asked, and the list
// comes back in the same exchange, its marks intact.
#include <gtest/gtest.h>

#include "fakes/movie_service_fakes.h"
#include "search/reply_marks.h"
#include "support/gbk.h"
#include "support/quillfern_process.h"
#include "support/raw_client.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::BodyOf;
using testing::Gbk;
using testing::HttpResponse;
using testing::MovieServiceFakes;
using testing::Post;

class MovieSearchProcess : public testing::QuillfernProcessTest {
 protected:
  int StartWith(std::string_view searchWord, const MovieServices& services) {
    WriteSettings("token", Gbk("欢迎"), Gbk(searchWord),
                  "[services]\r\nvideo_search=" + services.videoSearch + "\r\nvideo_short=" +
                      services.videoShort + "\r\nshortener=" + services.shortener +
                      "\r\ncatalogue=" + services.catalogue +
                      "\r\n[credentials]\r\nvideo_uid=417\r\ncatalogue_account=ab12\r\n");
    return Start();
  }

  // The text reply's content, as sent (UTF-8); "<none>" without one.
  static std::string ContentOf(const std::string& response) {
    const std::string body = BodyOf(response);
    const size_t start = body.find("<Content><![CDATA[");
    const size_t end = body.find("]]></Content>");
    if (start == std::string::npos || end == std::string::npos) return "<none>";
    return body.substr(start + 18, end - start - 18);
  }

  static std::string Expected(std::string_view keywordUtf8, const Text& list) {
    return ToUtf8(Gbk("关于您要观看的【") + Gbk(keywordUtf8) +
                  Gbk("】为您找到了以下记录，请点击查看：\r\n") + list);
  }

  MovieServiceFakes fakes_;
};

TEST_F(MovieSearchProcess, SiteMatchIsListedWithItsMarks) {
  fakes_.ServeSitePage("%E6%98%9F%E9%99%85", {{"x9", "星际"}});
  const int port = StartWith("", fakes_.Services());
  ASSERT_GT(port, 0);
  const std::string response = Ask(port, Post("text", Gbk("星际")));
  const Text list = FilmMark() + Gbk("星际") + "\r\n" + LinkMark() + "http://s.example/1\r\n";
  EXPECT_EQ(ContentOf(response), Expected("星际", list));
  EXPECT_NE(response.find("\xEE\x88\xB1"), std::string::npos);  // U+E231 as UTF-8
  EXPECT_TRUE(fakes_.catalogue.Requests().empty());
}

TEST_F(MovieSearchProcess, CatalogueAnswersWhenTheSiteFindsNothing) {
  fakes_.ServeSitePage("%41%42", {});
  fakes_.catalogue.On("/api.php?m=so&name=AB",
                      HttpResponse("HTTP/1.1 200 OK", {}, R"({"data":[{"num":"7","name":"AB"}]})"));
  fakes_.catalogue.On("/api.php?m=lnk&id=7&url_type=2",
                      HttpResponse("HTTP/1.1 200 OK", {}, R"({"lnk":"http://m.example/7"})"));
  const int port = StartWith("", fakes_.Services());
  ASSERT_GT(port, 0);
  const Text list = FilmMark() + "AB\r\n" + LinkMark() + "http://m.example/7";
  EXPECT_EQ(ContentOf(Ask(port, Post("text", "AB"))), Expected("AB", list));
}

TEST_F(MovieSearchProcess, NothingReachableGivesTheEmptyAnswer) {
  MovieServices nowhere = fakes_.Services();
  nowhere.videoSearch = "http://127.0.0.1:1";
  nowhere.catalogue = "http://127.0.0.1:1";
  // A title without the search word is answered only when something is found.
  const int port = StartWith("搜", nowhere);
  ASSERT_GT(port, 0);
  EXPECT_EQ(BodyOf(Ask(port, Post("text", Gbk("星际")))), "");
}

TEST_F(MovieSearchProcess, SearchWordIsTakenOut) {
  fakes_.ServeSitePage("%E6%98%9F%E9%99%85", {});
  const int port = StartWith("搜", fakes_.Services());
  ASSERT_GT(port, 0);
  // Found nothing, yet answered: the follower asked with the search word.
  EXPECT_EQ(ContentOf(Ask(port, Post("text", Gbk("搜星际")))), Expected("星际", ""));
  const size_t siteRequests = fakes_.site.Requests().size();
  EXPECT_EQ(siteRequests, 1u);
  // The search word alone leaves nothing to search.
  EXPECT_EQ(BodyOf(Ask(port, Post("text", Gbk("搜")))), "");
  EXPECT_EQ(fakes_.site.Requests().size(), siteRequests);
}

}  // namespace
}  // namespace qf
