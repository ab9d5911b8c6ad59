#include "support/painting_record.h"

#include "painting.h"

namespace zqtest {

void EquipForPainting(MainWndData& data) {
  data.hSmallFont = CreateGadgetFont(kSmallFontHeight);
  data.hLargeFont = CreateGadgetFont(kLargeFontHeight);
  data.hCpuPen = CreateSeriesPen(kCpuColour);
  data.hMemPen = CreateSeriesPen(kMemColour);
}

}  // namespace zqtest
