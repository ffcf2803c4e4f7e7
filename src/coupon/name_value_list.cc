#include "coupon/name_value_list.h"

#include "net/header_cookie_rules.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"
#include "text/url_encoding.h"

namespace qf {

void NameValueList::Add(std::string_view name, std::string_view value, bool toUtf8) {
  names_.emplace_back(name);
  values_.push_back(toUtf8 ? ToUtf8(value) : Text(value));
}

void NameValueList::AddFromQuery(std::string_view text, bool toUtf8) {
  for (const Text& piece : SplitText(text, "&")) {
    const int first = FindText(piece, "=");
    const int last = FindTextBackward(piece, "=");
    if (first == kNotFound) {
      Add("", "", toUtf8);
      continue;
    }
    Add(piece.substr(0, static_cast<size_t>(first) - 1), piece.substr(static_cast<size_t>(last)),
        toUtf8);
  }
}

Text NameValueList::Get(std::string_view name) const {
  const int at = FindItem(names_, name);
  return at == -1 ? Text() : values_[static_cast<size_t>(at) - 1];
}

void NameValueList::Set(std::string_view name, std::string_view value) {
  const int at = FindItem(names_, name);
  if (at == -1) return Add(name, value);
  values_[static_cast<size_t>(at) - 1] = value;
}

Text NameValueList::Joined(std::string_view between, std::string_view separator,
                           bool encode) const {
  Text out;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (i > 0) out += separator;
    out += names_[i];
    out += between;
    out += encode ? UrlEncode(values_[i], {.keepLettersDigits = true}) : values_[i];
  }
  return out;
}

Text NameValueList::ToQuery(bool encode) const { return Joined("=", "&", encode); }

Text NameValueList::ToHeaderLines(bool encode) const { return Joined(": ", "\r\n", encode); }

std::vector<Text>& NameValueList::Names(std::vector<Text>& names) const {
  names = names_;
  return names;
}

std::vector<Text>& NameValueList::Values(std::vector<Text>& values) const {
  values = values_;
  return values;
}

void NameValueList::Clear() {
  names_.clear();
  values_.clear();
}

void NameValueList::Remove(std::string_view name) {
  const int at = FindItem(names_, name);
  if (at == -1) return;
  names_.erase(names_.begin() + (at - 1));
  values_.erase(values_.begin() + (at - 1));
}

Text NameValueList::ToJson() const {
  Text json = "{";
  for (size_t i = 0; i < names_.size(); ++i) {
    json += "\"" + names_[i] + "\":\"" + EscapeQuotes(values_[i]) + "\",";
  }
  return TrimAffix(json, ",") + "}";
}

Text NameValueList::EscapeQuotes(std::string_view text) { return ReplaceText(text, "\"", "\\\""); }

Text NameValueList::TrimAffix(std::string_view text, std::string_view affix) {
  std::string_view out = text;
  if (!affix.empty() && out.ends_with(affix)) out.remove_suffix(affix.size());
  if (!affix.empty() && out.starts_with(affix)) out.remove_prefix(affix.size());
  return Text(out);
}

}  // namespace qf
