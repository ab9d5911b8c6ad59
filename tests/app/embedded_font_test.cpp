// The typeface resource, added privately, really is the face the fonts ask for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "embedded_font.h"

namespace {

std::wstring FaceOfFontNamed(const wchar_t* face, LONG height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  const HFONT font = CreateFontIndirectW(&lf);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return name;
}

// Each probe uses a height of its own: Wine keeps the mapping of a recently
// deleted font and would hand back the earlier answer for the same LOGFONT.
TEST(EmbeddedFont, AddsTheFaceThatFontsAskFor) {
  EXPECT_NE(FaceOfFontNamed(L"Bebas Neue Regular", 17), L"Bebas Neue Regular")
      << "the face must not be installed on the system, or this test proves nothing";
  {
    EmbeddedFont font;
    ASSERT_NE(font.handle(), nullptr);
    EXPECT_GE(font.count(), 1u);
    EXPECT_EQ(FaceOfFontNamed(L"Bebas Neue Regular", 18), L"Bebas Neue Regular");
    EXPECT_EQ(FaceOfFontNamed(L"Bebas Neue Regular", 26), L"Bebas Neue Regular");
  }
}

TEST(EmbeddedFont, CountIsOptional) {
  const HANDLE handle = LoadEmbeddedFont(nullptr);
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(RemoveFontMemResourceEx(handle));
}

}  // namespace
