#include "placement.h"

#include <algorithm>

namespace {

// Halving in 64 bits keeps odd or absurd screen sizes free of overflow.
int Centre(int screen, int window) {
  return static_cast<int>(static_cast<std::int64_t>(screen) / 2 - window / 2);
}

int Clamp(std::int32_t value, int screen, int window) {
  const std::int64_t last = static_cast<std::int64_t>(screen) - window;
  std::int64_t v = std::max<std::int64_t>(value, 0);
  if (v > last) v = last;
  return static_cast<int>(v);
}

}  // namespace

WindowOrigin DefaultOrigin(int screenWidth, int screenHeight) {
  // 349 / 2 and 366 / 2: 174 and 183.
  return {Centre(screenWidth, kMainWndWidth), Centre(screenHeight, kMainWndHeight)};
}

WindowOrigin PlaceMainWnd(std::optional<std::uint32_t> savedX, std::optional<std::uint32_t> savedY,
                          int screenWidth, int screenHeight) {
  const WindowOrigin centred = DefaultOrigin(screenWidth, screenHeight);
  const auto x = savedX ? static_cast<std::int32_t>(*savedX) : centred.x;
  const auto y = savedY ? static_cast<std::int32_t>(*savedY) : centred.y;
  return {Clamp(x, screenWidth, kMainWndWidth), Clamp(y, screenHeight, kMainWndHeight)};
}
