#include "embedded_font.h"

#include "resource.h"

HANDLE LoadEmbeddedFont(DWORD* count) {
  if (count) *count = 0;
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_FONT), MAKEINTRESOURCEW(10));
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
