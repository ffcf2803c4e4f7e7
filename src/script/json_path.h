// Member paths into a JSON document: names joined by "." and 0-based "[i]" subscripts, as in
// "data[0].num" or "[2].title".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qf {

using JsonPathStep = std::variant<std::string, size_t>;  // member name (UTF-8) or array index
using JsonPath = std::vector<JsonPathStep>;

// Parses a path whose member names are UTF-8. An empty text is the empty path (the document
// itself); a malformed path ("a..b", "a[x]", "a[1") gives nothing.
std::optional<JsonPath> ParseJsonPath(std::string_view path);

}  // namespace qf
