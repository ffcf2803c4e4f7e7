// Steps the requesters share.
#pragma once

#include <string_view>

#include "net/request_options.h"
#include "text/text.h"

namespace qf {

// The caller's variable behind an out field, or `scratch` when the field is absent.
template <typename T>
T& FieldOr(T* field, T& scratch) {
  return field != nullptr ? *field : scratch;
}

// Appends `line` when `probe` occurs nowhere in `block`, letter case ignored.
void AppendIfMissing(Text& block, std::string_view probe, std::string_view line);

// `cookiesOut` = the cookies `headerBlock` sets; then, when merging and `cookies` is present,
// both become the merge of the two. In this order, so a caller naming one variable for both
// ends with the response's cookies alone.
void SettleResponseCookies(RequestOptions& options, std::string_view headerBlock);

// The time-out of one phase as libcurl takes it: whole seconds without data, at least one.
long IdleSeconds(long milliseconds);

}  // namespace qf
