#include "machine_clock.h"

#include <thread>

namespace zov::machine {

MachineClock::MachineClock(ClockMode mode)
    : mode_(mode), start_(std::chrono::steady_clock::now()), opened_(std::chrono::system_clock::now()) {}

std::uint64_t MachineClock::now() const {
  if (mode_ == ClockMode::Virtual) return virtualNow_;
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void MachineClock::wait(std::uint64_t milliseconds) {
  if (mode_ == ClockMode::Virtual) {
    virtualNow_ += milliseconds;
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void MachineClock::waitUntil(std::uint64_t moment) {
  // Real time may overshoot a little; a later now() never goes back.
  const std::uint64_t current = now();
  if (moment > current) wait(moment - current);
}

std::chrono::system_clock::time_point MachineClock::timeOfDay() const {
  return opened_ + std::chrono::milliseconds(now());
}

}  // namespace zov::machine
