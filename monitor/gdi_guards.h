// Scoped GDI ownership: each object is released at the end of its scope,
// in reverse order of acquisition.
#pragma once

#include <windows.h>

// Puts back, at the end of its scope, the object of one type (OBJ_FONT,
// OBJ_PEN, ...) that the DC holds now, whatever was selected in between.
class KeepSelection {
 public:
  KeepSelection(HDC dc, UINT type) : dc_(dc), kept_(GetCurrentObject(dc, type)) {}
  ~KeepSelection() {
    if (kept_) SelectObject(dc_, kept_);
  }
  KeepSelection(const KeepSelection&) = delete;
  KeepSelection& operator=(const KeepSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ kept_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// A memory DC with a bitmap selected into it, owning both. The bitmap is
// declared first, so it outlives the DC: the DC goes first, releasing the
// selection, and only then the bitmap.
class BitmapDc {
 public:
  BitmapDc(HDC compatibleWith, HBITMAP bitmap) : bitmap_(bitmap), dc_(compatibleWith) {
    if (bitmap) SelectObject(dc_.get(), bitmap);
  }
  HDC get() const { return dc_.get(); }

 private:
  GdiObject bitmap_;
  MemoryDc dc_;
};

class PaintGuard {
 public:
  explicit PaintGuard(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintGuard() { EndPaint(window_, &ps_); }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};
