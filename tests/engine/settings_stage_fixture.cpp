#include "tests/engine/settings_stage_fixture.h"

#include "platform/runtime/strings.h"
#include "services/registry.h"
#include "services/shared_state.h"

namespace zov::test {

void SettingsStage::start(const std::function<void(machine::MachineConfig&)>& edit) {
  run("", edit);
  account = {};
  InstallDir = kInstallDir;
  machine->writeFile(kInstallDir + "\\Zuzuzu Rudavero 5.exe", "MZ");
  machine->writeFile(runtime::Trim(TempDir) + "\\ZOVTMP\\Beep.wa_", "member");
}

void SettingsStage::userFolders(const std::string& user, const std::string& domainUser) {
  UserDir = user;
  AppDataDir = user + "\\Zideruv\\ZOV4";
  if (!domainUser.empty()) {
    DomainUserDir = domainUser;
    DomainAppDataDir = domainUser + "\\Zideruv\\ZOV4";
  }
}

void SettingsStage::stage(const std::string& answers) {
  machine->script(answers);
  Form1().WriteSettingsAndRegistrations(account);
}

std::optional<std::int32_t> SettingsStage::number(const std::string& key, const std::string& name) {
  const machine::RegistryValue* v = machine->machine().registry().value(key, name);
  if (!v || v->type != machine::kRegDword || v->data.size() != 4) return std::nullopt;
  return static_cast<std::int32_t>(v->data[0] | v->data[1] << 8 | v->data[2] << 16 |
                                   static_cast<std::uint32_t>(v->data[3]) << 24);
}

std::optional<std::string> SettingsStage::text(const std::string& key, const std::string& name) {
  const machine::RegistryValue* v = machine->machine().registry().value(key, name);
  if (!v || v->type != machine::kRegSz) return std::nullopt;
  return std::string(v->data.begin(), v->data.end());
}

void SettingsStage::setNumber(const std::string& name, std::int32_t value) {
  SetRegDWord(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", name, value, ForceRegistry);
}

void SettingsStage::removeValue(const std::string& name) {
  DeleteRegValue(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", name, ForceRegistry);
}

int SettingsStage::boxes() const {
  int n = 0;
  const std::string t = transcript();
  for (auto p = t.find("?? box"); p != std::string::npos; p = t.find("?? box", p + 1)) ++n;
  return n;
}

}  // namespace zov::test
