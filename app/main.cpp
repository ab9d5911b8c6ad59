#include <windows.h>

#include "startup.h"

// The command line and the show state are not used: the gadget takes no
// arguments and always shows its window.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RunGadget(instance);
  return 0;
}
