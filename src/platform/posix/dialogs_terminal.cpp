// The dialogs on Linux: a line-oriented UI on the controlling terminal, with
// the same choices, captions, check box, buttons and outcomes as the Windows
// windows. Without a terminal every dialog answers Cancel and says so on
// stderr. Validation messages arrive through the message boxes.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/dialog_script.h"
#include "platform/file_system.h"

namespace kestro::platform {
namespace {

// The controlling terminal, opened for one dialog.
class Terminal {
 public:
  Terminal() : in_(std::fopen("/dev/tty", "r")), out_(std::fopen("/dev/tty", "w")) {}
  ~Terminal() {
    if (in_) std::fclose(in_);
    if (out_) std::fclose(out_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool Open() const { return in_ && out_; }
  void Print(const std::string& text) {
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
  }
  // One line without its end; nullopt at end of input.
  std::optional<std::string> ReadLine(const std::string& prompt) {
    Print(prompt);
    std::string line;
    for (int c; (c = std::fgetc(in_)) != EOF;) {
      if (c == '\n') return Trim(line);
      line += static_cast<char>(c);
    }
    return line.empty() ? std::nullopt : std::optional<std::string>(Trim(line));
  }

 private:
  static std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    std::size_t start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : s.substr(start);
  }
  std::FILE* in_;
  std::FILE* out_;
};

bool NoTerminal(const std::string& caption) {
  std::fprintf(stderr, "Kestro: no terminal to show \"%s\"; the dialog answers Cancel.\n", caption.c_str());
  return true;
}

// "&Synchronise" shows as "Synchronise"; "&&" is a plain "&".
std::string Plain(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

std::string Heading(const std::string& caption) { return "\n== " + caption + " ==\n"; }

constexpr const char* kEscape = "\x1b";

}  // namespace

ModalResult NativeActionForm(ActionFormControls& form) {
  Terminal tty;
  if (!tty.Open() && NoTerminal(form.caption)) return ModalResult::kCancel;
  for (;;) {
    std::string screen = Heading(form.caption) + form.group_caption + "\n";
    for (int i = 0; i < 4; ++i) {
      const auto& a = form.actions[i];
      screen += "  " + std::to_string(i + 1) + " " + (a.checked ? "(*) " : "( ) ") + Plain(a.caption) +
                (a.enabled ? "" : "   (not available)") + "\n";
    }
    screen += std::string("  a ") + (form.check_state ? "[x] " : "[ ] ") + Plain(form.check_caption) + "\n";
    screen += "[Enter] " + Plain(form.ok.caption) + "   [c] " + Plain(form.cancel.caption);
    if (form.data.visible) screen += "   [d] " + Plain(form.data.caption);
    if (form.about.visible) screen += "   [b] " + Plain(form.about.caption);
    tty.Print(screen + "\n");
    auto line = tty.ReadLine("Choice: ");
    if (!line || *line == "c" || *line == kEscape) return ModalResult::kCancel;
    if (line->empty() || *line == "o") return ModalResult::kOk;
    if (line->size() == 1 && (*line)[0] >= '1' && (*line)[0] <= '4') {
      int index = (*line)[0] - '1';
      if (form.actions[index].enabled) {
        for (int i = 0; i < 4; ++i) form.actions[i].checked = (i == index);
      } else {
        tty.Print("That action is not available.\n");
      }
    } else if (*line == "a") {
      form.check_state = !form.check_state;
    } else if (*line == "d" && form.data.visible && form.data.on_click) {
      form.data.on_click();
    } else if (*line == "b" && form.about.visible && form.about.on_click) {
      form.about.on_click();
    }
  }
}

ModalResult NativeSettingsForm(SettingsFormControls& form) {
  Terminal tty;
  if (!tty.Open() && NoTerminal(form.caption)) return ModalResult::kCancel;
  for (;;) {
    std::string screen = Heading(form.caption) + form.group_caption + ":";
    for (int i = 0; i < 2; ++i) {
      screen += "   " + std::to_string(i + 1) + " " + (form.item_index == i ? "(*) " : "( ) ") + form.items[i];
    }
    screen += "\n" + form.label + "\n  [" + form.edit_text + "]\n";
    screen += "[b] " + form.browse.caption + "   [o] " + form.ok.caption + "   [c] " + form.cancel.caption + "\n";
    tty.Print(screen);
    auto line = tty.ReadLine("Choice: ");
    if (!line || *line == "c") return ModalResult::kCancel;
    if (*line == "1" || *line == "2") {
      form.item_index = (*line)[0] - '1';
      if (form.on_item_click) form.on_item_click();
    } else if (*line == "b") {
      if (form.browse.on_click) form.browse.on_click();
    } else if (*line == "o") {
      if (!form.on_ok || form.on_ok()) return ModalResult::kOk;
    }
  }
}

namespace {

bool MatchesFilter(const std::string& name, const std::string& filter) {
  // The patterns of the first filter entry, all of the "*.ext" form.
  std::size_t bar = filter.find('|');
  std::string patterns = bar == std::string::npos ? std::string() : filter.substr(bar + 1);
  patterns = patterns.substr(0, patterns.find('|'));
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    std::string pattern = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (pattern == "*" || pattern == "*.*") return true;
    if (pattern.rfind("*", 0) == 0) {
      std::string ext = pattern.substr(1);
      if (name.size() >= ext.size()) {
        bool same = true;
        for (std::size_t i = 0; i < ext.size(); ++i) {
          char a = name[name.size() - ext.size() + i], b = ext[i];
          if ((a >= 'A' && a <= 'Z' ? a + 32 : a) != (b >= 'A' && b <= 'Z' ? b + 32 : b)) same = false;
        }
        if (same) return true;
      }
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Parent(const std::string& folder) {
  std::size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return folder.substr(0, slash);
}

// Lists a folder's subfolders and (with a filter) its matching files, lets
// the user walk the tree and pick a folder (".") or an existing file.
std::optional<std::string> Browse(const std::string& title, std::string folder, const std::string* filter) {
  Terminal tty;
  if (!tty.Open() && NoTerminal(title)) return std::nullopt;
  if (!DirectoryExists(folder)) folder = "/";
  for (;;) {
    std::string screen = Heading(title) + folder + "\n";
    std::vector<DirectoryEntry> entries;
    ListDirectory(folder, entries);
    int shown = 0;
    for (const auto& e : entries) {
      if (!e.is_directory && (!filter ? false : !MatchesFilter(e.name, *filter))) continue;
      if (!e.is_directory && !filter) {
        screen += "   " + e.name + "\n";  // the folder's files, for orientation
      } else {
        screen += "   " + e.name + (e.is_directory ? "/" : "") + "\n";
      }
      if (++shown == 40) {
        screen += "   ...\n";
        break;
      }
    }
    if (filter) screen += "Files of type: " + filter->substr(0, filter->find('|')) + "\n";
    screen += filter ? "Type a file name to open it, a folder to enter it, \"..\" to go up; empty line: Cancel\n"
                     : "Type a folder to enter it, \"..\" to go up, \".\" to choose this folder; empty line: Cancel\n";
    tty.Print(screen);
    auto line = tty.ReadLine(filter ? "File name: " : "Folder: ");
    if (!line || line->empty()) return std::nullopt;
    if (*line == "." && !filter) return folder;
    std::string target = *line == ".." ? Parent(folder) : Join(folder, *line);
    if (DirectoryExists(target)) {
      folder = target;
    } else if (filter && FileExists(target)) {
      return target;
    } else {
      tty.Print(filter ? "File not found: " + target + "\n" : "No such folder: " + target + "\n");
    }
  }
}

}  // namespace

std::optional<std::string> NativeChooseFolder(const std::string& title, const std::string& start) {
  return Browse(title, start, nullptr);
}

std::optional<std::string> NativeChooseOpenFile(const FileOpenRequest& request) {
  std::string folder = request.file_name;
  if (!DirectoryExists(folder)) folder = Parent(folder);
  return Browse(request.title, folder, &request.filter);
}

}  // namespace kestro::platform
