// Where the monitor window goes on the primary screen: centred by default,
// at its saved place when there is one, and always pulled back on screen.
#pragma once

#include <cstdint>
#include <optional>

inline constexpr int kMainWndWidth = 349;
inline constexpr int kMainWndHeight = 366;

struct WindowOrigin {
  int x = 0;
  int y = 0;
  friend bool operator==(const WindowOrigin&, const WindowOrigin&) = default;
};

// Centred on a screen of the given size, halves rounded down.
WindowOrigin DefaultOrigin(int screenWidth, int screenHeight);

// The saved coordinates (raw registry words, read as signed) where present,
// the centred default for each one missing; then clamped: the left and top
// edges first, then the right and bottom ones, which win on a screen smaller
// than the window.
WindowOrigin PlaceMainWnd(std::optional<std::uint32_t> savedX, std::optional<std::uint32_t> savedY,
                          int screenWidth, int screenHeight);
