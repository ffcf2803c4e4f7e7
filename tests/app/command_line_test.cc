#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(CommandLineTest, DefaultsAndOptions) {
  std::string error;
  auto line = ParseCommandLine({}, true, error);
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->headless);
  EXPECT_EQ(line->listenAddress, "0.0.0.0");
  EXPECT_EQ(line->port, 80);
  EXPECT_EQ(line->workers, 256u);
  EXPECT_TRUE(ParseCommandLine({}, false, error)->headless);  // no display: headless
  line = ParseCommandLine({"--listen", "127.0.0.1", "--port", "0", "--settings", "/x.ini",
                           "--workers", "4", "--headless"},
                          true, error);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->listenAddress, "127.0.0.1");
  EXPECT_EQ(line->port, 0);
  EXPECT_EQ(line->settingsPath, "/x.ini");
  EXPECT_EQ(line->workers, 4u);
  EXPECT_TRUE(line->headless);
}

TEST(CommandLineTest, BadArgumentsSayWhy) {
  const std::vector<std::vector<std::string>> cases = {
      {"--port", "65536"}, {"--port", "x"},      {"--port"},         {"--workers", "0"},
      {"--listen", "::1"}, {"--listen", "host"}, {"--settings", ""}, {"--frobnicate"},
  };
  for (const auto& args : cases) {
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, false, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

}  // namespace
}  // namespace qf
