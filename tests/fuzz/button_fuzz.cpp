// Random sequences of pointer moves, presses, releases (routed as the
// system routes them, or sent straight to a control), clock advances,
// capture thefts, enabling, resizing, creation and destruction, and every
// control message with random parameters, against WButtonEx controls on the
// simulated window system. The parent acts inside reports too: it destroys,
// disables or reconfigures controls and takes the capture itself.
//
// After every event: no call reached a destroyed window, no destroyed
// control has a timer, a control in modes 0..3 shows pressed only while it
// holds the capture (unless the parent took the capture inside a report),
// hover and its poll timer go together, and every spin step leaves the
// value within the range when min <= max.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "sim_desktop.h"
#include "wbuttonex.h"

namespace {

constexpr std::size_t kMaxWindows = 4;
constexpr int kMaxReportDepth = 6;

[[noreturn]] void Broken(const char* what, const sim::Window* w) {
  std::fprintf(stderr, "invariant broken: %s (window %d)\n", what, w ? w->id : -1);
  std::abort();
}

class Session {
 public:
  explicit Session(FuzzedDataProvider& in) : in_(in), parent_(desktop_, 0, 0, 0, 0, 0) {
    desktop_.onReport = [this](sim::Window& from, sim::Report report) { OnReport(from, report); };
    const int count = in_.ConsumeIntegralInRange<int>(1, 3);
    for (int i = 0; i < count; ++i) Create();
  }

  void Run() {
    while (in_.remaining_bytes() > 0) {
      Event();
      Check();
      desktop_.log.clear();
    }
  }

 private:
  enum class Phase { Other, Advance, Release };

  sim::Window* Pick() {
    if (desktop_.windows.empty()) return nullptr;
    const auto i = in_.ConsumeIntegralInRange<std::size_t>(0, desktop_.windows.size() - 1);
    return desktop_.windows[i].get();
  }
  sim::Window* PickAlive() {
    sim::Window* w = Pick();
    return w && w->Alive() ? w : nullptr;
  }

  void Create() {
    if (desktop_.windows.size() >= kMaxWindows) return;
    const int id = static_cast<int>(desktop_.windows.size()) + 1;
    const int x = in_.ConsumeIntegralInRange<int>(0, 100);
    const int y = in_.ConsumeIntegralInRange<int>(0, 100);
    const int width = in_.ConsumeIntegralInRange<int>(0, 60);
    const int height = in_.ConsumeIntegralInRange<int>(0, 60);
    sim::Window& w = desktop_.Create(id, x, y, width, height);
    // Start most controls in a real mode with a range, as parents do.
    w.Set(BXM_MODE, in_.ConsumeIntegralInRange<int>(-1, 5));
    w.Set(BXM_RANGE, sim::Pair(in_.ConsumeIntegralInRange<int>(0, 20), in_.ConsumeIntegralInRange<int>(0, 120)));
  }

  // Any control message, and neighbours that are none, with any parameters;
  // the set, set-and-repaint and query forms come up often.
  void RandomMessage(sim::Window& w) {
    const auto msg = in_.ConsumeIntegralInRange<uint32_t>(BXM_MODE - 1, BXM_RANGE + 1);
    uintptr_t wParam = 0;
    switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
      case 0: wParam = 0; break;
      case 1: wParam = 1; break;
      case 2: wParam = 0x10001; break;
      default: wParam = in_.ConsumeIntegral<uintptr_t>(); break;
    }
    const intptr_t lParam = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<intptr_t>(-3, 130)
                                              : in_.ConsumeIntegral<intptr_t>();
    w.Send(msg, wParam, lParam);
  }

  // The parent's handler of WM_COMMAND and WM_NOTIFY.
  void OnReport(sim::Window& from, sim::Report report) {
    if (report == sim::Report::Command) CheckSpinStep(from);
    if (depth_ >= kMaxReportDepth) return;
    ++depth_;
    switch (in_.ConsumeIntegralInRange<int>(0, 11)) {
      case 0:
        desktop_.Destroy(from);
        break;
      case 1:
        if (sim::Window* w = Pick()) desktop_.Destroy(*w);
        break;
      case 2:
        desktop_.Enable(from, false);
        break;
      case 3:
        desktop_.Enable(from, true);
        break;
      case 4:
        reconfigured_ = true;
        RandomMessage(from);
        break;
      case 5:
        reconfigured_ = true;
        from.Set(BXM_MODE, in_.ConsumeIntegralInRange<int>(0, 4));
        break;
      case 6:
        // The parent takes the capture itself.
        parentTookCapture_ = true;
        desktop_.TakeCapture(&parent_);
        break;
      case 7:
        desktop_.TakeCapture(nullptr);
        break;
      default:
        break;  // most reports are only read
    }
    --depth_;
  }

  // A COMMAND that follows a spin step: every repeat tick, and a release in
  // spin mode before the first repeat. Nothing runs between the step's
  // clamp and its report.
  void CheckSpinStep(sim::Window& w) {
    if (!w.record) return;
    const bx::ButtonFields& f = w.record->fields();
    const bool stepped = phase_ == Phase::Advance ||
                         (phase_ == Phase::Release && !reconfigured_ && f.mode == BXMODE_SPIN && f.firstRepeat);
    if (stepped && f.minValue <= f.maxValue && (f.value < f.minValue || f.value > f.maxValue))
      Broken("spin step left the value outside the range", &w);
  }

