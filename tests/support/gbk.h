// Writes code page 936 test texts from readable UTF-8 literals.
#pragma once

#include <string_view>

#include "text/code_page.h"

namespace qf::testing {

inline Text Gbk(std::string_view utf8) { return FromUtf8(utf8); }

}  // namespace qf::testing
