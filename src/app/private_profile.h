// Private-profile (INI) files: "[section]" lines and "key=value" lines, in code page 936.
//
// Section and key names match without regard to ASCII letter case; surrounding blanks (and a
// pair of double quotes around a value) are not part of a name or value. Writing replaces the
// key's line in place, or adds the key at the end of its section, or the section at the end of
// the file, and keeps every other line byte for byte. The file is replaced atomically: written
// beside, then renamed over, so a reader sees the old or the new file, never a mixture.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace qf {

// Values longer than this come back cut to it (the reader's buffer less its terminator).
inline constexpr size_t kProfileValueLimit = 10239;

// "" for a missing file, section or key.
Text ReadProfileString(const std::string& path, std::string_view section, std::string_view key);

// False when the file cannot be written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace qf
