// A bare monitor record equipped as the window's own: the gadget's fonts and
// pens, for drawing a face without a window.
#pragma once

#include "main_window.h"

namespace zqtest {

// Gives `data` the fonts and pens its window's record makes; the record
// deletes them.
void EquipForPainting(MainWndData& data);

}  // namespace zqtest
