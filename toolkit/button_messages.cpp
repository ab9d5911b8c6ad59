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

// Where one message's value lives: an unsigned field, a signed one, or a pair
// of signed fields. Only the result's widening differs between the first two.
struct Field {
  uint32_t msg;
  uint32_t ButtonFields::*id = nullptr;     // unsigned, zero-extended
  int32_t ButtonFields::*first = nullptr;   // signed, or the pair's first half
  int32_t ButtonFields::*second = nullptr;  // the pair's second half

  void Store(ButtonFields& f, intptr_t lParam) const {
    if (id) {
      f.*id = Unsigned32(lParam);
    } else if (second) {
      f.*first = Low16(static_cast<uintptr_t>(lParam));
      f.*second = High16(static_cast<uintptr_t>(lParam));
    } else {
      f.*first = Signed32(lParam);
    }
  }
  intptr_t Load(const ButtonFields& f) const {
    if (id) return f.*id;
    return second ? Pair(f.*first, f.*second) : f.*first;
  }
};

// BXM_MARGIN and BXM_COLOR do more than store, so they are not here.
constexpr Field kFields[] = {
    {BXM_MODE, nullptr, &ButtonFields::mode},
    {BXM_SKINSTYLE, nullptr, &ButtonFields::skinStyle},
    {BXM_SKINBITMAP, &ButtonFields::skinId},
    {BXM_ICON1, &ButtonFields::icon1Id},
    {BXM_ICON2, &ButtonFields::icon2Id},
    {BXM_ICON1POS, nullptr, &ButtonFields::icon1X, &ButtonFields::icon1Y},
    {BXM_ICON2POS, nullptr, &ButtonFields::icon2X, &ButtonFields::icon2Y},
    {BXM_TEXTX, nullptr, &ButtonFields::textX},
    {BXM_CHECKED, nullptr, &ButtonFields::checked},
    {BXM_AUTOTOGGLE, nullptr, &ButtonFields::autoToggle},
    {BXM_VALUE, nullptr, &ButtonFields::value},
    {BXM_RANGE, nullptr, &ButtonFields::minValue, &ButtonFields::maxValue},
};

const Field* FieldOf(uint32_t msg) {
  for (const Field& field : kFields)
    if (field.msg == msg) return &field;
  return nullptr;
}

}  // namespace

bool ButtonCore::IsControlMessage(uint32_t msg) { return msg >= BXM_MODE && msg <= BXM_RANGE; }

intptr_t ButtonCore::OnControlMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  const bool repaint = High16(wParam) != 0;

  if (msg == BXM_COLOR) {
    const uint16_t slot = Low16(wParam);
    if (slot <= BXC_DISABLED) f_.colors[slot] = Unsigned32(lParam);
    if (repaint) p_.invalidate();
    return 0;
  }

  const bool store = Low16(wParam) != 0;
  const Field* field = FieldOf(msg);
  if (msg == BXM_MARGIN) {
    if (store) {
      f_.margin = Signed32(lParam);
      const Size client = p_.clientSize();
      const int64_t inset = 2 * int64_t{f_.margin};
      f_.hotArea = {f_.margin, f_.margin, Signed32(client.width - inset), Signed32(client.height - inset)};
    }
  } else if (!field) {
    return 0;
  } else if (store) {
    field->Store(f_, lParam);
  }
  if (store && repaint) p_.invalidate();
  return field ? field->Load(f_) : f_.margin;
}

}  // namespace bx
