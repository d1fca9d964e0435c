// Program Manager, the machine's DDE server under application "Progman" and
// topic "progman". It executes the commands [CreateGroup(name)] and
// [AddItem(command line,title)] and keeps its groups and their items in
// progman.ini of the machine folder. On a machine where it does not answer
// (machine.ini: [Desktop] ProgramManager=no) it takes a conversation but
// never answers a command.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine/machine_log.h"

namespace zov::machine {

class ProgramManager {
 public:
  struct Item {
    std::string title;
    std::string commandLine;
    bool operator==(const Item&) const = default;
  };
  struct Group {
    std::string name;
    std::vector<Item> items;
    bool operator==(const Group&) const = default;
  };
  enum class Answer {
    Done,     // every command of the text was carried out
    Refused,  // a command it does not know or cannot carry out (those before it are done)
    None,     // no answer at all
  };

  // Reads the groups from `file` (missing: none); throws MachineFileError
  // naming the line when it does not parse.
  ProgramManager(std::filesystem::path file, bool answers, MachineLog& log);

  const std::filesystem::path& file() const { return file_; }

  // True for the application and topic names it serves (compared without case).
  static bool serves(const std::string& application, const std::string& topic);

  // Carries out a command text of one or more bracketed commands. Each
  // command is logged; the record is saved after each change.
  Answer execute(const std::string& commands);

  const std::vector<Group>& groups() const { return groups_; }

  // The record's text and back. Reading throws MachineFileError naming the
  // line of what does not parse; `file` names it.
  static std::string recordText(const std::vector<Group>& groups);
  static std::vector<Group> parseRecord(const std::string& text, const std::filesystem::path& file);

 private:
  bool run(const std::string& name, const std::vector<std::string>& parameters);
  void save() const;

  std::filesystem::path file_;
  bool answers_;
  MachineLog& log_;
  std::vector<Group> groups_;
  // The group that AddItem adds to: the one the last CreateGroup made or chose.
  std::optional<std::size_t> activeGroup_;
};

}  // namespace zov::machine
