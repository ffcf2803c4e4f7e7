#include "script/json_object.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "script/js_number.h"
#include "script/json_path.h"
#include "text/code_page.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

// Deeper documents are refused by Parse: copying and writing them recurse.
constexpr int kMaxParseDepth = 512;

// How a path meets the document. Joined: "" is the document, "[i]..." starts at it. Dotted: the
// path always follows a member dot, so "" and "[i]..." name nothing.
enum class PathStyle { kJoined, kDotted };

std::optional<JsonPath> PathOf(std::string_view path, PathStyle style) {
  if (style == PathStyle::kDotted && (path.empty() || path.front() == '[')) return std::nullopt;
  return ParseJsonPath(ToUtf8(path));
}

// Where a walk along a path ended: at a value, past the end of what exists (undefined), or at
// an attempt to step through null or undefined (an error in the script's terms).
struct Place {
  enum State { kFound, kUndefined, kError } state = kError;
  JsonValue* value = nullptr;
  bool found() const { return state == kFound; }
};

Place Walk(JsonValue& root, const JsonPath& path, size_t steps) {
  JsonValue* current = &root;
  for (size_t i = 0; i < steps; ++i) {
    if (current->is_null()) return {Place::kError, nullptr};
    JsonValue* next = nullptr;
    if (const auto* index = std::get_if<size_t>(&path[i])) {
      if (current->is_array() && *index < current->size()) {
        next = &(*current)[*index];
      } else if (current->is_object()) {
        const auto it = current->find(std::to_string(*index));
        if (it != current->end()) next = &it.value();
      }
    } else if (current->is_object()) {
      const auto it = current->find(std::get<std::string>(path[i]));
      if (it != current->end()) next = &it.value();
    }
    if (next == nullptr) return {i + 1 == steps ? Place::kUndefined : Place::kError, nullptr};
    current = next;
  }
  return {Place::kFound, current};
}

Place Walk(JsonValue& root, const std::optional<JsonPath>& path) {
  if (!path) return {Place::kError, nullptr};
  return Walk(root, *path, path->size());
}

// Assigns `value` at `path`, creating the last member; nothing when its parent does not exist.
// A subscript past an array's end fills the gap with nulls, as the script's holes stringify.
bool AssignAt(JsonValue& root, const JsonPath& path, JsonValue value) {
  if (path.empty()) return false;
  const Place parent = Walk(root, path, path.size() - 1);
  if (!parent.found() || parent.value->is_null()) return false;
  JsonValue& container = *parent.value;
  const JsonPathStep& last = path.back();
  if (const auto* index = std::get_if<size_t>(&last)) {
    if (container.is_array()) {
      container[*index] = std::move(value);
      return true;
    }
    if (container.is_object()) {
      container[std::to_string(*index)] = std::move(value);
      return true;
    }
    return false;
  }
  if (!container.is_object()) return false;
  container[std::get<std::string>(last)] = std::move(value);
  return true;
}

int KindOf(const JsonValue& value) {
  switch (value.type()) {
    case JsonValue::value_t::null:
      return kJsonNull;
    case JsonValue::value_t::boolean:
      return kJsonBoolean;
    case JsonValue::value_t::number_integer:
    case JsonValue::value_t::number_unsigned:
    case JsonValue::value_t::number_float:
      return kJsonNumber;
    case JsonValue::value_t::object:
      return kJsonObject;
    case JsonValue::value_t::array:
      return kJsonArray;
    case JsonValue::value_t::string:
      return kJsonString;
    default:
      return kJsonOther;
  }
}

// The script's own toString of a value, as an array join shows its elements.
std::string ScriptString(const JsonValue& value) {
  switch (KindOf(value)) {
    case kJsonNull:
      return "";
    case kJsonBoolean:
      return value.get<bool>() ? "true" : "false";
    case kJsonNumber:
      return JsNumberToString(value.get<double>());
    case kJsonString:
      return value.get<std::string>();
    case kJsonArray: {
      std::string joined;
      for (size_t i = 0; i < value.size(); ++i) {
        if (i > 0) joined.push_back(',');
        joined += ScriptString(value[i]);
      }
      return joined;
    }
    default:
      return "[object Object]";
  }
}

// A value read back as text across the boundary: booleans as -1 and 0.
Text ReadAsText(const Place& place, bool thirteenDigitNumbers) {
  if (!place.found()) return Text();
  const JsonValue& value = *place.value;
  if (value.is_boolean()) return value.get<bool>() ? "-1" : "0";
  if (value.is_number() && thirteenDigitNumbers) return ThirteenDigits(value.get<double>());
  return FromUtf8(ScriptString(value));
}

