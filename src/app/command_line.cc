#include "app/command_line.h"

#include <arpa/inet.h>

#include <charconv>

namespace qf {

const char* const kUsage =
    "usage: quillfern [--headless] [--listen ADDR] [--port N] [--settings PATH] [--workers N]\n"
    "       quillfern --help | --version\n";

namespace {

template <typename Number>
bool ParseNumber(const std::string& text, Number low, Number high, Number& out) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return false;
  }
  out = value;
  return true;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, bool hasDisplay,
                                            std::string& error) {
  CommandLine line;
  line.headless = !hasDisplay;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--headless") {
      line.headless = true;
    } else if (arg == "--help") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--listen") {
      if (!value(text)) return std::nullopt;
      in_addr parsed{};
      if (inet_pton(AF_INET, text.c_str(), &parsed) != 1) {
        error = "--listen takes an IPv4 address, not '" + text + "'";
        return std::nullopt;
      }
      line.listenAddress = text;
    } else if (arg == "--port") {
      if (!value(text)) return std::nullopt;
      if (!ParseNumber<unsigned short>(text, 0, 65535, line.port)) {
        error = "--port takes a number from 0 to 65535, not '" + text + "'";
        return std::nullopt;
      }
    } else if (arg == "--settings") {
      if (!value(line.settingsPath)) return std::nullopt;
      if (line.settingsPath.empty()) {
        error = "--settings takes a file path";
        return std::nullopt;
      }
    } else if (arg == "--workers") {
      if (!value(text)) return std::nullopt;
      if (!ParseNumber<size_t>(text, 1, 100000, line.workers)) {
        error = "--workers takes a number from 1 to 100000, not '" + text + "'";
        return std::nullopt;
      }
    } else {
      error = "unknown argument '" + arg + "'";
      return std::nullopt;
    }
  }
  return line;
}

}  // namespace qf
