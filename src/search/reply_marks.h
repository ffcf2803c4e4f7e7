// The private-use characters that mark the lines of a movie list. They live in code page 936's
// user-defined area and reach the follower's client as U+E231, U+E03D, U+E252 and U+E22F.
#pragma once

#include "text/text.h"

namespace qf {

const Text& FilmMark();     // U+E231
const Text& LinkMark();     // U+E03D
const Text& MoreMark();     // U+E252
const Text& ClosingMark();  // U+E22F

}  // namespace qf
