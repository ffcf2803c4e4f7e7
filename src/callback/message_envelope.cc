#include "callback/message_envelope.h"

#include <string>

#include "text/char_refs.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

Text Field(std::string_view body, std::string_view open, std::string_view close) {
  return TextBetween(body, open, close, 0, true);
}

Text Cdata(std::string_view value) { return ReplaceText(value, "]]>", "]]]]><![CDATA[>"); }

Text ReplyHead(std::string_view toUser, std::string_view fromUser, std::string_view createTime) {
  Text xml = "<xml><ToUserName><![CDATA[";
  xml += Cdata(toUser);
  xml += "]]></ToUserName><FromUserName><![CDATA[";
  xml += Cdata(fromUser);
  xml += "]]></FromUserName><CreateTime>";
  xml += createTime;
  xml += "</CreateTime>";
  return xml;
}

}  // namespace

InboundMessage ParseInboundMessage(std::string_view body, std::string_view clientAddress,
                                   std::string_view plainSearchWord) {
  InboundMessage m;
  m.clientAddress = Text(clientAddress);
  if (body.substr(0, 5) != "<xml>") return m;
  m.fromUserName = Field(body, "<FromUserName><![CDATA[", "]]></FromUserName>");
  m.toUserName = Field(body, "<ToUserName><![CDATA[", "]]></ToUserName>");
  m.msgType = Field(body, "<MsgType><![CDATA[", "]]></MsgType>");
  m.createTime = Field(body, "<CreateTime>", "</CreateTime>");
  m.content = Field(body, "<Content><![CDATA[", "]]></Content>");
  if (!plainSearchWord.empty() && FindText(m.content, plainSearchWord) != kNotFound) {
    m.content = ReplaceText(m.content, plainSearchWord, EncodeCharRefs(plainSearchWord));
  }
  if (m.content.empty()) m.content = Field(body, "<Event><![CDATA[", "]]></Event>");
  return m;
}

Text BuildTextReply(std::string_view toUser, std::string_view fromUser, std::string_view createTime,
                    std::string_view content) {
  Text xml = ReplyHead(toUser, fromUser, createTime);
  xml += "<MsgType><![CDATA[text]]></MsgType><Content><![CDATA[";
  xml += Cdata(content);
  xml += "]]></Content><FuncFlag>0</FuncFlag></xml>";
  return xml;
}

Text BuildNewsReply(std::string_view toUser, std::string_view fromUser, std::string_view createTime,
                    std::string_view description, std::string_view pictureUrl) {
  static const Text kTitle = FromUtf8("帐号信息");
  Text xml = ReplyHead(toUser, fromUser, createTime);
  xml += "<MsgType><![CDATA[news]]></MsgType><ArticleCount>1</ArticleCount><Articles><item>";
  xml += "<Title><![CDATA[" + kTitle + "]]></Title> <Description><![CDATA[";
  xml += Cdata(description);
  xml += "]]></Description><PicUrl><![CDATA[";
  xml += Cdata(pictureUrl);
  xml += "]]></PicUrl></item></Articles></xml>";
  return xml;
}

Text BuildEmptyResponse(std::time_t now) {
  return Text(kResponseHeadPrefix) + FormatHttpDate(now) + "\r\n\r\n";
}

Text BuildHttpResponse(std::string_view body, std::time_t now) {
  return BuildEmptyResponse(now) + ToUtf8(body);
}

Text PadTwoDigits(int n) { return n > 9 ? std::to_string(n) : "0" + std::to_string(n); }

Text FormatHttpDate(std::time_t time) {
  static constexpr const char* kWeekdays[] = {"Sun, ", "Mon, ", "Tue, ", "Wed, ",
                                              "Thu, ", "Fri, ", "Sat, "};
  static constexpr const char* kMonths[] = {"Jan-", "Feb-", "Mar-", "Apr-", "May-", "Jun-",
                                            "Jul-", "Aug-", "Sep-", "Oct-", "Nov-", "Dec-"};
  std::tm utc{};
  gmtime_r(&time, &utc);
  Text date = kWeekdays[utc.tm_wday];
  date += std::to_string(utc.tm_mday) + "-";
  date += kMonths[utc.tm_mon];
  date += std::to_string(utc.tm_year + 1900);
  date += " " + PadTwoDigits(utc.tm_hour) + ":" + PadTwoDigits(utc.tm_min) + ":" +
          PadTwoDigits(utc.tm_sec) + " GMT";
  return date;
}

}  // namespace qf
