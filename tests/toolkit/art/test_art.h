/* Ids and tags of the painting tests' bitmaps (make_test_art.py), and what a
   pixel of them tells. */
#ifndef ZQ_TESTS_TOOLKIT_TEST_ART_H
#define ZQ_TESTS_TOOLKIT_TEST_ART_H

#define IDB_TEST_FRAMED    0x2001
#define IDB_TEST_STRIP35   0x2002
#define IDB_TEST_STRIP100  0x2003
#define IDB_TEST_ICON1     0x2004
#define IDB_TEST_ICON2     0x2005

#define TAG_FRAMED   200
#define TAG_STRIP35  150
#define TAG_STRIP100 160
#define TAG_ICON1    101
#define TAG_ICON2    102

#ifndef RC_INVOKED
#include <windows.h>

#include <ostream>

namespace zqtest {

/* The test artwork's pixel (x, y) of the bitmap with blue `tag` is RGB(x, y, tag). */
struct Source {
  int tag;
  int x;
  int y;
  bool operator==(const Source&) const = default;
};

inline Source SourceOf(COLORREF c) { return {GetBValue(c), GetRValue(c), GetGValue(c)}; }

inline std::ostream& operator<<(std::ostream& os, const Source& s) {
  return os << "{tag " << s.tag << ", " << s.x << ", " << s.y << "}";
}

}  // namespace zqtest
#endif

#endif