Text ReadAsJson(const Place& place) {
  if (!place.found()) return Text();
  const auto text = StringifyJson(*place.value);
  return text ? FromUtf8(*text) : Text();
}

// Nesting depth of a JSON text, brackets inside strings not counted.
int NestingDepth(std::string_view json) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// Parses UTF-8 JSON; nothing for an invalid or too deeply nested text.
std::optional<JsonValue> ParseValue(std::string_view utf8) {
  if (NestingDepth(utf8) > kMaxParseDepth) return std::nullopt;
  JsonValue value = JsonValue::parse(utf8.begin(), utf8.end(), nullptr, false);
  if (value.is_discarded()) return std::nullopt;
  return value;
}

std::optional<JsonValue> ParseText(std::string_view text) { return ParseValue(ToUtf8(text)); }

JsonValue StringValue(std::string_view text) { return JsonValue(ToUtf8(text)); }

JsonPath WithIndex(JsonPath path, int index) {
  path.emplace_back(static_cast<size_t>(index));
  return path;
}

}  // namespace

JsonObject::JsonObject() : document_(std::make_shared<JsonValue>(JsonValue::object())) {}

bool JsonObject::Parse(std::string_view jsonText) { return ParseUtf8(ToUtf8(jsonText)); }

bool JsonObject::ParseUtf8(std::string_view utf8Json) {
  auto value = ParseValue(utf8Json);
  document_ = std::make_shared<JsonValue>(value ? std::move(*value) : JsonValue());
  return !document_->is_null();
}

Text JsonObject::ToText() const {
  const auto text = StringifyJson(*document_);
  return text ? FromUtf8(*text) : Text();
}

void JsonObject::SetText(std::string_view key, std::string_view value) {
  if (auto path = PathOf(key, PathStyle::kDotted)) AssignAt(*document_, *path, StringValue(value));
}

void JsonObject::SetText(std::string_view key, Text& value, bool asObject) {
  if (!asObject) return SetText(key, std::string_view(value));
  if (value.empty()) value = "{}";
  SetJson(key, value);
}

void JsonObject::SetJson(std::string_view key, std::string_view jsonText) {
  auto path = PathOf(key, PathStyle::kDotted);
  auto value = ParseText(jsonText);
  if (path && value) AssignAt(*document_, *path, std::move(*value));
}

void JsonObject::SetNumber(std::string_view key, double value) {
  if (!std::isfinite(value)) return;  // "nan" and "inf" are no number literals
  const double stored = std::strtod(ThirteenDigits(value).c_str(), nullptr);
  if (auto path = PathOf(key, PathStyle::kDotted)) AssignAt(*document_, *path, JsonValue(stored));
}

double JsonObject::GetNumber(std::string_view key) const {
  const Place place = Walk(*document_, PathOf(key, PathStyle::kDotted));
  if (!place.found()) return 0;
  const JsonValue& value = *place.value;
  if (value.is_number()) return value.get<double>();
  if (value.is_boolean()) return value.get<bool>() ? -1 : 0;
  if (value.is_string()) {
    const std::string& s = value.get_ref<const std::string&>();
    char* end = nullptr;
    const double number = std::strtod(s.c_str(), &end);
    return (!s.empty() && *end == '\0') ? number : 0;
  }
  return 0;
}

Text JsonObject::GetJson(std::string_view key) const {
  return ReadAsJson(Walk(*document_, PathOf(key, PathStyle::kDotted)));
}

Text JsonObject::GetText(std::string_view path, bool asJson) const {
  const Place place = Walk(*document_, PathOf(path, PathStyle::kJoined));
  return asJson ? ReadAsJson(place) : ReadAsText(place, true);
}

JsonObject JsonObject::GetObject(std::string_view path) const {
  const Place place = Walk(*document_, PathOf(path, PathStyle::kJoined));
  JsonObject object;
  *object.document_ = place.found() ? *place.value : JsonValue();
  return object;
}

int JsonObject::Count(std::string_view path) const {
  const Place place = Walk(*document_, PathOf(path, PathStyle::kJoined));
  if (!place.found()) return 0;
  const JsonValue& value = *place.value;
  return (value.is_array() || value.is_object()) ? static_cast<int>(value.size()) : 0;
}

