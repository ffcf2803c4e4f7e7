#include "callback/message_dispatch.h"

#include "callback/access_verification.h"
#include "callback/message_envelope.h"
#include "coupon/share_code.h"
#include "text/char_refs.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

const Text& TestWord() {
  static const Text text = FromUtf8("测试");
  return text;
}
const Text& TestWordDescription() {
  static const Text text = FromUtf8("不要调皮哦！");
  return text;
}
const Text& SearchReplyOpening() {
  static const Text text = FromUtf8("关于您要观看的【");
  return text;
}
const Text& SearchReplyMiddle() {
  static const Text text = FromUtf8("】为您找到了以下记录，请点击查看：\r\n");
  return text;
}

// The body: what follows the first blank line (found only where a character starts), up to a
// second blank line or the end. Nothing when there is no such part.
bool BodyOf(std::string_view request, Text& body) {
  const int blank = FindText(request, "\r\n\r\n");
  if (blank == kNotFound) return false;
  const std::string_view rest = request.substr(static_cast<size_t>(blank) + 3);
  if (rest.empty()) return false;
  const int second = FindText(rest, "\r\n\r\n");
  body = Text(second == kNotFound ? rest : rest.substr(0, static_cast<size_t>(second) - 1));
  return true;
}

class Dispatch {
 public:
  Dispatch(const EndpointSettings& settings, MessageActions& actions, std::time_t now)
      : settings_(settings), actions_(actions), now_(now) {}

  HandledRequest Reply(std::string_view kind, const InboundMessage& m, const Text& content) {
    if (content.empty()) return Nothing(kind);
    return {BuildHttpResponse(BuildTextReply(m.fromUserName, m.toUserName, m.createTime, content),
                              now_),
            kind, "text reply"};
  }

  HandledRequest Nothing(std::string_view kind) {
    return {BuildEmptyResponse(now_), kind, "no reply"};
  }

  HandledRequest News(const InboundMessage& m) {
    return {BuildHttpResponse(BuildNewsReply(m.fromUserName, m.toUserName, m.createTime,
                                             TestWordDescription(), settings_.newsPictureUrl),
                              now_),
            "text", "news"};
  }

  // A movie search for `keyword`: the site first, the catalogue when the site finds nothing.
  HandledRequest Search(const InboundMessage& m, const Text& keyword, bool replyWhenEmpty) {
    if (keyword.empty()) return Nothing("text");
    Text list = actions_.SearchSite(keyword);
    if (list.empty()) list = actions_.SearchCatalogue(keyword);
    if (list.empty() && !replyWhenEmpty) return Nothing("text");
    return Reply("text", m, SearchReplyOpening() + keyword + SearchReplyMiddle() + list);
  }

  HandledRequest HandleText(const InboundMessage& m) {
    const Text& content = m.content;
    if (content == TestWord()) return News(m);
    if (ContainsShareCode(content)) return Reply("text", m, actions_.LookUpCoupon(content));
    const Text& word = settings_.searchWord;
    const bool wordPresent = word.empty() ? !content.empty() : FindText(content, word) != kNotFound;
    if (wordPresent) {
      // Every occurrence goes, not only the leading one; a content that is nothing but the
      // search word leaves no keyword and is not searched.
      return Search(m, ReplaceText(content, word, ""), true);
    }
    if (content.empty()) return Nothing("text");
    return Search(m, content, false);
  }

 private:
  const EndpointSettings& settings_;
  MessageActions& actions_;
  std::time_t now_;
};

}  // namespace

HandledRequest HandleRequest(std::string_view requestText, std::string_view clientAddress,
                             const EndpointSettings& settings, MessageActions& actions,
                             EndpointEvents* events, std::time_t now) {
  Dispatch dispatch(settings, actions, now);
  // Only the request line can ask for verification: a message that merely mentions the word is
  // answered like any other.
  const std::string_view requestLine = requestText.substr(0, requestText.find("\r\n"));
  if (requestLine.find("echostr") != std::string_view::npos) {
    const Text echo = VerifyAccess(requestText, settings.token);
    return {BuildEmptyResponse(now) + echo, "verification", echo.empty() ? "mismatch" : "echo"};
  }
  Text body;
  if (requestText.empty() || !BodyOf(requestText, body)) return dispatch.Nothing("no message");
  body = FromUtf8(body);
  if (body.substr(0, 5) != "<xml>") return dispatch.Nothing("no message");

  const InboundMessage m =
      ParseInboundMessage(body, clientAddress, DecodeCharRefs(settings.searchWord));
  if (events != nullptr) events->OnMessage(m.content);
  if (m.msgType == "text") return dispatch.HandleText(m);
  if (m.msgType == "event" && m.content == "subscribe") {
    return dispatch.Reply("subscribe", m, settings.welcomeText);
  }
  return dispatch.Nothing("other message");
}

}  // namespace qf
