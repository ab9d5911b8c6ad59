#include "painting.h"

#include <string>

#include "handles.h"
#include "painting_steps.h"
#include "placement.h"
#include "resource.h"

namespace {

constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// A percentage in plain decimal, "0" to "100", short enough for the string's
// own buffer, so a paint allocates nothing for it.
void DrawCentred(HDC dc, std::uint8_t percent, COLORREF colour, RECT rect) {
  SetTextColor(dc, colour);
  DrawTextW(dc, std::to_wstring(percent).c_str(), -1, &rect, kTextFormat);
}

// A sample's two figures, each centred in its rectangle in its series' colour.
void DrawFigures(HDC dc, LoadSample sample, RECT cpuRect, RECT memRect) {
  DrawCentred(dc, sample.cpu, kCpuColour, cpuRect);
  DrawCentred(dc, sample.mem, kMemColour, memRect);
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
  for (int k = 0; k < face::kBarWidth; ++k) {
    DrawBarLine(dc, data.hCpuPen, face::CpuBarLeft(i) + k, sample.cpu);
    DrawBarLine(dc, data.hMemPen, face::MemBarLeft(i) + k, sample.mem);
  }
  DrawFigures(dc, sample, face::CpuLabel(i), face::MemLabel(i));
}

}  // namespace

HPEN CreateSeriesPen(COLORREF colour) {
  return CreatePen(PS_SOLID, 1, colour);
}

HBITMAP LoadBackground() {
  return LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACKGROUND));
}

void CopyBackground(HDC target, HDC background) {
  BitBlt(target, 0, 0, kMainWndWidth, kMainWndHeight, background, 0, 0, SRCCOPY);
}

void DrawReadings(HDC target, const MainWndData& data) {
  SelectObject(target, data.hLargeFont);
  DrawFigures(target, data.history[0], face::kCpuReading, face::kMemReading);
}

void DrawChart(HDC target, const MainWndData& data) {
  SelectObject(target, data.hSmallFont);
  for (int i = 0; i < face::kColumns; ++i) DrawColumn(target, data, i);
}

void ComposeFrame(HDC target, HDC background, const MainWndData& data) {
  CopyBackground(target, background);
  SetBkMode(target, TRANSPARENT);
  // The fonts and pens belong to the record: the target gets its own back.
  const auto initialFont = win32::SelectionGuard::Keep(target, OBJ_FONT);
  const auto initialPen = win32::SelectionGuard::Keep(target, OBJ_PEN);
  DrawReadings(target, data);
  DrawChart(target, data);
}

void ComposeFrame(HDC target, const MainWndData& data) {
  const win32::BitmapDc background(target, LoadBackground());
  ComposeFrame(target, background.dc(), data);
}

void PaintFrame(HDC window, int width, int height, const MainWndData& data) {
  // The background is loaded before the back buffer is made: the loader's
  // scratch memory is then free again when the buffer's pixels are taken,
  // so a paint holds two frames' worth of memory at most, not three.
  win32::BitmapDc background(window, LoadBackground());
  const win32::BitmapDc buffer(window, CreateCompatibleBitmap(window, width, height));
  ComposeFrame(buffer.dc(), background.dc(), data);
  BitBlt(window, 0, 0, width, height, buffer.dc(), 0, 0, SRCCOPY);
  background.reset();  // the artwork is released first, then the buffer
}

LRESULT MainWndData::OnPaint() {
  const win32::PaintGuard paint(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  PaintFrame(paint.dc(), client.right, client.bottom, *this);
  return 0;
}
