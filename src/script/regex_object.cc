#define PCRE2_CODE_UNIT_WIDTH 16
#include "script/regex_object.h"

#include <pcre2.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr size_t kJitStackStart = 64 * 1024;
constexpr size_t kJitStackMax = 8 * 1024 * 1024;  // deep lazy scans over whole pages

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// Each thread keeps one JIT stack and match context, so matching allocates nothing per call
// beyond the match data.
class ThreadMatchContext {
 public:
  ThreadMatchContext()
      : context_(pcre2_match_context_create(nullptr)),
        stack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
    if (context_ != nullptr && stack_ != nullptr) {
      pcre2_jit_stack_assign(context_, nullptr, stack_);
    }
  }
  ~ThreadMatchContext() {
    pcre2_jit_stack_free(stack_);
    pcre2_match_context_free(context_);
  }
  ThreadMatchContext(const ThreadMatchContext&) = delete;
  ThreadMatchContext& operator=(const ThreadMatchContext&) = delete;
  pcre2_match_context* get() const { return context_; }

 private:
  pcre2_match_context* context_;
  pcre2_jit_stack* stack_;
};

pcre2_match_context* MatchContext() {
  thread_local ThreadMatchContext context;
  return context.get();
}

PCRE2_SPTR Units(const std::u16string& s) { return reinterpret_cast<PCRE2_SPTR>(s.data()); }

}  // namespace

struct RegexObject::Expression {
  Text pattern;
  bool ignoreCase = false;
  std::unique_ptr<pcre2_code, CodeDeleter> code;  // null when the pattern does not compile
  int groupCount = 0;
};

struct RegexObject::MatchList {
  std::u16string subject;
  // For each match, 2 * (groupCount + 1) UTF-16 offsets; PCRE2_UNSET for a group not taking part.
  std::vector<std::vector<size_t>> spans;
};

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject&) = default;
RegexObject& RegexObject::operator=(const RegexObject&) = default;

namespace {

// Compiling (and JIT-compiling) costs more than most matches, and the program runs the same few
// patterns over and over: each thread keeps the expressions it compiled.
constexpr size_t kCachedExpressions = 64;

}  // namespace

std::shared_ptr<const RegexObject::Expression> RegexObject::Compile(std::string_view pattern,
                                                                    const MatchOptions& options) {
  const Text patternText =
      options.quoteEscapes ? ReplaceText(pattern, kQuotePlaceholder, "\"") : Text(pattern);
  uint32_t flags = PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF;
  if (!options.caseSensitive) flags |= PCRE2_CASELESS;
  flags |= options.multiLine ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;

  thread_local std::unordered_map<std::string, std::shared_ptr<const Expression>> cache;
  std::string key = std::to_string(flags) + ":" + patternText;
  if (const auto it = cache.find(key); it != cache.end()) return it->second;

  auto expression = std::make_shared<Expression>();
  const std::u16string pattern16 = DecodeCodePage(patternText, CodePage::kGbk);
  expression->pattern = EncodeCodePage(pattern16, CodePage::kGbk);
  expression->ignoreCase = !options.caseSensitive;
  pcre2_compile_context* compileContext = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(compileContext, PCRE2_NEWLINE_LF);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  expression->code.reset(pcre2_compile(Units(pattern16), pattern16.size(), flags, &errorCode,
                                       &errorOffset, compileContext));
  pcre2_compile_context_free(compileContext);
  if (expression->code) {
    pcre2_jit_compile(expression->code.get(), PCRE2_JIT_COMPLETE);  // else the interpreter
    uint32_t captures = 0;
    pcre2_pattern_info(expression->code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    expression->groupCount = static_cast<int>(captures);
  }
  if (cache.size() >= kCachedExpressions) cache.clear();
  cache.emplace(std::move(key), expression);
  return expression;
}

bool RegexObject::Match(std::string_view pattern, std::string_view subject,
                        const MatchOptions& options) {
  expression_.reset();
  matches_.reset();
  const std::shared_ptr<const Expression> expression = Compile(pattern, options);
  subject_ = Text(subject);
  expression_ = expression;
  if (!expression->code) return false;
  const auto captures = static_cast<uint32_t>(expression->groupCount);

  auto list = std::make_shared<MatchList>();
  list->subject = DecodeCodePage(subject_, CodePage::kGbk);
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(expression->code.get(), nullptr));
  const size_t length = list->subject.size();
  size_t start = 0;
  while (start <= length) {
    const int rc = pcre2_match(expression->code.get(), Units(list->subject), length, start, 0,
                               data.get(), MatchContext());
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) return false;  // a match or JIT stack limit: no list at all
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    const size_t spanCount = 2 * (captures + 1);
    list->spans.emplace_back(ovector, ovector + spanCount);
    if (!options.global) break;
    // After an empty match, step one unit on, as the script engines do.
    start = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
  }
  matches_ = list;
  return true;
}

