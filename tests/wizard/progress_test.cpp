// The progress bar: its width rounded down from the frame's width, its text,
// and the percent of each step of the install routine.
#include "engine/progress_steps.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

TEST_F(WizardTest, TheBarIsTheFramesShareRoundedDown) {
  run("");
  Form1().Picture2.Width = 5235;
  const std::pair<int, float> cases[] = {{0, 0}, {2, 104}, {50, 2617}, {97, 5077}, {100, 5235}, {150, 7852}};
  for (const auto& [percent, width] : cases) {
    Form1().ShowProgress(percent);
    EXPECT_EQ(Form1().Label7.Width.get(), width) << percent;
    EXPECT_EQ(Form1().Label8.Caption.get(), std::to_string(percent) + "%");
  }
  // A smaller value shortens the bar again.
  Form1().ShowProgress(45);
  EXPECT_EQ(Form1().Label8.Caption.get(), "45%");
  EXPECT_EQ(Form1().Label7.Width.get(), 2355);
}

TEST(ProgressSteps, EachStepRoundsToTheNearestPercentAndNeverGoesBack) {
  const std::pair<int, int> table[] = {{0, 0},   {1, 2},   {2, 3},   {3, 5},   {4, 7},
                                       {29, 49}, {30, 51}, {57, 97}, {58, 98}, {59, 100}};
  for (const auto& [step, percent] : table) EXPECT_EQ(StepPercent(step), percent) << step;
  for (int s = 1; s <= kStepCount; ++s) EXPECT_GE(StepPercent(s), StepPercent(s - 1));
}

}  // namespace
}  // namespace zov::test
