// A bare monitor record equipped as the window's own: the gadget's fonts and
// pens, for drawing a face without a window.
#pragma once

#include <optional>

#include "load_math.h"
#include "main_window.h"
#include "support/zqtest.h"

namespace zqtest {

// Gives `data` the fonts and pens its window's record makes; the record
// deletes them.
void EquipForPainting(MainWndData& data);

// How a face is drawn: as the window paints it (a back buffer composed, then
// copied in one piece), or composed straight onto the canvas.
enum class Drawn { kComposed, kPainted };

// The window-sized face that the painting draws for `history`, in the
// gadget's typeface: on the artwork, or (composed) on a `flat` stand-in for
// it, on which smoothed text blends alike in every column.
Pixels ComposedFace(const LoadHistory& history, Drawn how = Drawn::kComposed, std::optional<COLORREF> flat = {});

}  // namespace zqtest
