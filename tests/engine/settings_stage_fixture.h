// The install routine's settings and registrations stage, called on its own
// on a fresh machine whose shared state stands as the slots leave it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/install_account.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {

inline const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
inline const std::string kSettingsKey = "HKEY_LOCAL_MACHINE\\Software\\Zideruv\\ZOV4";

class SettingsStage : public WizardTest {
 protected:
  // Starts the wizard on the machine, then sets the state the slots leave:
  // the install folder made, the temporary folder holding a member.
  void start(const std::function<void(machine::MachineConfig&)>& edit = {});
  // The user folder pair of the start-up on Vista and 7: `user` and its \Zideruv\ZOV4.
  void userFolders(const std::string& user, const std::string& domainUser = {});
  // Runs the stage with these answers to its message boxes; what it made
  // goes into `account`.
  void stage(const std::string& answers = {});

  std::optional<std::int32_t> number(const std::string& key, const std::string& name);
  std::optional<std::string> text(const std::string& key, const std::string& name);
  // REG_DWORD or REG_SZ values as written through the services, always in the registry.
  void setNumber(const std::string& name, std::int32_t value);
  void removeValue(const std::string& name);
  int boxes() const;
  bool saw(const std::string& text) const { return transcript().find(text) != std::string::npos; }

  InstallAccount account;
};

}  // namespace zov::test
