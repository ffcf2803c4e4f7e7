// The fixed shapes of the WeChat exchange: the inbound message fields, the text and news reply
// documents, and the HTTP response head. Fields are cut between markers; no XML parser.
#pragma once

#include <ctime>
#include <string_view>

#include "text/text.h"

namespace qf {

inline constexpr std::string_view kResponseHeadPrefix =
    "HTTP/1.1 200 OK\r\nServer: WebServer1.0\r\nContent-Type: textml; charset=utf-8\r\nDate: ";

struct InboundMessage {
  Text fromUserName;
  Text toUserName;
  Text msgType;
  Text createTime;
  Text content;  // the follower's text (search word in its stored form), or the event name
  Text clientAddress;
};

// `body` is code page 936 text; `plainSearchWord` is the decoded search word. Markers match
// without regard to letter case. Occurrences of the search word in the content are rewritten in
// the stored, numeric-reference form so that the dispatch can compare them.
InboundMessage ParseInboundMessage(std::string_view body, std::string_view clientAddress,
                                   std::string_view plainSearchWord);

// Values are inserted as they are, except that "]]>" inside a value is split across two CDATA
// sections so it cannot end the section early.
Text BuildTextReply(std::string_view toUser, std::string_view fromUser, std::string_view createTime,
                    std::string_view content);
Text BuildNewsReply(std::string_view toUser, std::string_view fromUser, std::string_view createTime,
                    std::string_view description, std::string_view pictureUrl);

// Head, date and blank line, then `body` converted to UTF-8.
Text BuildHttpResponse(std::string_view body, std::time_t now);
// The head alone, the answer that carries no reply.
Text BuildEmptyResponse(std::time_t now);

// "Sun, 1-Dec-2024 06:55:05 GMT": the day unpadded, the clock fields two digits, in UTC.
Text FormatHttpDate(std::time_t time);
Text PadTwoDigits(int n);

}  // namespace qf
