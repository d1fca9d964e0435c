// Runs the installer's start-up procedure and message loop in the test
// process, on a fresh machine, driven by a script.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/test_machine.h"
#include "wizard/form1.h"

namespace zov::test {

class WizardTest : public ::testing::Test {
 protected:
  // Starts the program (Main) with the script; returns true when every
  // window was closed by the time the script ended.
  // `prepare` puts what earlier runs left (settings, folders) on the fresh machine before the program starts.
  bool run(const std::string& script, const std::function<void(machine::MachineConfig&)>& edit = {},
           const std::function<void(TestMachine&)>& prepare = {});
  // Gives the running program more input.
  bool more(const std::string& script);
  void TearDown() override;

  std::string transcript() const { return machine->transcript(); }
  // How many times the transcript holds `text`.
  std::size_t count(const std::string& text) const;
  std::unique_ptr<TestMachine> machine;
  bool ended = false;
};

// Every piece of the installer's shared and translation state back to the start of a run.
void ResetProgramState();

}  // namespace zov::test
