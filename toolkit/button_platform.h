// What the button's behaviour needs from the window system, for one control.
// Win32 supplies it in production; tests supply a simulated window system.
#pragma once

#include <cstdint>

namespace bx {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
};

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

class ButtonPlatform {
 public:
  virtual ~ButtonPlatform() = default;

  virtual Point cursorPos() = 0;                  // screen coordinates
  virtual bool isSelfAt(Point screen) = 0;        // the window under that point is this control
  virtual Point screenToClient(Point screen) = 0;
  virtual Size clientSize() = 0;                  // the client rectangle is (0, 0, width, height)

  virtual void setCapture() = 0;
  // Delivers the capture loss to its holder before it returns.
  virtual void releaseCapture() = 0;

  virtual void setTimer(uint32_t id, uint32_t periodMs) = 0;
  virtual void killTimer(uint32_t id) = 0;

  virtual void invalidate() = 0;                  // whole client area, no erase
  virtual void paintNow() = 0;                    // paints at once, outside WM_PAINT
  virtual bool isEnabled() = 0;
  virtual void setFocus() = 0;

  // Reports to the parent; its handler runs before these return.
  virtual void commandParent() = 0;
  virtual void notifyParent(uint32_t code) = 0;
};

}  // namespace bx
