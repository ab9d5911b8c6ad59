// Control messages: query, store, store-and-repaint; pairs as 16-bit halves.
#include "button_core.h"
#include "wbuttonex.h"

namespace bx {
namespace {

uint16_t Low16(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
uint16_t High16(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }

// The low 32 bits, as a 32-bit LPARAM would carry them.
int32_t Signed32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
uint32_t Unsigned32(int64_t v) { return static_cast<uint32_t>(v); }

// MAKELONG of the low 16 bits of both, as a LONG result.
intptr_t Pair(int32_t first, int32_t second) {
  const uint32_t packed = (static_cast<uint32_t>(second) & 0xFFFF) << 16 |
                          (static_cast<uint32_t>(first) & 0xFFFF);
  return static_cast<int32_t>(packed);
}

}  // namespace

bool ButtonCore::IsControlMessage(uint32_t msg) { return msg >= BXM_MODE && msg <= BXM_RANGE; }

void ButtonCore::SetPair(int32_t& first, int32_t& second, intptr_t lParam) {
  first = Low16(static_cast<uintptr_t>(lParam));
  second = High16(static_cast<uintptr_t>(lParam));
}

intptr_t ButtonCore::OnControlMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  const bool repaint = High16(wParam) != 0;

  if (msg == BXM_COLOR) {
    const uint16_t slot = Low16(wParam);
    if (slot <= BXC_DISABLED) f_.colors[slot] = Unsigned32(lParam);
    if (repaint) p_.invalidate();
    return 0;
  }

  const bool store = Low16(wParam) != 0;
  intptr_t result = 0;
  switch (msg) {
    case BXM_MODE:
      if (store) f_.mode = Signed32(lParam);
      result = f_.mode;
      break;
    case BXM_SKINSTYLE:
      if (store) f_.skinStyle = Signed32(lParam);
      result = f_.skinStyle;
      break;
    case BXM_SKINBITMAP:
      if (store) f_.skinId = Unsigned32(lParam);
      result = f_.skinId;
      break;
    case BXM_ICON1:
      if (store) f_.icon1Id = Unsigned32(lParam);
      result = f_.icon1Id;
      break;
    case BXM_ICON2:
      if (store) f_.icon2Id = Unsigned32(lParam);
      result = f_.icon2Id;
      break;
    case BXM_ICON1POS:
      if (store) SetPair(f_.icon1X, f_.icon1Y, lParam);
      result = Pair(f_.icon1X, f_.icon1Y);
      break;
    case BXM_ICON2POS:
      if (store) SetPair(f_.icon2X, f_.icon2Y, lParam);
      result = Pair(f_.icon2X, f_.icon2Y);
      break;
    case BXM_MARGIN:
      if (store) {
        f_.margin = Signed32(lParam);
        const Size client = p_.clientSize();
        const int64_t inset = 2 * int64_t{f_.margin};
        f_.hotArea = {f_.margin, f_.margin, Signed32(client.width - inset),
                      Signed32(client.height - inset)};
      }
      result = f_.margin;
      break;
    case BXM_TEXTX:
      if (store) f_.textX = Signed32(lParam);
      result = f_.textX;
      break;
    case BXM_CHECKED:
      if (store) f_.checked = Signed32(lParam);
      result = f_.checked;
      break;
    case BXM_AUTOTOGGLE:
      if (store) f_.autoToggle = Signed32(lParam);
      result = f_.autoToggle;
      break;
    case BXM_VALUE:
      if (store) f_.value = Signed32(lParam);
      result = f_.value;
      break;
    case BXM_RANGE:
      if (store) SetPair(f_.minValue, f_.maxValue, lParam);
      result = Pair(f_.minValue, f_.maxValue);
      break;
    default:
      return 0;
  }
  if (store && repaint) p_.invalidate();
  return result;
}

}  // namespace bx
