// RegexObject: runs one regular expression over a Text and keeps the match list for reading.
//
// The dialect is the one the program's patterns are written in: letter case ignored unless asked,
// "^" and "$" at line feeds when multi-line, "." anything but a line feed, lazy quantifiers,
// groups, "\uXXXX" escapes, "\w" and "\d" over ASCII only, and a back-reference to a group that
// took no part matching the empty text. Subjects and patterns cross as UTF-16 converted from code
// page 936; results come back in code page 936. Indexes are 1-based.
//
// Nothing reports an error: an invalid pattern, or a match that runs into the engine's limits,
// makes Match return false and every count 0; reading what does not exist gives "".
// Copies share the compiled expression and the match list. An object belongs to one thread.
#pragma once

#include <memory>
#include <string_view>

#include "text/text.h"

namespace qf {

struct MatchOptions {
  bool caseSensitive = false;
  bool multiLine = true;
  bool global = true;         // every match, or only the first
  bool quoteEscapes = false;  // "#引号" in the pattern stands for '"'
};

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&);
  RegexObject& operator=(const RegexObject&);

  // Compiles `pattern` and runs it over `subject`, replacing the previous expression and match
  // list. True when a match list was produced, even an empty one.
  bool Match(std::string_view pattern, std::string_view subject, const MatchOptions& options = {});

  // The pattern of the last Match, after its quote escapes; "" before any Match.
  Text GetPattern() const;
  // The stored subject with the matches replaced; "$1".."$99", "$&", "$`", "$'" and "$$" expand.
  Text ReplaceMatches(std::string_view replacement) const;
  int MatchCount() const;
  // Match n. `position`, when given, receives its 0-based byte offset found by searching the
  // subject for the match text from the match's UTF-16 offset (-2 when that search fails).
  Text MatchText(int n, int* position = nullptr) const;
  // Capture group g of match n; "" for a group that took no part.
  Text GroupText(int n, int g, int* position = nullptr) const;
  // The number of capture groups, when there is at least one match; 0 otherwise.
  int GroupCount() const;

 private:
  struct Expression;
  struct MatchList;

  Text SpanText(int n, int g, int* position) const;
  static std::shared_ptr<const Expression> Compile(std::string_view pattern,
                                                   const MatchOptions& options);

  std::shared_ptr<const Expression> expression_;
  std::shared_ptr<const MatchList> matches_;
  Text subject_;
};

}  // namespace qf
