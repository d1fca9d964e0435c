// The progress bar of the install page: a green label inside a frame, and
// the percentage laid over it.
#include <cmath>

#include "engine/progress_steps.h"
#include "wizard/form1.h"

namespace zov {

void Form1Window::ShowProgress(const std::int32_t& Percent) {
  const double frameWidth = Picture2.Width;
  // Rounded down, not to the nearest: 50 % of 5235 twips is 2617.
  Label7.Width = static_cast<float>(std::floor(frameWidth * static_cast<double>(Percent) / 100.0));
  Label8.Caption = std::to_string(Percent) + "%";
  Label7.Refresh();
  Label8.Refresh();
}

std::int32_t StepPercent(std::int32_t step) {
  return static_cast<std::int32_t>(std::lround(static_cast<double>(step) / kStepCount * 100.0));
}

}  // namespace zov
