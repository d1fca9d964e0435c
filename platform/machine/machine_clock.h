// The machine's clock: the time that passes on the simulated machine while
// programs run, the installer sleeps or waits for an answer. Real time passes
// as it does for a person; virtual time stands still until someone waits,
// and a wait then moves it on at once, so that nothing ever sleeps.
#pragma once

#include <chrono>
#include <cstdint>

namespace zov::machine {

enum class ClockMode { Real, Virtual };

class MachineClock {
 public:
  explicit MachineClock(ClockMode mode);

  ClockMode mode() const { return mode_; }
  // Milliseconds since the machine was opened.
  std::uint64_t now() const;
  // Lets `milliseconds` pass.
  void wait(std::uint64_t milliseconds);
  // Lets time pass until `moment` (a value of now()); nothing when it has come.
  void waitUntil(std::uint64_t moment);
  // The machine's time of day: the host's when the machine was opened, moved
  // on by the machine's time since, so that on virtual time it stands still
  // between waits and jumps by each wait.
  std::chrono::system_clock::time_point timeOfDay() const;

 private:
  ClockMode mode_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::system_clock::time_point opened_;
  std::uint64_t virtualNow_ = 0;
};

}  // namespace zov::machine
