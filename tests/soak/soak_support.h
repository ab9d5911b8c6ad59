// Shared by the soak programs: the count argument, the run's skeleton with
// its phase marks in Wine's trace stream and memory figures, and a
// high-resolution stopwatch.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "support/zqtest.h"

namespace soak {

struct Options {
  long cycles = 5000;
  long warmup = 50;
  bool marks = false;  // a line on stderr before every cycle, for the trace analysis
};
// PROGRAM [CYCLES] [--marks]; exits with a usage line on anything else.
// Then marks the start and makes a scratch user hive and the gadget's
// typeface for the whole run.
Options Start(int argc, char** argv);

// One line on stderr, the same stream as Wine's trace, so that the analysis
// can tell the phases apart. Carries this thread's id, which prefixes the
// thread's own trace lines.
void Mark(const char* what, long cycle = -1);

class Stopwatch {
 public:
  Stopwatch();
  void Start();
  void Stop();  // adds the time since Start
  double TotalMicros() const;

 private:
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER started_{};
  std::int64_t ticks_ = 0;
};

// Time spent in up to two parts of a cycle (a tick and a paint, say).
struct Timings {
  Stopwatch first, second;
};

// The warm-up, then the counted cycles between the "begin" and "end" marks,
// each followed by what was queued meanwhile; reports the memory and the GDI
// objects on stdout ("name value" lines, for the scripts) and returns the
// counted cycles' timings. `cycle` ends the program through Fail.
Timings Run(const char* program, const Options& options,
            const std::function<void(long cycle, bool warmUp, Timings& timings)>& cycle,
            zqtest::PointerMessages pointer = zqtest::PointerMessages::Dispatch);
// Destroys `window`, lets its messages through and marks the exit; main's
// return value.
int End(const Options& options, HWND window);
void Figure(const char* name, double value);

// Prints the reason and ends the program with exit code 3.
[[noreturn]] void Fail(const char* why, long cycle);

}  // namespace soak
