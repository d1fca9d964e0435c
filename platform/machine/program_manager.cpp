#include "program_manager.h"

#include <sstream>

#include "platform/machine/atomic_file.h"
#include "platform/machine/ini_file.h"
#include "platform/text/case_map.h"

namespace zov::machine {

namespace {

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A text that the record can keep: not empty, on one line, and for a group
// name no bracket that would end its section early.
bool storable(const std::string& s, bool groupName) {
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F) return false;
    if (groupName && (c == '[' || c == ']')) return false;
  }
  return !s.empty();
}

// One command "[Name(p1,p2,...)]" starting at `pos`; false when the text is
// no such command. Parameters are split at commas outside double quotes and
// trimmed; their quotes stay.
bool parseCommand(const std::string& text, std::size_t& pos, std::string& name, std::vector<std::string>& parameters) {
  name.clear();
  parameters.clear();
  if (pos >= text.size() || text[pos] != '[') return false;
  ++pos;
  while (pos < text.size() && text[pos] != '(' && text[pos] != ']') name += text[pos++];
  name = trimmed(name);
  if (pos >= text.size()) return false;
  if (text[pos] == '(') {
    ++pos;
    std::string current;
    bool quoted = false, closed = false;
    for (; pos < text.size(); ++pos) {
      const char c = text[pos];
      if (c == '"') quoted = !quoted;
      if (!quoted && (c == ',' || c == ')')) {
        parameters.push_back(trimmed(current));
        current.clear();
        if (c == ')') {
          closed = true;
          ++pos;
          break;
        }
        continue;
      }
      current += c;
    }
    if (!closed) return false;
    while (pos < text.size() && text[pos] == ' ') ++pos;
  }
  if (pos >= text.size() || text[pos] != ']') return false;
  ++pos;
  return !name.empty();
}

// A name given as one quoted text, without its quotes.
std::string unquoted(const std::string& p) {
  if (p.size() >= 2 && p.front() == '"' && p.back() == '"' && p.find('"', 1) == p.size() - 1) return p.substr(1, p.size() - 2);
  return p;
}

// The title Program Manager gives an item that names none: the program's
// file name without its extension.
std::string defaultTitle(const std::string& commandLine) {
  std::string program = commandLine;
  if (!program.empty() && program.front() == '"') {
    program = program.substr(1, program.find('"', 1) == std::string::npos ? std::string::npos : program.find('"', 1) - 1);
  } else {
    program = program.substr(0, program.find(' '));
  }
  program = program.substr(program.rfind('\\') == std::string::npos ? 0 : program.rfind('\\') + 1);
  return program.substr(0, program.rfind('.'));
}

}  // namespace

ProgramManager::ProgramManager(std::filesystem::path file, bool answers, MachineLog& log)
    : file_(std::move(file)), answers_(answers), log_(log) {
  std::string text;
  if (readIniFile(file_, text)) groups_ = parseRecord(text, file_);
}

std::vector<ProgramManager::Group> ProgramManager::parseRecord(const std::string& text, const std::filesystem::path& file) {
  std::vector<Group> groups;
  for (const auto& section : parseIni(text, file)) {
    Group group{section.name, {}};
    // Entries come in pairs: Item=<title>, then Command=<command line>.
    for (std::size_t k = 0; k < section.entries.size(); k += 2) {
      const IniEntry& item = section.entries[k];
      const IniEntry* command = k + 1 < section.entries.size() ? &section.entries[k + 1] : nullptr;
      const bool itemGood = text::equalsNoCase(item.key, "Item") && !item.value.empty() && command;
      if (!itemGood || !text::equalsNoCase(command->key, "Command") || command->value.empty()) {
        throw MachineFileError(file, itemGood ? command->line : item.line,
                               "expected Item=<title> followed by Command=<command line>");
      }
      group.items.push_back({item.value, command->value});
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

std::string ProgramManager::recordText(const std::vector<Group>& groups) {
  std::ostringstream o;
  o << "; Program Manager's groups and their items, as its DDE commands made them.\n";
  for (const auto& g : groups) {
    o << "\n[" << g.name << "]\n";
    for (const auto& i : g.items) o << "Item=" << i.title << "\nCommand=" << i.commandLine << "\n";
  }
  return o.str();
}

bool ProgramManager::serves(const std::string& application, const std::string& topic) {
  return text::equalsNoCase(application, "Progman") && text::equalsNoCase(topic, "progman");
}

ProgramManager::Answer ProgramManager::execute(const std::string& commands) {
  if (!answers_) {
    log_.write("Program Manager did not answer: " + commands);
    return Answer::None;
  }
  std::size_t pos = 0;
  std::string name;
  std::vector<std::string> parameters;
  do {
    while (pos < commands.size() && commands[pos] == ' ') ++pos;
    const std::size_t start = pos;
    if (!parseCommand(commands, pos, name, parameters) || !run(name, parameters)) {
      log_.write("Program Manager refused: " + commands.substr(start));
      return Answer::Refused;
    }
    log_.write("Program Manager: " + commands.substr(start, pos - start));
    while (pos < commands.size() && commands[pos] == ' ') ++pos;
  } while (pos < commands.size());
  return Answer::Done;
}

bool ProgramManager::run(const std::string& name, const std::vector<std::string>& parameters) {
  if (text::equalsNoCase(name, "CreateGroup")) {
    const std::string group = parameters.empty() ? std::string() : unquoted(parameters[0]);
    if (!storable(group, true)) return false;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
      if (text::equalsNoCase(groups_[i].name, group)) {
        activeGroup_ = i;
        return true;
      }
    }
    groups_.push_back({group, {}});
    activeGroup_ = groups_.size() - 1;
    save();
    return true;
  }
  if (text::equalsNoCase(name, "AddItem")) {
    if (!activeGroup_ || parameters.empty() || !storable(parameters[0], false)) return false;
    // The command line is kept as it came, quotes and all; the title loses its quotes.
    const std::string title =
        parameters.size() > 1 && !unquoted(parameters[1]).empty() ? unquoted(parameters[1]) : defaultTitle(parameters[0]);
    if (!storable(title, false)) return false;
    auto& items = groups_[*activeGroup_].items;
    // An item of the same title is replaced, as a second installation expects.
    Item* item = nullptr;
    for (auto& i : items) {
      if (text::equalsNoCase(i.title, title)) item = &i;
    }
    if (!item) item = &items.emplace_back();
    *item = {title, parameters[0]};
    save();
    return true;
  }
  return false;
}

void ProgramManager::save() const { writeFileAtomically(file_, recordText(groups_)); }

}  // namespace zov::machine
