#include "script/json_path.h"

#include <charconv>

namespace qf {

std::optional<JsonPath> ParseJsonPath(std::string_view path) {
  JsonPath steps;
  size_t i = 0;
  bool expectName = false;  // after a "." a name must follow
  while (i < path.size()) {
    if (path[i] == '[') {
      if (expectName) return std::nullopt;
      const size_t close = path.find(']', i);
      if (close == std::string_view::npos || close == i + 1) return std::nullopt;
      size_t index = 0;
      const char* first = path.data() + i + 1;
      const char* last = path.data() + close;
      const auto [end, error] = std::from_chars(first, last, index);
      if (error != std::errc() || end != last) return std::nullopt;
      steps.emplace_back(index);
      i = close + 1;
      continue;
    }
    if (path[i] == '.') {
      if (steps.empty() || expectName) return std::nullopt;
      expectName = true;
      ++i;
      continue;
    }
    if (!steps.empty() && !expectName) return std::nullopt;  // "a[0]b"
    size_t end = path.find_first_of(".[]", i);
    if (end == std::string_view::npos) end = path.size();
    if (end == i || (end < path.size() && path[end] == ']')) return std::nullopt;
    steps.emplace_back(std::string(path.substr(i, end - i)));
    expectName = false;
    i = end;
  }
  if (expectName) return std::nullopt;
  return steps;
}

}  // namespace qf
