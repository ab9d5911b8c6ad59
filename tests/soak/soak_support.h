// Shared by the soak programs: the count argument, phase marks in Wine's
// trace stream, memory figures and a high-resolution stopwatch.
#pragma once

#include <windows.h>

#include <cstdint>

namespace soak {

struct Options {
  long cycles = 5000;
  long warmup = 50;
  bool marks = false;  // a line on stderr before every cycle, for the trace analysis
};
// PROGRAM [CYCLES] [--marks]; exits with a usage line on anything else.
Options ParseArgs(int argc, char** argv);

// One line on stderr, the same stream as Wine's trace, so that the analysis
// can tell the phases apart. Carries this thread's id, which prefixes the
// thread's own trace lines.
void Mark(const char* what, long cycle = -1);

struct Memory {
  std::uint64_t workingSet = 0;
  std::uint64_t privateBytes = 0;
};
Memory MemoryNow();
// GDI objects as Windows counts them; 0 under Wine, which does not.
DWORD GdiObjectsNow();

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

// The figures on stdout, one "name value" per line, for the scripts.
void Report(const char* program, const Options& options, const Memory& start, const Memory& end,
            DWORD gdiStart, DWORD gdiEnd);
void Figure(const char* name, double value);

// Prints the reason and ends the program with exit code 3.
[[noreturn]] void Fail(const char* why, long cycle);

}  // namespace soak
