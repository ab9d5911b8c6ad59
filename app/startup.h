// The process's start-up, message loop and teardown.
#pragma once

#include <windows.h>

// Runs the gadget: settings key, agreement gate, private typeface, window
// classes, the monitor window and the message loop. Always returns 0.
int RunGadget(HINSTANCE instance);
