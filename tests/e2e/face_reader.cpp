#include "face_reader.h"

#include "painting.h"
#include "placement.h"

namespace e2e {

namespace {

// The height of the bar of `colour` standing on the base at column `x`.
int BarHeight(const zqtest::Pixels& face, int x, COLORREF colour) {
  int height = 0;
  while (height <= 100 && face.At(x, face::kBarBase - height) == colour) ++height;
  return height;
}

}  // namespace

std::optional<LoadHistory> ChartHistory(const zqtest::Pixels& face) {
  if (face.width != kMainWndWidth || face.height != kMainWndHeight) return std::nullopt;
  LoadHistory history{};
  for (int i = 0; i < face::kColumns; ++i) {
    const int cpu = BarHeight(face, face::CpuBarLeft(i), kCpuColour);
    const int mem = BarHeight(face, face::MemBarLeft(i), kMemColour);
    if (cpu > 100 || mem > 100) return std::nullopt;
    history[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(cpu), static_cast<std::uint8_t>(mem)};
  }
  return history;
}

bool FaceIsPainted(const zqtest::Pixels& face, int* differ) {
  const auto history = ChartHistory(face);
  const int off = history ? DifferingPixels(face, zqtest::ComposedFace(*history, zqtest::Drawn::kPainted))
                          : face.width * face.height;
  if (differ) *differ = off;
  return off == 0;
}

int DifferingPixels(const zqtest::Pixels& a, const zqtest::Pixels& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  return zqtest::InkOf(a, b, {0, 0, a.width, a.height}, 0).count;
}

}  // namespace e2e
