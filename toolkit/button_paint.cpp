#include "button_paint.h"

#include <string>

#include "handles.h"
#include "wbuttonex.h"

namespace bx {
namespace {

constexpr int kCell = 37;    // framed skin: one state's cell
constexpr int kCorner = 18;  // corner size; column and row 18 stretch

HBITMAP LoadById(HMODULE module, uint32_t id) {
  return LoadBitmapW(module, MAKEINTRESOURCEW(id & 0xFFFF));
}

void Copy(HDC to, int x, int y, int w, int h, HDC from, int sx, int sy) {
  BitBlt(to, x, y, w, h, from, sx, sy, SRCCOPY);
}

void DrawFramedSkin(HDC dc, int w, int h, HDC skin, VisualState state) {
  const int r = kCell * state;
  const int right = w - kCorner;
  const int bottom = h - kCorner;
  Copy(dc, 0, 0, kCorner, kCorner, skin, 0, r);
  Copy(dc, right, 0, kCorner, kCorner, skin, kCorner + 1, r);
  Copy(dc, 0, bottom, kCorner, kCorner, skin, 0, r + kCorner + 1);
  Copy(dc, right, bottom, kCorner, kCorner, skin, kCorner + 1, r + kCorner + 1);
  for (int x = kCorner; x < right; ++x) {
    Copy(dc, x, 0, 1, kCorner, skin, kCorner, r);
    Copy(dc, x, bottom, 1, kCorner, skin, kCorner, r + kCorner + 1);
  }
  for (int y = kCorner; y < bottom; ++y) {
    Copy(dc, 0, y, kCorner, 1, skin, 0, r + kCorner);
    Copy(dc, right, y, kCorner, 1, skin, kCorner + 1, r + kCorner);
  }
  if (right > kCorner && bottom > kCorner) {
    const win32::UniqueBrush brush(CreateSolidBrush(GetPixel(skin, kCorner, r + kCorner)));
    const RECT centre{kCorner, kCorner, right, bottom};
    FillRect(dc, &centre, brush.get());
  }
}

// Where no skin can be drawn, a plain face rather than whatever a new bitmap holds.
void FillPlain(HDC dc, int w, int h) {
  const RECT all{0, 0, w, h};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
}

void DrawSkin(HDC dc, int w, int h, const ButtonLook& look) {
  const int style = look.fields.skinStyle;
  const HBITMAP bitmap = style == BXSKIN_FRAMED || style == BXSKIN_STRIP
                             ? LoadById(look.module, look.fields.skinId)
                             : nullptr;
  if (!bitmap) {
    FillPlain(dc, w, h);
    return;
  }
  const win32::BitmapDc skin(dc, bitmap);
  if (style == BXSKIN_FRAMED) {
    DrawFramedSkin(dc, w, h, skin.dc(), look.state);
  } else {
    Copy(dc, 0, 0, w, h, skin.dc(), 0, look.state * h);
  }
}

// Icons: four states of equal height stacked; only one source bitmap is
// loaded at a time.
void DrawIcon(HDC dc, int w, const ButtonLook& look, uint32_t id, int x, int y, bool fromRight) {
  const HBITMAP bitmap = LoadById(look.module, id);
  if (!bitmap) return;
  const win32::BitmapDc icon(dc, bitmap);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  const int h = info.bmHeight / 4;
  if (fromRight) x = w - x - info.bmWidth;
  Copy(dc, x, y, info.bmWidth, h, icon.dc(), 0, look.state * h);
}

void DrawIcons(HDC dc, int w, const ButtonLook& look) {
  const ButtonFields& f = look.fields;
  const bool toggle = f.mode == BXMODE_TOGGLE;
  // In toggle mode the first icon shows while unchecked, the second while checked.
  if (f.icon1Id != 0 && !(toggle && f.checked)) DrawIcon(dc, w, look, f.icon1Id, f.icon1X, f.icon1Y, false);
  if (f.icon2Id != 0 && !(toggle && !f.checked))
    DrawIcon(dc, w, look, f.icon2Id, f.icon2X, f.icon2Y, !toggle);
}

void DrawLabel(HDC dc, int w, int h, const ButtonLook& look) {
  if (look.text.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.fields.colors[look.state]);
  const win32::SelectionGuard font(dc, look.font);
  const int textX = look.fields.textX;
  RECT box{textX == -1 ? 0 : textX, 0, w, h};
  const UINT format = textX == -1 ? DT_CENTER | DT_VCENTER | DT_SINGLELINE : DT_VCENTER | DT_SINGLELINE;
  DrawTextW(dc, look.text.data(), static_cast<int>(look.text.size()), &box, format);
}

}  // namespace

void ComposeButton(HDC dc, int width, int height, const ButtonLook& look) {
  DrawSkin(dc, width, height, look);
  DrawIcons(dc, width, look);
  DrawLabel(dc, width, height, look);
}

std::wstring ReadButtonText(HWND hwnd) {
  wchar_t text[128] = {};
  const int n = GetWindowTextW(hwnd, text, 128);
  return std::wstring(text, n > 0 ? n : 0);
}

}  // namespace bx
