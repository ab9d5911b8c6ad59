// The monitor window's buttons and their commands.
#include "main_window.h"

LRESULT MainWndData::OnCreate() {
  return 0;
}

LRESULT MainWndData::OnCommand(WPARAM) {
  return 0;
}
