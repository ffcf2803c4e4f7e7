#include "text/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <memory>

namespace qf {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

std::u16string_view UpToZero(std::u16string_view s) { return s.substr(0, s.find(u'\0')); }

// ICU's stock substitution silently drops default-ignorable characters (U+FEFF, U+200B, ...);
// every code point the table cannot hold must leave exactly one "?" behind instead.
void WriteQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                       UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
  *error = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenGbkConverter() {
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open("windows-936-2000", &error));
  if (U_FAILURE(error)) return nullptr;
  // Best-fit mappings, as the system converter uses, for characters that only map one way.
  ucnv_setFallback(converter.get(), true);
  ucnv_setFromUCallBack(converter.get(), WriteQuestionMark, nullptr, nullptr, nullptr, &error);
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                      &error);
  return converter;
}

// Opening a converter costs far more than a conversion; each thread keeps its own.
UConverter* GbkConverter() {
  thread_local ConverterPtr converter = OpenGbkConverter();
  if (converter) ucnv_reset(converter.get());
  return converter.get();
}

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');  // UTF-16 never needs more units than UTF-8 bytes
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                       &length, bytes.data(), static_cast<int32_t>(bytes.size()),
                       kReplacementCharacter, nullptr, &error);
  if (U_FAILURE(error)) return std::u16string();
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                     kReplacementCharacter, nullptr, &error);
  if (U_FAILURE(error)) return std::string();
  out.resize(static_cast<size_t>(length));
  return out;
}

std::u16string DecodeGbk(std::string_view bytes) {
  UConverter* converter = GbkConverter();
  if (converter == nullptr || bytes.empty()) return std::u16string();
  std::u16string out(bytes.size(), u'\0');  // one unit per byte at most
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), bytes.data(),
                                       static_cast<int32_t>(bytes.size()), &error);
  if (U_FAILURE(error)) return std::u16string();
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string EncodeGbk(std::u16string_view text) {
  UConverter* converter = GbkConverter();
  if (converter == nullptr || text.empty()) return std::string();
  std::string out(text.size() * 2, '\0');  // two bytes per unit at most
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                         reinterpret_cast<const UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), &error);
  if (U_FAILURE(error)) return std::string();
  out.resize(static_cast<size_t>(length));
  return out;
}

}  // namespace

std::u16string DecodeCodePage(std::string_view bytes, CodePage cp) {
  bytes = UpToZero(bytes);
  return cp == CodePage::kUtf8 ? DecodeUtf8(bytes) : DecodeGbk(bytes);
}

std::string EncodeCodePage(std::u16string_view text, CodePage cp) {
  text = UpToZero(text);
  return cp == CodePage::kUtf8 ? EncodeUtf8(text) : EncodeGbk(text);
}

Text Utf8BytesToText(std::string_view utf8) { return FromUtf8(utf8); }

Text FromUtf8(std::string_view utf8) {
  return EncodeCodePage(DecodeCodePage(utf8, CodePage::kUtf8), CodePage::kGbk);
}

Text ToUtf8(std::string_view text) {
  return EncodeCodePage(DecodeCodePage(text, CodePage::kGbk), CodePage::kUtf8);
}

}  // namespace qf
