// JSON text written exactly as the script library's JSON.stringify writes it.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace qf {

using JsonValue = nlohmann::ordered_json;

// Members in insertion order, no white space, numbers in the script's form, strings with the
// library's escapes (lower-case hex) and every other character as it is. Output is UTF-8. Nothing
// for a document nested too deep to walk.
std::optional<std::string> StringifyJson(const JsonValue& value);

}  // namespace qf
