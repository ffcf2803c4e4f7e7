// An ordered list of name/value pairs, rendered as a query string, header lines or a flat JSON
// object. Names need not be unique; lookups take the first match, letter case counting.
#pragma once

#include <string_view>
#include <vector>

#include "text/text.h"

namespace qf {

class NameValueList {
 public:
  // With `toUtf8`, the value is converted to UTF-8 first.
  void Add(std::string_view name, std::string_view value, bool toUtf8 = false);
  // Each "&"-separated piece: the name before its first "=", the value after its last "=".
  void AddFromQuery(std::string_view text, bool toUtf8 = false);
  Text Get(std::string_view name) const;
  void Set(std::string_view name, std::string_view value);
  // With `encode`, values are percent-encoded (letters, digits, "-" and "." kept).
  Text ToQuery(bool encode = false) const;
  Text ToHeaderLines(bool encode = false) const;
  std::vector<Text>& Names(std::vector<Text>& names) const;
  std::vector<Text>& Values(std::vector<Text>& values) const;
  void Clear();
  void Remove(std::string_view name);
  // Values have their double quotes escaped; names go in as they are.
  Text ToJson() const;

  static Text EscapeQuotes(std::string_view text);
  // One `affix` off the end, then one off the start, where present.
  static Text TrimAffix(std::string_view text, std::string_view affix);

 private:
  Text Joined(std::string_view between, std::string_view separator, bool encode) const;

  std::vector<Text> names_;
  std::vector<Text> values_;
};

}  // namespace qf
