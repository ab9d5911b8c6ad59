// The typeface of every font the gadget makes, in the monitor window and in
// its buttons alike, and how a program adds it privately from its resources
// before the first font is made.
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

// Adds the RT_RCDATA resource `id` of `module`, a font file, to this process
// only. Returns the handle for RemoveFontMemResourceEx, or nullptr on failure;
// `count`, when given, receives the number of fonts added (0 on failure).
inline HANDLE AddFontFromResource(HMODULE module, WORD id, DWORD* count) {
  if (count) *count = 0;
  // RT_RCDATA, spelt wide: a parent program may build without UNICODE.
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
  if (!found) return nullptr;
  SetLastError(ERROR_SUCCESS);
  const DWORD size = SizeofResource(module, found);
  if (size == 0 && GetLastError() != ERROR_SUCCESS) return nullptr;
  const HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return nullptr;
  void* data = LockResource(loaded);
  if (!data) return nullptr;
  DWORD added = 0;
  const HANDLE handle = AddFontMemResourceEx(data, size, nullptr, &added);
  if (!handle) return nullptr;
  if (count) *count = added;
  return handle;
}
