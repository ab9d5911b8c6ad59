#include "painting.h"

#include <optional>

#include "gdi_guards.h"
#include "placement.h"
#include "resource.h"

namespace {

constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Plain decimal, no sign, no padding: "0" to "100".
void FormatPercent(std::uint8_t value, wchar_t (&text)[12]) {
  wchar_t digits[4];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
    value = static_cast<std::uint8_t>(value / 10);
  } while (value != 0);
  for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  text[n] = L'\0';
}

void DrawCentred(HDC dc, const wchar_t* text, COLORREF colour, RECT rect) {
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &rect, kTextFormat);
}

// A bar of `value` one-pixel lines from the base upwards; a line stops short
// of its end point, so v paints rows 313 - v to 312 and 0 paints nothing.
void DrawBarLine(HDC dc, HPEN pen, int x, int value) {
  SelectObject(dc, pen);
  MoveToEx(dc, x, face::kBarBase, nullptr);
  LineTo(dc, x, face::kBarBase - value);
}

void DrawColumn(HDC dc, const MainWndData& data, int i) {
  const LoadSample sample = data.history[static_cast<std::size_t>(i)];
  wchar_t cpuText[12];
  wchar_t memText[12];
  FormatPercent(sample.cpu, cpuText);
  FormatPercent(sample.mem, memText);
  for (int k = 0; k < face::kBarWidth; ++k) {
    DrawBarLine(dc, data.hCpuPen, face::CpuBarLeft(i) + k, sample.cpu);
    DrawBarLine(dc, data.hMemPen, face::MemBarLeft(i) + k, sample.mem);
  }
  DrawCentred(dc, cpuText, kCpuColour, face::CpuLabel(i));
  DrawCentred(dc, memText, kMemColour, face::MemLabel(i));
}

}  // namespace

LOGFONTW GadgetLogFont(LONG height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
  static_assert(sizeof kGadgetFaceName <= sizeof lf.lfFaceName);
  for (std::size_t i = 0; i < sizeof kGadgetFaceName / sizeof(wchar_t); ++i)
    lf.lfFaceName[i] = kGadgetFaceName[i];
  return lf;
}

HFONT CreateGadgetFont(LONG height) {
  const LOGFONTW lf = GadgetLogFont(height);
  return CreateFontIndirectW(&lf);
}

HPEN CreateSeriesPen(COLORREF colour) {
  return CreatePen(PS_SOLID, 1, colour);
}

HBITMAP LoadBackground() {
  return LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACKGROUND));
}

void ComposeFrame(HDC target, HDC background, const MainWndData& data) {
  BitBlt(target, 0, 0, kMainWndWidth, kMainWndHeight, background, 0, 0, SRCCOPY);
  SetBkMode(target, TRANSPARENT);

  const KeepSelection initialFont(target, OBJ_FONT);
  const KeepSelection initialPen(target, OBJ_PEN);
  SelectObject(target, data.hLargeFont);

  wchar_t cpuText[12];
  wchar_t memText[12];
  FormatPercent(data.history[0].cpu, cpuText);
  FormatPercent(data.history[0].mem, memText);
  DrawCentred(target, cpuText, kCpuColour, face::kCpuReading);
  DrawCentred(target, memText, kMemColour, face::kMemReading);

  SelectObject(target, data.hSmallFont);
  for (int i = 0; i < face::kColumns; ++i) DrawColumn(target, data, i);
}

void ComposeFrame(HDC target, const MainWndData& data) {
  const BitmapDc background(target, LoadBackground());
  ComposeFrame(target, background.get(), data);
}

void PaintFrame(HDC window, int width, int height, const MainWndData& data) {
  // The background is loaded before the back buffer is made: the loader's
  // scratch memory is then free again when the buffer's pixels are taken,
  // so a paint holds two frames' worth of memory at most, not three.
  std::optional<BitmapDc> background(std::in_place, window, LoadBackground());
  const BitmapDc buffer(window, CreateCompatibleBitmap(window, width, height));
  ComposeFrame(buffer.get(), background->get(), data);
  BitBlt(window, 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
  background.reset();  // the artwork is released first, then the buffer
}

LRESULT MainWndData::OnPaint() {
  const PaintGuard paint(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  PaintFrame(paint.dc(), client.right, client.bottom, *this);
  return 0;
}
