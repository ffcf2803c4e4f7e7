#include <gtest/gtest.h>

#include "callback/message_envelope.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

Text TextMessage(std::string_view content) {
  return "<xml><ToUserName><![CDATA[gh_1]]></ToUserName><FromUserName><![CDATA[oU1]]>"
         "</FromUserName><CreateTime>123</CreateTime><MsgType><![CDATA[text]]></MsgType>"
         "<Content><![CDATA[" +
         Text(content) + "]]></Content></xml>";
}

TEST(EnvelopeTest, ParsesFieldsWithAnyTagCase) {
  const InboundMessage m = ParseInboundMessage(
      "<xml><tousername><![CDATA[gh_1]]></tousername><FROMUSERNAME><![CDATA[oU1]]>"
      "</FROMUSERNAME><CreateTime>123</CreateTime><MsgType><![CDATA[text]]></MsgType>"
      "<content><![CDATA[hi]]></content></xml>",
      "1.2.3.4:5", "");
  EXPECT_EQ(m.toUserName, "gh_1");
  EXPECT_EQ(m.fromUserName, "oU1");
  EXPECT_EQ(m.createTime, "123");
  EXPECT_EQ(m.msgType, "text");
  EXPECT_EQ(m.content, "hi");
  EXPECT_EQ(m.clientAddress, "1.2.3.4:5");
}

TEST(EnvelopeTest, EventNameStandsInForEmptyContent) {
  const InboundMessage m = ParseInboundMessage(
      "<xml><MsgType><![CDATA[event]]></MsgType><Event><![CDATA[subscribe]]></Event></xml>", "",
      "");
  EXPECT_EQ(m.msgType, "event");
  EXPECT_EQ(m.content, "subscribe");
  EXPECT_EQ(ParseInboundMessage("<xml><MsgType><![CDATA[text]]></MsgType></xml>", "", "").content,
            "");
  EXPECT_EQ(ParseInboundMessage("<XML>" + TextMessage("x"), "", "").msgType, "");
}

TEST(EnvelopeTest, SearchWordIsRewrittenInStoredForm) {
  EXPECT_EQ(ParseInboundMessage(TextMessage(Gbk("搜电影")), "", Gbk("搜")).content,
            Gbk("&#25628电影"));
  EXPECT_EQ(ParseInboundMessage(TextMessage(Gbk("电影搜搜")), "", Gbk("搜")).content,
            Gbk("电影&#25628&#25628"));
  EXPECT_EQ(ParseInboundMessage(TextMessage(Gbk("电影")), "", "").content, Gbk("电影"));
}

TEST(EnvelopeTest, TextReplyIsExact) {
  EXPECT_EQ(BuildTextReply("oU1", "gh_1", "123", "hi"),
            "<xml><ToUserName><![CDATA[oU1]]></ToUserName><FromUserName><![CDATA[gh_1]]>"
            "</FromUserName><CreateTime>123</CreateTime><MsgType><![CDATA[text]]></MsgType>"
            "<Content><![CDATA[hi]]></Content><FuncFlag>0</FuncFlag></xml>");
}

TEST(EnvelopeTest, NewsReplyIsExact) {
  EXPECT_EQ(BuildNewsReply("oU1", "gh_1", "123", "d", "http://h/upload/logo.png"),
            Gbk("<xml><ToUserName><![CDATA[oU1]]></ToUserName><FromUserName><![CDATA[gh_1]]>"
                "</FromUserName><CreateTime>123</CreateTime><MsgType><![CDATA[news]]></MsgType>"
                "<ArticleCount>1</ArticleCount><Articles><item><Title><![CDATA[帐号信息]]>"
                "</Title> <Description><![CDATA[d]]></Description><PicUrl><![CDATA["
                "http://h/upload/logo.png]]></PicUrl></item></Articles></xml>"));
}

TEST(EnvelopeTest, CdataTerminatorInAValueStaysInside) {
  const Text reply = BuildTextReply("oU1", "gh_1", "1", "a]]><MsgType>x");
  EXPECT_NE(reply.find("<Content><![CDATA[a]]]]><![CDATA[><MsgType>x]]></Content>"), Text::npos);
  EXPECT_EQ(reply.find("]]><MsgType>x"), Text::npos);
}

TEST(EnvelopeTest, HttpDateAndResponse) {
  // Sunday 1 December 2024, 06:55:05 UTC; Thursday 5 June 2025, 07:08:09 UTC.
  EXPECT_EQ(FormatHttpDate(1733036105), "Sun, 1-Dec-2024 06:55:05 GMT");
  EXPECT_EQ(FormatHttpDate(1749107289), "Thu, 5-Jun-2025 07:08:09 GMT");
  EXPECT_EQ(PadTwoDigits(7), "07");
  EXPECT_EQ(PadTwoDigits(10), "10");
  EXPECT_EQ(BuildHttpResponse(Gbk("人"), 1733036105),
            "HTTP/1.1 200 OK\r\nServer: WebServer1.0\r\nContent-Type: textml; charset=utf-8\r\n"
            "Date: Sun, 1-Dec-2024 06:55:05 GMT\r\n\r\n\xE4\xBA\xBA");
}

}  // namespace
}  // namespace qf
