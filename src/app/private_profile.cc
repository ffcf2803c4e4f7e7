#include "app/private_profile.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace qf {
namespace {

struct Line {
  std::string text;    // without its line end
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t lf = content.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool crlf = lf > start && content[lf - 1] == '\r';
    lines.push_back({content.substr(start, lf - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
    start = lf + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key, std::string_view* value) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos || !SameName(Trim(line.substr(0, eq)), Trim(key))) return false;
  if (value != nullptr) *value = Trim(line.substr(eq + 1));
  return true;
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ReplaceFile(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".saving." + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

Text ReadProfileString(const std::string& path, std::string_view section, std::string_view key) {
  const auto content = ReadFile(path);
  if (!content) return Text();
  bool inSection = false;
  for (const Line& line : SplitLines(*content)) {
    if (const auto name = SectionName(line.text)) {
      inSection = SameName(*name, Trim(section));
      continue;
    }
    std::string_view value;
    if (inSection && IsKeyLine(line.text, key, &value)) {
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      return Text(value.substr(0, kProfileValueLimit));
    }
  }
  return Text();
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::vector<Line> lines = SplitLines(ReadFile(path).value_or(""));
  const Line entry{std::string(key) + "=" + std::string(value), "\r\n"};
  std::optional<size_t> lastInSection;  // the section's header or its last non-blank line
  bool inSection = false;
  bool written = false;
  for (size_t i = 0; i < lines.size() && !written; ++i) {
    if (const auto name = SectionName(lines[i].text)) {
      if (inSection) break;  // the section ended without the key
      inSection = SameName(*name, Trim(section));
      if (inSection) lastInSection = i;
      continue;
    }
    if (!inSection) continue;
    if (IsKeyLine(lines[i].text, key, nullptr)) {
      lines[i].text = entry.text;
      written = true;
    } else if (!Trim(lines[i].text).empty()) {
      lastInSection = i;
    }
  }
  if (!written) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = "\r\n";
    if (lastInSection) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
    } else {
      lines.push_back({"[" + std::string(section) + "]", "\r\n"});
      lines.push_back(entry);
    }
  }
  std::string content;
  for (const Line& line : lines) content += line.text + line.ending;
  return ReplaceFile(path, content);
}

}  // namespace qf
