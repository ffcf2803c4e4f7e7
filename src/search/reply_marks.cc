#include "search/reply_marks.h"

#include "text/script_unescape.h"

namespace qf {

const Text& FilmMark() {
  static const Text mark = ScriptUnescape("%ue231");
  return mark;
}
const Text& LinkMark() {
  static const Text mark = ScriptUnescape("%ue03D");
  return mark;
}
const Text& MoreMark() {
  static const Text mark = ScriptUnescape("%ue252");
  return mark;
}
const Text& ClosingMark() {
  static const Text mark = ScriptUnescape("%ue22F");
  return mark;
}

}  // namespace qf
