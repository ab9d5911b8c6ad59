// Runs the real monitor window with its message loop, as start-up will,
// for the tests and scripts that drive it from outside (xdotool, screenshots).
#include <windows.h>

#include "embedded_font.h"
#include "main_window.h"
#include "support/zqtest.h"

int wmain() {
  const zqtest::ScratchUserHive hive;
  if (!hive.ok()) return 3;
  const EmbeddedFont typeface;
  if (!RegisterMainWndClass()) return 1;
  if (!CreateMainWnd()) return 2;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
