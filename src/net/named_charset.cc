#include "net/named_charset.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>

#include "text/code_page.h"

namespace qf {
namespace {

bool MeansCodePage936(std::string_view charset) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "gbk", "gb2312", "cp936", "windows-936", "x-gbk", "gb_2312-80", "ms936"};
  std::string lower(charset);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  for (std::string_view name : kNames) {
    if (lower == name) return true;
  }
  return false;
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr Open(std::string_view charset) {
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(std::string(charset).c_str(), &error));
  if (U_FAILURE(error) || charset.empty()) return nullptr;
  return converter;
}

}  // namespace

std::optional<std::u16string> DecodeCharset(std::string_view bytes, std::string_view charset) {
  if (MeansCodePage936(charset)) return DecodeCodePage(bytes, CodePage::kGbk);
  ConverterPtr converter = Open(charset);
  if (!converter) return std::nullopt;
  UErrorCode error = U_ZERO_ERROR;
  // A byte decodes to at most two UTF-16 units.
  std::u16string out(2 * bytes.size() + 1, u'\0');
  const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), bytes.data(),
                                       static_cast<int32_t>(bytes.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<size_t>(length));
  return out;
}

std::optional<Bytes> EncodeCharset(std::u16string_view text, std::string_view charset) {
  if (MeansCodePage936(charset)) return EncodeCodePage(text, CodePage::kGbk);
  ConverterPtr converter = Open(charset);
  if (!converter) return std::nullopt;
  UErrorCode error = U_ZERO_ERROR;
  ucnv_setSubstChars(converter.get(), "?", 1, &error);
  error = U_ZERO_ERROR;
  const auto* source = reinterpret_cast<const UChar*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  const int32_t needed = ucnv_fromUChars(converter.get(), nullptr, 0, source, length, &error);
  if (error != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(error)) return std::nullopt;
  Bytes out(static_cast<size_t>(needed), '\0');
  error = U_ZERO_ERROR;
  ucnv_fromUChars(converter.get(), out.data(), needed, source, length, &error);
  if (U_FAILURE(error) && error != U_STRING_NOT_TERMINATED_WARNING) return std::nullopt;
  return out;
}

}  // namespace qf
