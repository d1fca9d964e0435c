#include "tests/support/test_machine.h"

#include <fstream>
#include <random>

#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/ui/backend.h"

namespace zov::test {

namespace fs = std::filesystem;

TestMachine::TestMachine(const std::function<void(machine::MachineConfig&)>& edit) {
  std::random_device rd;
  folder_ = fs::temp_directory_path() / ("zov-test-" + std::to_string(rd()) + std::to_string(rd()));
  machine::MachineConfig config = machine::MachineConfig::windows7();
  if (edit) edit(config);
  // Tests never spend real time: every wait on the machine passes at once.
  config.clock = machine::ClockMode::Virtual;
  machine::Machine::create(folder_, config);
  machine::setCurrentMachine(machine::Machine::open(folder_));
  runtime::App() = runtime::Application{"C:\\Users\\user\\Downloads", "setupmodern", "ZOV Rededi Dirirozo"};
  script("");
}

TestMachine::~TestMachine() {
  runtime::CloseAll();
  machine::setCurrentMachine(nullptr);
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void TestMachine::writeFile(const std::string& windowsPath, const std::string& content) {
  const fs::path p = host(windowsPath);
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

std::string TestMachine::readFile(const std::string& windowsPath) { return readHostFile(host(windowsPath)); }

bool TestMachine::exists(const std::string& windowsPath) {
  std::error_code ec;
  return fs::exists(host(windowsPath), ec);
}

void TestMachine::reopen() {
  runtime::CloseAll();
  machine::setCurrentMachine(nullptr);
  machine::setCurrentMachine(machine::Machine::open(folder_));
}

ui::ScriptBackend& TestMachine::script(const std::string& commands) {
  auto b = std::make_unique<ui::ScriptBackend>(ui::parseScript(commands, "test script"), transcript_);
  backend_ = b.get();
  ui::setBackend(std::move(b));
  return *backend_;
}

machine::MachineConfig windowsXp() {
  machine::MachineConfig c = machine::MachineConfig::windows7();
  c.majorVersion = 5, c.minorVersion = 1, c.buildNumber = 2600, c.servicePack = "Service Pack 3";
  c.tempFolder = "C:\\Documents and Settings\\user\\Local Settings\\Temp";
  c.documentsFolder = "C:\\Documents and Settings\\user\\My Documents";
  c.localAppDataFolder = "C:\\Documents and Settings\\user\\Local Settings\\Application Data";
  c.programsFolder = "C:\\Documents and Settings\\user\\Start Menu\\Programs";
  c.desktopFolder = "C:\\Documents and Settings\\user\\Desktop";
  c.systemFolder = "C:\\WINDOWS\\system32";
  c.windowsFolder = "C:\\WINDOWS";
  return c;
}

std::string readHostFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace zov::test
