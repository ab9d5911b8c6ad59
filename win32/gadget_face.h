// The typeface of every font the gadget makes, in the monitor window and in
// its buttons alike. The process adds the face privately before the first
// font is made.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr wchar_t kGadgetFaceName[] = L"Bebas Neue Regular";

// The fonts differ only in their height, a cell height in pixels.
inline LOGFONTW GadgetLogFont(LONG height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
  static_assert(sizeof kGadgetFaceName <= sizeof lf.lfFaceName);
  for (std::size_t i = 0; i < sizeof kGadgetFaceName / sizeof(wchar_t); ++i) lf.lfFaceName[i] = kGadgetFaceName[i];
  return lf;
}

inline HFONT CreateGadgetFont(LONG height) {
  const LOGFONTW lf = GadgetLogFont(height);
  return CreateFontIndirectW(&lf);
}
