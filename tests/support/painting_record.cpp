#include "support/painting_record.h"

#include "embedded_font.h"
#include "painting.h"
#include "placement.h"

namespace zqtest {

void EquipForPainting(MainWndData& data) {
  data.hSmallFont = CreateGadgetFont(kSmallFontHeight);
  data.hLargeFont = CreateGadgetFont(kLargeFontHeight);
  data.hCpuPen = CreateSeriesPen(kCpuColour);
  data.hMemPen = CreateSeriesPen(kMemColour);
}

Pixels ComposedFace(const LoadHistory& history, Drawn how, std::optional<COLORREF> flat) {
  static const EmbeddedFont typeface;
  MainWndData data;
  EquipForPainting(data);
  data.history = history;
  Canvas canvas(kMainWndWidth, kMainWndHeight), art(kMainWndWidth, kMainWndHeight);
  art.Fill(flat.value_or(0));
  if (how == Drawn::kPainted) PaintFrame(canvas.dc(), canvas.width, canvas.height, data);
  else if (flat) ComposeFrame(canvas.dc(), art.dc(), data);
  else ComposeFrame(canvas.dc(), data);
  return canvas.Read();
}

}  // namespace zqtest
