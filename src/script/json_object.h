// JsonObject: the program's JSON document, read and changed through member paths.
//
// Paths are names joined by "." with 0-based "[i]" subscripts ("data[0].num"); a path beginning
// with "[" applies to the document itself. Texts cross in code page 936; the model holds UTF-8.
// No operation reports an error: a path through a missing member, a value that is no JSON, or a
// subscript on something that is no array leaves the document unchanged and gives the empty
// value (the empty text, 0, false). Parse is the one operation whose result tells success.
//
// Copies share one document: a change through one is seen through the other, until Parse gives
// one of them a fresh document. An object belongs to one thread at a time.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "script/json_stringify.h"
#include "text/text.h"

namespace qf {

// Kind codes of TypeOf and ResetAs.
inline constexpr int kJsonNull = 0;
inline constexpr int kJsonBoolean = 1;
inline constexpr int kJsonNumber = 2;
inline constexpr int kJsonObject = 4;
inline constexpr int kJsonArray = 5;
inline constexpr int kJsonString = 6;
inline constexpr int kJsonOther = -1;

class JsonObject {
 public:
  JsonObject();  // holds an empty object

  // Replaces the document with a fresh one parsed from `jsonText` (code page 936). False, with
  // the document null, for anything that is not valid JSON or is the JSON null.
  bool Parse(std::string_view jsonText);
  // The same for a JSON text in UTF-8, as services send it.
  bool ParseUtf8(std::string_view utf8Json);

  // The document as its library's JSON.stringify writes it.
  Text ToText() const;

  // Member `key` set to the string `value`.
  void SetText(std::string_view key, std::string_view value);
  // With `asObject`, `value` is read as JSON instead; an empty value is first replaced by "{}"
  // (in the caller's text too).
  void SetText(std::string_view key, Text& value, bool asObject);
  void SetJson(std::string_view key, std::string_view jsonText);
  // Stores `value` as written with 13 significant digits.
  void SetNumber(std::string_view key, double value);
  double GetNumber(std::string_view key) const;
  Text GetJson(std::string_view key) const;

  // The value at `path` as text: strings without quotes, numbers as "%.13g", booleans as "-1" and
  // "0", null or nothing as "". With `asJson`, the value's JSON text.
  Text GetText(std::string_view path, bool asJson = false) const;
  // A new object holding a copy of the value at `path` (a null document when there is none).
  JsonObject GetObject(std::string_view path) const;

  // Elements of an array or members of an object at `path` (empty: the document); 0 otherwise.
  int Count(std::string_view path = {}) const;
  // Appends `value` (a string, or JSON with `raw`) to the array at `path`, which becomes an
  // empty array first when it is anything else.
  void Push(std::string_view value, std::string_view path = {}, bool raw = false);
  JsonObject GetItemObject(int index, std::string_view path = {}) const;
  Text GetItem(int index, std::string_view path = {}, bool asJson = false) const;
  void SetItem(int index, std::string_view value, bool raw = false);
  void RemoveItem(int index);
  // Removes the element named by a path ending in "[i]", such as "list[2]".
  void RemoveAt(std::string_view path);
  void Delete(std::string_view key);
  // kJsonNull and kJsonObject: an empty object; kJsonArray: an empty array; others: nothing.
  void ResetAs(int kind);
  // The whole document becomes the string `value`, or the JSON `value` with `raw`.
  void Assign(std::string_view value, bool raw = false);
  bool Has(std::string_view key) const;
  // Member names (array indexes for an array) in order into `list`; returns their number.
  int Keys(std::vector<Text>& list, std::string_view path = {}) const;
  int TypeOf(std::string_view path = {}) const;
  void ClearObject();
  // The shared document itself.
  std::shared_ptr<JsonValue> Engine() const { return document_; }

 private:
  std::shared_ptr<JsonValue> document_;
};

}  // namespace qf
