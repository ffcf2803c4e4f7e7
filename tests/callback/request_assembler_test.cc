#include "callback/request_assembler.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

using State = RequestAssembler::State;

const std::string kRequest =
    "POST /wx HTTP/1.1\r\nHost: h\r\ncontent-LENGTH: 11\r\n\r\n<xml>1</xml>";

TEST(RequestAssemblerTest, CompleteWhateverTheSplit) {
  const std::string whole = kRequest.substr(0, kRequest.size() - 1);  // 11 body bytes exactly
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    RequestAssembler assembler;
    const State first = assembler.Feed(std::string_view(whole).substr(0, cut));
    if (cut < whole.size()) {
      ASSERT_EQ(first, State::kIncomplete) << cut;
    }
    ASSERT_EQ(assembler.Feed(std::string_view(whole).substr(cut)), State::kComplete) << cut;
    EXPECT_EQ(assembler.Request(), whole) << cut;
    EXPECT_FALSE(assembler.HadExtraBytes()) << cut;
  }
}

TEST(RequestAssemblerTest, BytesAfterTheBodyAreNotPartOfTheRequest) {
  RequestAssembler assembler;
  ASSERT_EQ(assembler.Feed(kRequest + "GET /next"), State::kComplete);
  EXPECT_EQ(assembler.Request(), kRequest.substr(0, kRequest.size() - 1));
  EXPECT_TRUE(assembler.HadExtraBytes());

  // Bytes after completion (a stray line break, say) are noted, not added.
  RequestAssembler later;
  ASSERT_EQ(later.Feed(kRequest.substr(0, kRequest.size() - 1)), State::kComplete);
  EXPECT_FALSE(later.HadExtraBytes());
  EXPECT_EQ(later.Feed("\r\n"), State::kComplete);
  EXPECT_TRUE(later.HadExtraBytes());
  EXPECT_EQ(later.Request(), kRequest.substr(0, kRequest.size() - 1));
}

TEST(RequestAssemblerTest, NoContentLengthMeansNoBody) {
  RequestAssembler assembler;
  EXPECT_EQ(assembler.Feed("GET /?echostr=1 HTTP/1.1\r\nHost: h\r\n"), State::kIncomplete);
  EXPECT_EQ(assembler.Feed("\r\n"), State::kComplete);
}

TEST(RequestAssemblerTest, Limits) {
  RequestAssembler head;
  EXPECT_EQ(head.Feed(std::string(RequestAssembler::kMaxHeadBytes + 1, 'a')), State::kTooLarge);
  RequestAssembler body;
  EXPECT_EQ(body.Feed("POST / HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n"), State::kTooLarge);
  RequestAssembler bad;
  EXPECT_EQ(bad.Feed("POST / HTTP/1.1\r\nContent-Length: -5\r\n\r\n"), State::kTooLarge);
  RequestAssembler largest;
  EXPECT_EQ(largest.Feed("POST / HTTP/1.1\r\nContent-Length: 1048576\r\n\r\n"), State::kIncomplete);
}

TEST(RequestAssemblerTest, ContentLengthOf) {
  EXPECT_EQ(ContentLengthOf("POST / HTTP/1.1\r\nContent-Length:  42 \r\nX: y"), 42);
  EXPECT_EQ(ContentLengthOf("POST / HTTP/1.1\r\nX-Content-Length: 4"), 0);
  EXPECT_EQ(ContentLengthOf("POST / HTTP/1.1\r\nContent-Length: 4x"), -1);
}

}  // namespace
}  // namespace qf
