// The record of one WButtonEx window: its behaviour bound to Win32.
#pragma once

#include <windows.h>

#include "button_core.h"
#include "handles.h"

namespace bx {

struct ButtonData;

class Win32ButtonPlatform final : public ButtonPlatform {
 public:
  explicit Win32ButtonPlatform(ButtonData& record);

  Point cursorPos() override;
  bool isSelfAt(Point screen) override;
  Point screenToClient(Point screen) override;
  Size clientSize() override;
  void setCapture() override;
  void releaseCapture() override;
  void setTimer(uint32_t id, uint32_t periodMs) override;
  void killTimer(uint32_t id) override;
  void invalidate() override;
  void paintNow() override;
  bool isEnabled() override;
  void setFocus() override;
  void commandParent() override;
  void notifyParent(uint32_t code) override;

 private:
  ButtonData& record_;
  HWND hwnd_;
};

struct ButtonData {
  explicit ButtonData(HWND window);

  HWND hwnd;
  win32::UniqueFont font;
  Win32ButtonPlatform platform;
  ButtonCore core;  // after the platform, which it uses from the start
};

// Composes the control and copies it to `target` in one piece.
void PaintButton(ButtonData& record, HDC target);

}  // namespace bx
