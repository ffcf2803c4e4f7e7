#include "script/json_stringify.h"

#include <cmath>
#include <cstdint>

#include "script/js_number.h"

namespace qf {
namespace {

constexpr int kMaxDepth = 1000;

// The characters the library writes as "\uXXXX" besides U+0000..U+001F.
bool NeedsUnicodeEscape(uint32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD || (cp >= 0x600 && cp <= 0x604) ||
         cp == 0x70F || cp == 0x17B4 || cp == 0x17B5 || (cp >= 0x200C && cp <= 0x200F) ||
         (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x2060 && cp <= 0x206F) || cp == 0xFEFF ||
         (cp >= 0xFFF0 && cp <= 0xFFFF);
}

// Length of the UTF-8 sequence starting with `lead` and its code point; the model only holds
// valid UTF-8.
size_t DecodeUtf8(const std::string& s, size_t i, uint32_t& cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char lead = b(0);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (i + length > s.size()) length = s.size() - i;
  cp = lead & (0x3F >> (length - 1));
  for (size_t k = 1; k < length; ++k) cp = (cp << 6) | (b(k) & 0x3F);
  return length;
}

void AppendString(const std::string& s, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    switch (c) {
      case '"':
        out += "\\\"";
        ++i;
        continue;
      case '\\':
        out += "\\\\";
        ++i;
        continue;
      case '\b':
        out += "\\b";
        ++i;
        continue;
      case '\t':
        out += "\\t";
        ++i;
        continue;
      case '\n':
        out += "\\n";
        ++i;
        continue;
      case '\f':
        out += "\\f";
        ++i;
        continue;
      case '\r':
        out += "\\r";
        ++i;
        continue;
      default:
        break;
    }
    uint32_t cp = 0;
    const size_t length = DecodeUtf8(s, i, cp);
    if (NeedsUnicodeEscape(cp)) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(cp >> shift) & 0xF]);
    } else {
      out.append(s, i, length);
    }
    i += length;
  }
  out.push_back('"');
}

bool Append(const JsonValue& value, std::string& out, int depth) {
  if (depth > kMaxDepth) return false;
  switch (value.type()) {
    case JsonValue::value_t::null:
    case JsonValue::value_t::discarded:
    case JsonValue::value_t::binary:
      out += "null";
      return true;
    case JsonValue::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      return true;
    case JsonValue::value_t::number_integer:
      out += std::to_string(value.get<int64_t>());
      return true;
    case JsonValue::value_t::number_unsigned:
      out += std::to_string(value.get<uint64_t>());
      return true;
    case JsonValue::value_t::number_float: {
      const double d = value.get<double>();
      out += std::isfinite(d) ? JsNumberToString(d) : "null";
      return true;
    }
    case JsonValue::value_t::string:
      AppendString(value.get_ref<const std::string&>(), out);
      return true;
    case JsonValue::value_t::array: {
      out.push_back('[');
      bool first = true;
      for (const JsonValue& element : value) {
        if (!first) out.push_back(',');
        first = false;
        if (!Append(element, out, depth + 1)) return false;
      }
      out.push_back(']');
      return true;
    }
    case JsonValue::value_t::object: {
      out.push_back('{');
      bool first = true;
      for (const auto& [key, member] : value.items()) {
        if (!first) out.push_back(',');
        first = false;
        AppendString(key, out);
        out.push_back(':');
        if (!Append(member, out, depth + 1)) return false;
      }
      out.push_back('}');
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::string> StringifyJson(const JsonValue& value) {
  std::string out;
  if (!Append(value, out, 0)) return std::nullopt;
  return out;
}

}  // namespace qf
