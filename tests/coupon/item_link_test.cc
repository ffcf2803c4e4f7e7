// The click chain's walk to the item page against a stand-in chain.
#include "coupon/item_link.h"

#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"

namespace qf {
namespace {

using testing::CouponServiceFakes;
using testing::HttpResponse;

class ItemLinkTest : public ::testing::Test {
 protected:
  std::string Host() const { return "http://127.0.0.1:" + std::to_string(fakes_.click.port()); }
  void Redirect(const std::string& from, const std::string& to) {
    fakes_.click.On(from, HttpResponse("HTTP/1.1 302 Found", {"Location: " + to}, ""));
  }
  CouponServiceFakes fakes_;
};

TEST_F(ItemLinkTest, ItemPageIsReturnedWithoutAnyRequest) {
  const CouponServices services = fakes_.Services();
  for (const std::string& link : {"https://" + services.clickHost + "/item.htm?id=42&x=1",
                                  std::string("detail.example/item.htm?spm=1&skuid=9")}) {
    EXPECT_EQ(ResolveItemLink(link, services), link);
  }
  EXPECT_TRUE(fakes_.click.Requests().empty());
}

TEST_F(ItemLinkTest, HopsJumpsAndTheRefererStep) {
  const std::string host = Host();
  const std::string item = host + "/item.htm?id=123&ali_trackid=2";
  Redirect("/s.click?e=1", host + "/t?e=2");
  Redirect("/t?e=2", host + "/t?e=3");
  fakes_.click.On("/t?e=3", HttpResponse("HTTP/1.1 200 OK", {},
                                         "<script>var real_jump_address = 'http%3A%2F%2Fx.example"
                                         "%2F&amp;ref=" +
                                             host + "/t?e=5';</script>"));
  Redirect("/t?e=5", host + "/item.htm?id=123&hop=1");
  Redirect("/item.htm?id=123&hop=1", item);
  EXPECT_EQ(ResolveItemLink(host + "/s.click?e=1", fakes_.Services()), item);
  const auto requests = fakes_.click.Requests();
  ASSERT_EQ(requests.size(), 5u);
  // The jump address is fetched with the address before it as referer.
  EXPECT_TRUE(requests[3].starts_with("GET /t?e=5 HTTP/1.1\r\n"));
  EXPECT_NE(requests[3].find("\r\nReferer: " + host + "/t?e=3\r\n"), std::string::npos);
}

TEST_F(ItemLinkTest, ChainWithoutItemPageGivesUpAfterTenPasses) {
  fakes_.click.On("/loop", HttpResponse("HTTP/1.1 200 OK", {}, "no jump here"));
  EXPECT_EQ(ResolveItemLink(Host() + "/loop", fakes_.Services()), BadLinkText());
  EXPECT_EQ(fakes_.click.Requests().size(), 10u);
}

}  // namespace
}  // namespace qf
