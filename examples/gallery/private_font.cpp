#include "private_font.h"

PrivateFont::PrivateFont(int resourceId) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return;
  const HGLOBAL loaded = LoadResource(module, found);
  void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return;
  DWORD count = 0;
  handle_ = AddFontMemResourceEx(data, SizeofResource(module, found), nullptr, &count);
}

PrivateFont::~PrivateFont() {
  if (handle_) RemoveFontMemResourceEx(handle_);
}
