#include "app.h"

#include "platform/machine/machine.h"
#include "platform/runtime/runtime_error.h"

namespace zov::runtime {

namespace {
std::function<void()>& doEventsHandler() {
  static std::function<void()> handler;
  return handler;
}
}  // namespace

Application& App() {
  static Application app;
  return app;
}

void LocateProgram(const std::filesystem::path& hostExecutable, const std::string& title) {
  auto& files = machine::currentMachine().files();
  std::error_code ec;
  std::filesystem::path executable = std::filesystem::canonical(hostExecutable, ec);
  if (ec) executable = hostExecutable;
  const std::filesystem::path folder = executable.parent_path();
  std::string path = files.windowsPathOfHost(folder);
  if (path.empty()) {
    path = files.mountHostFolder(folder);
    machine::currentMachine().log().write("the program's folder " + folder.string() + " is drive " + path);
  }
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  std::string name = executable.filename().string();
  if (name.size() > 4 && (name.substr(name.size() - 4) == ".exe" || name.substr(name.size() - 4) == ".EXE")) {
    name.resize(name.size() - 4);
  }
  App() = Application{path, name, title};
}

std::uint32_t Shell(const std::string& commandLine, int windowStyle) {
  std::uint32_t error = 0;
  const std::uint32_t id = machine::currentMachine().startProgram(commandLine, windowStyle, error);
  if (id == 0) Raise(kFileNotFound);
  return id;
}

void DoEvents() {
  if (doEventsHandler()) doEventsHandler()();
}

void SetDoEventsHandler(std::function<void()> handler) { doEventsHandler() = std::move(handler); }

}  // namespace zov::runtime