void JsonObject::Push(std::string_view value, std::string_view path, bool raw) {
  std::optional<JsonValue> element = raw ? ParseText(value) : StringValue(value);
  if (!element) return;
  std::optional<JsonPath> steps = path.empty() ? JsonPath() : PathOf(path, PathStyle::kDotted);
  if (!steps) return;
  Place target = Walk(*document_, *steps, steps->size());
  if (target.state == Place::kError) return;
  if (!target.found() || !target.value->is_array()) {
    if (steps->empty()) {
      *document_ = JsonValue::array();
    } else if (!AssignAt(*document_, *steps, JsonValue::array())) {
      return;
    }
    target = Walk(*document_, *steps, steps->size());
  }
  if (target.found() && target.value->is_array()) target.value->push_back(std::move(*element));
}

JsonObject JsonObject::GetItemObject(int index, std::string_view path) const {
  JsonObject object;
  *object.document_ = JsonValue();
  if (index < 0) return object;
  const auto steps = path.empty() ? JsonPath() : PathOf(path, PathStyle::kDotted);
  if (!steps) return object;
  const Place place = Walk(*document_, WithIndex(*steps, index));
  if (place.found()) *object.document_ = *place.value;
  return object;
}

Text JsonObject::GetItem(int index, std::string_view path, bool asJson) const {
  if (index < 0) return Text();
  const auto steps = path.empty() ? JsonPath() : PathOf(path, PathStyle::kDotted);
  if (!steps) return Text();
  const Place place = Walk(*document_, WithIndex(*steps, index));
  return asJson ? ReadAsJson(place) : ReadAsText(place, false);
}

void JsonObject::SetItem(int index, std::string_view value, bool raw) {
  if (index < 0) return;
  std::optional<JsonValue> element = raw ? ParseText(value) : StringValue(value);
  if (element) AssignAt(*document_, WithIndex({}, index), std::move(*element));
}

void JsonObject::RemoveItem(int index) {
  JsonValue& document = *document_;
  if (document.is_array() && index >= 0 && static_cast<size_t>(index) < document.size()) {
    document.erase(static_cast<size_t>(index));
  }
}

void JsonObject::RemoveAt(std::string_view path) {
  const Text base = TextBefore(path, "[");
  const int index = std::atoi(TextBetween(path, "[", "]").c_str());
  JsonObject list;
  list.Parse(GetText(base, true));
  list.RemoveItem(index);
  SetJson(base, list.ToText());
}

void JsonObject::Delete(std::string_view key) {
  const auto path = PathOf(key, PathStyle::kDotted);
  if (!path) return;
  const Place parent = Walk(*document_, *path, path->size() - 1);
  if (!parent.found()) return;
  JsonValue& container = *parent.value;
  const JsonPathStep& last = path->back();
  if (const auto* index = std::get_if<size_t>(&last)) {
    if (container.is_array() && *index < container.size()) {
      container[*index] = nullptr;  // delete leaves a hole; the array keeps its length
    } else if (container.is_object()) {
      container.erase(std::to_string(*index));
    }
  } else if (container.is_object()) {
    container.erase(std::get<std::string>(last));
  }
}

void JsonObject::ResetAs(int kind) {
  if (kind == kJsonNull || kind == kJsonObject) {
    *document_ = JsonValue::object();
  } else if (kind == kJsonArray) {
    *document_ = JsonValue::array();
  }
}

void JsonObject::Assign(std::string_view value, bool raw) {
  std::optional<JsonValue> replacement = raw ? ParseText(value) : StringValue(value);
  if (replacement) *document_ = std::move(*replacement);
}

bool JsonObject::Has(std::string_view key) const {
  const Place place = Walk(*document_, PathOf(key, PathStyle::kDotted));
  return place.found() && !place.value->is_null();
}

int JsonObject::Keys(std::vector<Text>& list, std::string_view path) const {
  list.clear();
  const Place place = Walk(*document_, PathOf(path, PathStyle::kJoined));
  if (!place.found()) return 0;
  const JsonValue& value = *place.value;
  if (value.is_object()) {
    for (const auto& member : value.items()) list.push_back(FromUtf8(member.key()));
  } else if (value.is_array()) {
    for (size_t i = 0; i < value.size(); ++i) list.push_back(std::to_string(i));
  }
  return static_cast<int>(list.size());
}

int JsonObject::TypeOf(std::string_view path) const {
  const Place place = path.empty() ? Place{Place::kFound, document_.get()}
                                   : Walk(*document_, PathOf(path, PathStyle::kDotted));
  if (place.state == Place::kError) return kJsonOther;
  if (!place.found()) return kJsonNull;
  return KindOf(*place.value);
}

void JsonObject::ClearObject() { *document_ = JsonValue::object(); }

}  // namespace qf
