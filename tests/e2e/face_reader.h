// The gadget's face as the driver sees it on the screen: the history that its
// chart's bars show (one pixel a percent), and the whole face that the
// gadget's own painting composes for that history, to compare pixel for
// pixel.
#pragma once

#include <optional>

#include "load_math.h"
#include "support/painting_record.h"
#include "support/zqtest.h"

namespace e2e {

// The ten samples whose bars stand in `face` (the window's 349 x 366
// pixels), newest first; nothing where a bar is taller than 100.
std::optional<LoadHistory> ChartHistory(const zqtest::Pixels& face);

// Whether `face` is exactly the painting of the history its chart shows;
// `differ`, when given, gets how many pixels are off.
bool FaceIsPainted(const zqtest::Pixels& face, int* differ = nullptr);

// How many pixels differ between two pictures of the same size.
int DifferingPixels(const zqtest::Pixels& a, const zqtest::Pixels& b);

}  // namespace e2e