Text RegexObject::GetPattern() const { return expression_ ? expression_->pattern : Text(); }

int RegexObject::MatchCount() const {
  return matches_ ? static_cast<int>(matches_->spans.size()) : 0;
}

int RegexObject::GroupCount() const { return MatchCount() > 0 ? expression_->groupCount : 0; }

Text RegexObject::MatchText(int n, int* position) const { return SpanText(n, 0, position); }

Text RegexObject::GroupText(int n, int g, int* position) const {
  if (g < 1) return Text();
  return SpanText(n, g, position);
}

Text RegexObject::SpanText(int n, int g, int* position) const {
  if (position != nullptr) *position = -2;
  if (n < 1 || n > MatchCount() || g > expression_->groupCount) return Text();
  const std::vector<size_t>& spans = matches_->spans[static_cast<size_t>(n - 1)];
  const size_t begin = spans[2 * static_cast<size_t>(g)];
  const size_t end = spans[2 * static_cast<size_t>(g) + 1];
  if (begin == PCRE2_UNSET) return Text();
  const Text text = EncodeCodePage(
      std::u16string_view(matches_->subject).substr(begin, end - begin), CodePage::kGbk);
  if (position != nullptr) {
    // The engine counts UTF-16 units; find the text in the byte string from that offset on.
    const int matchStart = static_cast<int>(spans[0]);
    *position = FindText(subject_, text, matchStart, expression_->ignoreCase) - 1;
  }
  return text;
}

Text RegexObject::ReplaceMatches(std::string_view replacement) const {
  if (!matches_) return Text();
  const std::u16string& subject = matches_->subject;
  const std::u16string with = DecodeCodePage(replacement, CodePage::kGbk);
  const int groups = expression_->groupCount;
  std::u16string out;
  size_t copied = 0;
  for (const std::vector<size_t>& spans : matches_->spans) {
    out.append(subject, copied, spans[0] - copied);
    for (size_t i = 0; i < with.size(); ++i) {
      const char16_t c = with[i];
      const char16_t next = i + 1 < with.size() ? with[i + 1] : u'\0';
      if (c != u'$' || next == u'\0') {
        out.push_back(c);
        continue;
      }
      if (next == u'$') {
        out.push_back(u'$');
      } else if (next == u'&') {
        out.append(subject, spans[0], spans[1] - spans[0]);
      } else if (next == u'`') {
        out.append(subject, 0, spans[0]);
      } else if (next == u'\'') {
        out.append(subject, spans[1]);
      } else if (next >= u'0' && next <= u'9') {
        // Two digits when they name a group, otherwise one.
        int group = next - u'0';
        size_t used = 1;
        const char16_t second = i + 2 < with.size() ? with[i + 2] : u'\0';
        if (second >= u'0' && second <= u'9' && group * 10 + (second - u'0') <= groups) {
          group = group * 10 + (second - u'0');
          used = 2;
        }
        if (group < 1 || group > groups) {
          out.push_back(c);
          continue;
        }
        const size_t begin = spans[2 * static_cast<size_t>(group)];
        if (begin != PCRE2_UNSET) {
          out.append(subject, begin, spans[2 * static_cast<size_t>(group) + 1] - begin);
        }
        i += used;
        continue;
      } else {
        out.push_back(c);
        continue;
      }
      ++i;
    }
    copied = spans[1];
  }
  out.append(subject, copied);
  return EncodeCodePage(out, CodePage::kGbk);
}

}  // namespace qf
