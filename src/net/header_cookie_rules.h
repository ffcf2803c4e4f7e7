// How the three requesters treat request header blocks and cookies: re-casing a caller's block,
// splitting a line into name and value, collecting the cookies a response sets and merging them
// into the cookie text that was sent, so one cookie text can be carried from request to request.
//
// A header block is lines separated by CR LF. A cookie text is name=value items separated by
// "; " (or ";"); an item ending in "=deleted" stands for a removed cookie. All of it is code page
// 936 text, searched a character at a time.
#pragma once

#include <string_view>
#include <vector>

#include "text/text.h"

namespace qf {

// Drops lines without ":", capitalises the first letter of each "-"-separated piece of every
// name, keeps values as they are, and joins the lines by CR LF.
Text NormaliseHeaderBlock(std::string_view block);
Text CapitaliseFirst(std::string_view text);

// The trimmed text before / after the first ":" of one line; "" without a ":".
Text HeaderName(std::string_view line);
Text HeaderValue(std::string_view line);

// The first name=value pair of every line named exactly "Set-Cookie", joined by "; ".
Text CollectResponseCookies(std::string_view headerBlock);

// New items first, then the old items whose names the new ones lack; removed cookies dropped,
// repeats dropped, spaces removed. Writes the result into `sent` (and the space-less text into
// `received`) and returns it. `sent` and `received` may be the same variable.
Text MergeCookies(Text& sent, Text& received);

Text CookieName(std::string_view item);
bool HasCookieName(const std::vector<Text>& items, std::string_view name);
Text RemoveDuplicateItems(std::string_view text, std::string_view delimiter);
// 1-based index of the first element equal to `text`; -1 when none.
int FindItem(const std::vector<Text>& items, std::string_view text);

// Shared text rules of the requesters.
// Pieces between delimiters: an empty text gives none, a trailing delimiter no empty last piece.
std::vector<Text> SplitText(std::string_view text, std::string_view delimiter);
// ASCII spaces and full-width spaces off both ends.
Text TrimSpaces(std::string_view text);
// Every ASCII space and full-width space removed.
Text RemoveAllSpaces(std::string_view text);
// Whether `needle` occurs in `text`, ASCII letter case ignored.
bool ContainsIgnoringCase(std::string_view text, std::string_view needle);

}  // namespace qf
