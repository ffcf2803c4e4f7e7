// Numbers written the way the script language writes them.
#pragma once

#include <string>

namespace qf {

// The shortest text that reads back as `value`, in the script's number-to-string form: "12345",
// "0.5", "1e+21", "1.5e-7", "NaN", "Infinity"; -0 is "0".
std::string JsNumberToString(double value);

// `value` with 13 significant digits in the shortest form (printf's "%.13g").
std::string ThirteenDigits(double value);

}  // namespace qf
