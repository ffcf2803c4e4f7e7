#include "net/charset_conversion.h"

#include "net/named_charset.h"
#include "text/code_page.h"

namespace qf {

Bytes ConvertCharset(std::string_view data, Text& fromCharset, Text& toCharset,
                     std::optional<int> readFrom) {
  if (fromCharset.empty()) fromCharset = "UTF-8";
  if (toCharset.empty()) toCharset = "GBK";
  const std::optional<std::u16string> decoded = DecodeCharset(data, fromCharset);
  if (!decoded) return Bytes();
  const Text detour = EncodeCodePage(*decoded, CodePage::kGbk);
  std::optional<Bytes> encoded = EncodeCharset(DecodeCodePage(detour, CodePage::kGbk), toCharset);
  if (!encoded) return Bytes();
  if (readFrom && *readFrom > 0) {
    encoded->erase(0, std::min(encoded->size(), static_cast<size_t>(*readFrom)));
  }
  return std::move(*encoded);
}

}  // namespace qf