  // Input goes to the capture holder; the parent, holding it, lets go on release.
  void Move(int x, int y) {
    if (desktop_.capture == &parent_) {
      desktop_.cursor = {x, y};
    } else {
      desktop_.MoveTo(x, y);
    }
  }

  void Event() {
    reconfigured_ = false;
    parentTookCapture_ = false;
    phase_ = Phase::Other;
    switch (in_.ConsumeIntegralInRange<int>(0, 15)) {
      case 0:
        Move(in_.ConsumeIntegralInRange<int>(-30, 200), in_.ConsumeIntegralInRange<int>(-30, 200));
        break;
      case 1:
        if (sim::Window* w = Pick()) {
          const int m = in_.ConsumeIntegralInRange<int>(0, 3);  // also just outside
          Move(w->x + in_.ConsumeIntegralInRange<int>(-m, w->width + m),
               w->y + in_.ConsumeIntegralInRange<int>(-m, w->height + m));
        }
        break;
      case 2:
        if (desktop_.capture != &parent_) desktop_.Down();
        break;
      case 3:
        if (desktop_.capture == &parent_) {
          desktop_.TakeCapture(nullptr);
        } else {
          phase_ = Phase::Release;
          desktop_.Up();
        }
        break;
      case 4:
        phase_ = Phase::Advance;
        desktop_.Advance(in_.ConsumeIntegralInRange<int64_t>(1, 20));
        break;
      case 5:
        phase_ = Phase::Advance;
        desktop_.Advance(in_.ConsumeIntegralInRange<int64_t>(0, 1000));
        break;
      case 6:
        // Another window takes the capture, or it is released from outside.
        switch (in_.ConsumeIntegralInRange<int>(0, 2)) {
          case 0: desktop_.TakeCapture(nullptr); break;
          case 1: desktop_.TakeCapture(&parent_); break;
          default:
            if (sim::Window* w = PickAlive()) desktop_.TakeCapture(w);
            break;
        }
        break;
      case 7:
        if (sim::Window* w = PickAlive()) desktop_.Enable(*w, in_.ConsumeBool());
        break;
      case 8:
        if (sim::Window* w = PickAlive()) RandomMessage(*w);
        break;
      case 9:
        if (sim::Window* w = PickAlive()) {
          switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: w->Set(BXM_MODE, in_.ConsumeIntegralInRange<int>(0, 4)); break;
            case 1: w->Set(BXM_VALUE, in_.ConsumeIntegralInRange<int>(-5, 130)); break;
            case 2: w->Set(BXM_MARGIN, in_.ConsumeIntegralInRange<int>(-3, 30)); break;
            default: w->Set(BXM_AUTOTOGGLE, in_.ConsumeBool()); break;
          }
        }
        break;
      case 10:
        if (sim::Window* w = Pick()) desktop_.Destroy(*w);
        break;
      case 11:
        Create();
        break;
      case 12:
        // A resize; the hot area does not follow it.
        if (sim::Window* w = PickAlive()) {
          w->width = in_.ConsumeIntegralInRange<int>(0, 60);
          w->height = in_.ConsumeIntegralInRange<int>(0, 60);
        }
        break;
      case 13:
        // A pointer message sent straight to a control, as SendMessageW
        // would, whoever holds the capture.
        if (sim::Window* w = PickAlive()) {
          switch (in_.ConsumeIntegralInRange<int>(0, 2)) {
            case 0: w->record->OnMouseMove(); break;
            case 1: w->record->OnLButtonDown(); break;
            default:
              phase_ = Phase::Release;
              w->record->OnLButtonUp();
              break;
          }
        }
        break;
      default:
        phase_ = Phase::Advance;
        desktop_.Advance(in_.ConsumeIntegralInRange<int64_t>(180, 450));
        break;
    }
  }

  void Check() {
    if (!desktop_.faults.empty()) Broken(desktop_.faults.front().c_str(), nullptr);
    if (desktop_.capture && desktop_.capture != &parent_ && !desktop_.capture->Alive())
      Broken("a destroyed window holds the capture", desktop_.capture);
    for (const auto& owned : desktop_.windows) {
      sim::Window& w = *owned;
      if (!w.Alive()) {
        if (!w.timers.empty()) Broken("timer left running for a destroyed control", &w);
        continue;
      }
      const bx::ButtonFields& f = w.record->fields();
      if (f.hover != (w.timers.count(bx::BXT_HOVERPOLL) != 0))
        Broken("hover without its poll timer, or the poll without hover", &w);

      // Pressed without the capture is excused only while the parent holds
      // a capture it took inside a report, for a press already under way.
      bool& excused = excused_[w.id];
      if (parentTookCapture_) excused = true;
      const bool holds = desktop_.capture == &w;
      if (!f.pressed || holds) excused = false;
      const bool releasesOnUp = f.mode >= BXMODE_PUSH && f.mode <= BXMODE_SPIN;
      if (releasesOnUp && f.pressed && !holds && !excused) Broken("pressed without the capture", &w);
    }
  }

  FuzzedDataProvider& in_;
  sim::Desktop desktop_;
  sim::Window parent_;  // the parent, as a holder of the capture; no record
  std::map<int, bool> excused_;
  Phase phase_ = Phase::Other;
  bool reconfigured_ = false;
  bool parentTookCapture_ = false;
  int depth_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Session session(in);
  session.Run();
  return 0;
}
