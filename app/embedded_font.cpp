#include "embedded_font.h"

#include "gadget_face.h"
#include "resource.h"

HANDLE LoadEmbeddedFont(DWORD* count) {
  return AddFontFromResource(GetModuleHandleW(nullptr), IDR_FONT, count);
}
