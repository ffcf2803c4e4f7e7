// The catalogue search against its stand-in, and how its answers are read.
#include "search/catalogue_search.h"

#include <gtest/gtest.h>

#include "fakes/movie_service_fakes.h"
#include "script/json_object.h"
#include "search/reply_marks.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;
using testing::HttpResponse;
using testing::MovieServiceFakes;

class CatalogueSearchTest : public ::testing::Test {
 protected:
  // A search answer listing entries 1..n, titles written as "\u" escapes (the service's way).
  void ServeEntries(const std::string& encodedTitle, int n) {
    std::string data;
    for (int i = 1; i <= n; ++i) {
      data += std::string(data.empty() ? "" : ",") + "{\"num\":\"" + std::to_string(100 + i) +
              "\",\"name\":\"\\u7535\\u5f71" + std::to_string(i) + "\"}";
      fakes_.catalogue.On("/api.php?m=lnk&id=" + std::to_string(100 + i) + "&url_type=2",
                          HttpResponse("HTTP/1.1 200 OK", {},
                                       "{\"lnk\":\"http://m.example/" + std::to_string(i) + "\"}"));
    }
    fakes_.catalogue.On("/api.php?m=so&name=" + encodedTitle,
                        HttpResponse("HTTP/1.1 200 OK", {}, "{\"data\":[" + data + "]}"));
  }
  Text Entry(int i) const {
    return FilmMark() + Gbk("电影" + std::to_string(i)) + "\r\n" + LinkMark() +
           "http://m.example/" + std::to_string(i);
  }
  MovieServiceFakes fakes_;
};

TEST_F(CatalogueSearchTest, EmptyDataAsksNoLinks) {
  ServeEntries("None", 0);
  EXPECT_EQ(SearchCatalogue("None", fakes_.Services()), "");
  EXPECT_EQ(fakes_.catalogue.Requests().size(), 1u);
}

TEST_F(CatalogueSearchTest, OneEntryExactly) {
  ServeEntries("Abc-1.x%20%E7%94%B5%E5%BD%B1", 1);
  EXPECT_EQ(SearchCatalogue(Gbk("Abc-1.x 电影"), fakes_.Services()), Entry(1));
}

TEST_F(CatalogueSearchTest, SevenEntriesListFiveLastFirstWithTheAccountLine) {
  ServeEntries("Seven", 7);
  EXPECT_EQ(
      SearchCatalogue("Seven", fakes_.Services()),
      Entry(5) + "\r\n" + Entry(4) + "\r\n" + Entry(3) + "\r\n" + Entry(2) + "\r\n" + Entry(1));
  const auto requests = fakes_.catalogue.Requests();
  ASSERT_EQ(requests.size(), 6u);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_TRUE(requests[i].starts_with("GET /api.php?m=lnk&id=" + std::to_string(100 + i) +
                                        "&url_type=2 HTTP/1.1\r\n"));
    EXPECT_NE(requests[i].find("\r\nCookie: name=ab12;\r\n"), std::string::npos);
  }
  EXPECT_EQ(requests[0].find("Cookie"), std::string::npos);
}

TEST_F(CatalogueSearchTest, FailedLinkRequestLeavesTheLinkEmpty) {
  ServeEntries("One", 1);
  fakes_.catalogue.On("/api.php?m=lnk&id=101&url_type=2",
                      HttpResponse("HTTP/1.1 500 x", {}, "oops"));
  EXPECT_EQ(SearchCatalogue("One", fakes_.Services()),
            FilmMark() + Gbk("电影1") + "\r\n" + LinkMark());
}

TEST(ReadCatalogueAnswer, JsonIsReadAsJson) {
  const struct {
    std::string body;
    const char* name;  // UTF-8
  } cases[] = {
      {"{\"data\":[{\"name\":\"\\u661f\\u9645\"}]}", "星际"},        // escapes
      {"{\"data\":[{\"name\":\"星际\"}]}", "星际"},                  // raw UTF-8
      {"{\"data\":[{\"name\":\"say \\\"hi\\\"\"}]}", "say \"hi\""},  // an escaped quote
      {" {\"data\":[{\"name\":\"x\"}]} ", "x"},
      {Gbk("{\"data\":[{\"name\":\"星际\"}]}"), "星际"},  // not UTF-8: the old way
  };
  for (const auto& c : cases) {
    JsonObject json;
    ASSERT_TRUE(ReadCatalogueAnswer(c.body, json)) << c.body;
    EXPECT_EQ(json.GetText("data[0].name"), Gbk(c.name)) << c.body;
  }
  JsonObject json;
  EXPECT_FALSE(ReadCatalogueAnswer("not json", json));
}

}  // namespace
}  // namespace qf
