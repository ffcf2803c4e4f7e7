#include "callback/message_dispatch.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "callback/message_envelope.h"
#include "support/gbk.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::Gbk;

constexpr std::time_t kNow = 1733036105;

class FakeActions : public MessageActions {
 public:
  std::map<Text, Text> site, catalogue;
  Text coupon;
  std::vector<Text> calls;

  Text SearchSite(const Text& title) override {
    calls.push_back("site:" + title);
    return site[title];
  }
  Text SearchCatalogue(const Text& title) override {
    calls.push_back("catalogue:" + title);
    return catalogue[title];
  }
  Text LookUpCoupon(const Text& text) override {
    calls.push_back("coupon:" + text);
    return coupon;
  }
};

class RecordingEvents : public EndpointEvents {
 public:
  void OnRawRequest(std::string_view) override {}
  void OnMessage(const Text& content) override { messages.push_back(content); }
  std::vector<Text> messages;
};

class DispatchTest : public ::testing::Test {
 protected:
  // A POST carrying a message of `type` with `content` (code page 936), as WeChat sends it.
  static Text Post(std::string_view type, std::string_view content, std::string_view event = "") {
    Text xml =
        "<xml><ToUserName><![CDATA[gh_1]]></ToUserName><FromUserName><![CDATA[oU1]]>"
        "</FromUserName><CreateTime>123</CreateTime><MsgType><![CDATA[" +
        Text(type) + "]]></MsgType>";
    if (!content.empty()) xml += "<Content><![CDATA[" + Text(content) + "]]></Content>";
    if (!event.empty()) xml += "<Event><![CDATA[" + Text(event) + "]]></Event>";
    xml += "</xml>";
    const Text body = ToUtf8(xml);
    return "POST /wx HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body;
  }

  HandledRequest Handle(std::string_view request) {
    return HandleRequest(request, "1.2.3.4:5", settings, actions, &events, kNow);
  }

  // The reply's content as code page 936, or "<none>" for the head alone.
  Text ContentOf(const HandledRequest& handled) {
    const Text head = BuildEmptyResponse(kNow);
    EXPECT_EQ(handled.response.substr(0, head.size()), head);
    const Text body = FromUtf8(handled.response.substr(head.size()));
    if (body.empty()) return "<none>";
    return TextBetween(body, "<Content><![CDATA[", "]]></Content>");
  }

  static Text TextBetween(std::string_view s, std::string_view a, std::string_view b) {
    const size_t start = s.find(a);
    if (start == std::string_view::npos) return "<no content>";
    const size_t end = s.find(b, start + a.size());
    return Text(s.substr(start + a.size(), end - start - a.size()));
  }

  EndpointSettings settings{"token", Gbk("欢迎关注"), "&#25628", "http://h/upload/logo.png"};
  FakeActions actions;
  RecordingEvents events;
};

TEST_F(DispatchTest, SubscribeGetsTheWelcomeText) {
  EXPECT_EQ(ContentOf(Handle(Post("event", "", "subscribe"))), Gbk("欢迎关注"));
  settings.welcomeText.clear();
  EXPECT_EQ(ContentOf(Handle(Post("event", "", "subscribe"))), "<none>");
  EXPECT_EQ(ContentOf(Handle(Post("event", "", "unsubscribe"))), "<none>");
  EXPECT_EQ(events.messages.back(), "unsubscribe");
}

TEST_F(DispatchTest, TestWordGetsTheNewsCard) {
  const HandledRequest handled = Handle(Post("text", Gbk("测试")));
  EXPECT_EQ(handled.sent, "news");
  EXPECT_NE(handled.response.find(ToUtf8(Gbk("不要调皮哦！"))), Text::npos);
  EXPECT_NE(handled.response.find("http://h/upload/logo.png"), Text::npos);
}

TEST_F(DispatchTest, ShareCodeGoesToTheCouponLookup) {
  const Text message = Gbk("复制￥AbCdEfGhIjK￥打开");
  actions.coupon = Gbk("券后价 9.9");
  EXPECT_EQ(ContentOf(Handle(Post("text", message))), Gbk("券后价 9.9"));
  EXPECT_EQ(actions.calls, std::vector<Text>{"coupon:" + message});
  actions.coupon.clear();  // nothing found: no empty text reply
  EXPECT_EQ(ContentOf(Handle(Post("text", message))), "<none>");
}

TEST_F(DispatchTest, SearchWordCases) {
  const Text opening = Gbk("关于您要观看的【");
  const Text middle = Gbk("】为您找到了以下记录，请点击查看：\r\n");
  actions.site[Gbk("变形金刚")] = "LIST";
  EXPECT_EQ(ContentOf(Handle(Post("text", Gbk("搜变形金刚")))),
            opening + Gbk("变形金刚") + middle + "LIST");
  EXPECT_EQ(events.messages.back(), Gbk("&#25628变形金刚"));

  // Every occurrence is removed; nothing found still gets the reply.
  EXPECT_EQ(ContentOf(Handle(Post("text", Gbk("搜搜狐")))), opening + Gbk("狐") + middle);
  EXPECT_EQ(actions.calls.back(), "catalogue:" + Gbk("狐"));

  // Not at the start: the word is still removed.
  EXPECT_EQ(ContentOf(Handle(Post("text", Gbk("狐搜")))), opening + Gbk("狐") + middle);

  // Nothing but the search word: nothing to search for.
  actions.calls.clear();
  EXPECT_EQ(ContentOf(Handle(Post("text", Gbk("搜")))), "<none>");
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(DispatchTest, PlainTextIsAnsweredOnlyWhenFound) {
  actions.catalogue["Matrix"] = "FROM CATALOGUE";
  EXPECT_EQ(ContentOf(Handle(Post("text", "Matrix"))),
            Gbk("关于您要观看的【Matrix】为您找到了以下记录，请点击查看：\r\n") + "FROM CATALOGUE");
  EXPECT_EQ(ContentOf(Handle(Post("text", "Nothing"))), "<none>");
  // With an empty search word every text is a search request, answered even when nothing is found.
  settings.searchWord.clear();
  EXPECT_EQ(ContentOf(Handle(Post("text", "Nothing"))),
            Gbk("关于您要观看的【Nothing】为您找到了以下记录，请点击查看：\r\n"));
}

TEST_F(DispatchTest, RequestsWithoutAMessageGetTheHeadAlone) {
  const Text cases[] = {
      "",
      "GET / HTTP/1.1\r\nHost: h\r\n\r\n",
      "POST / HTTP/1.1\r\n\r\nnot xml",
      Post("image", ""),
      Post("text", ""),
  };
  for (const Text& request : cases) {
    EXPECT_EQ(ContentOf(Handle(request)), "<none>") << request;
  }
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(DispatchTest, EchostrCountsOnlyInTheRequestLine) {
  actions.site["echostr"] = "LIST";
  settings.searchWord.clear();
  const HandledRequest message = Handle(Post("text", "echostr"));
  EXPECT_EQ(message.kind, "text");
  const HandledRequest verification =
      Handle("GET /?signature=x&echostr=E&timestamp=1&nonce=2 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(verification.kind, "verification");
  EXPECT_EQ(verification.response, BuildEmptyResponse(kNow));  // mismatch: no echo
}

}  // namespace
}  // namespace qf
