// The scripted face and the choice between it and the native face.
#include "platform/dialog_script.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/environment.h"
#include "platform/file_system.h"

namespace kestro::platform {
namespace {

// Takes the first line off the script file; nullopt when the script is empty.
std::optional<std::string> NextScriptLine() {
  auto path = GetEnv("KESTRO_DIALOG_SCRIPT");
  if (!path) return std::nullopt;
  std::string text;
  if (!ReadWholeFile(*path, text) || text.empty()) return std::nullopt;
  std::size_t end = text.find('\n');
  std::string line = text.substr(0, end);
  std::string rest = end == std::string::npos ? std::string() : text.substr(end + 1);
  WriteFileAtomically(*path, rest);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int ParseIndex(const std::string& word) {
  if (word == "none") return -1;
  char* end = nullptr;
  long v = std::strtol(word.c_str(), &end, 10);
  return (end && *end == '\0' && !word.empty()) ? static_cast<int>(v) : -2;
}

std::string Describe(const ButtonControl& b) {
  return b.visible ? b.caption + "@" + std::to_string(b.rect.left) + "," + std::to_string(b.rect.top) : "-";
}

void RecordActionForm(const ActionFormControls& f) {
  std::string enabled, checked;
  for (const auto& a : f.actions) {
    enabled += a.enabled ? '1' : '0';
    checked += a.checked ? '1' : '0';
  }
  RecordDialog("action|caption=" + f.caption + "|group=" + f.group_caption + "|enabled=" + enabled +
               "|checked=" + checked + "|default=" + (f.check_state ? "1" : "0") + "|data=" + Describe(f.data) +
               "|about=" + Describe(f.about));
}

void RecordSettingsForm(const SettingsFormControls& f) {
  RecordDialog("settings|caption=" + f.caption + "|item=" + std::to_string(f.item_index) + "|label=" + f.label +
               "|text=" + f.edit_text);
}

}  // namespace

bool DialogScriptActive() { return GetEnv("KESTRO_DIALOG_SCRIPT").has_value(); }

void RecordDialog(const std::string& line) {
  auto path = GetEnv("KESTRO_DIALOG_RECORD");
  if (!path || path->empty()) return;
  if (std::FILE* f = std::fopen(path->c_str(), "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

ModalResult ScriptActionForm(ActionFormControls& form) {
  RecordActionForm(form);
  auto line = NextScriptLine();
  if (!line) return ModalResult::kCancel;
  std::vector<std::string> words = Words(*line);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "check" && i + 1 < words.size()) {
      int index = ParseIndex(words[++i]);
      // A disabled radio button cannot be clicked.
      if (index >= 0 && index < 4 && form.actions[index].enabled) {
        for (int a = 0; a < 4; ++a) form.actions[a].checked = (a == index);
      }
    } else if (w == "default" && i + 1 < words.size()) {
      form.check_state = words[++i] == "on";
    } else if (w == "data" || w == "about") {
      ButtonControl& b = w == "data" ? form.data : form.about;
      if (b.visible && b.on_click) b.on_click();
    } else if (w == "ok") {
      return ModalResult::kOk;
    } else if (w == "cancel" || w == "escape" || w == "close") {
      return ModalResult::kCancel;
    }
  }
  return ModalResult::kCancel;
}

ModalResult ScriptSettingsForm(SettingsFormControls& form) {
  RecordSettingsForm(form);
  auto line = NextScriptLine();
  if (!line) return ModalResult::kCancel;
  std::vector<std::string> words = Words(*line);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "select" && i + 1 < words.size()) {
      int index = ParseIndex(words[++i]);
      if (index >= -1 && index < 2) {
        form.item_index = index;
        if (form.on_item_click) form.on_item_click();
      }
    } else if (w == "browse") {
      if (form.browse.on_click) form.browse.on_click();
    } else if (w == "ok") {
      if (!form.on_ok || form.on_ok()) return ModalResult::kOk;
      RecordSettingsForm(form);  // refused: the window stays as it is
    } else if (w == "cancel") {
      return ModalResult::kCancel;
    }
  }
  return ModalResult::kCancel;
}

namespace {
std::optional<std::string> ScriptChoice(const std::string& what) {
  RecordDialog(what);
  auto line = NextScriptLine();
  if (!line || line->rfind("choose ", 0) != 0) return std::nullopt;
  return line->substr(7);
}
}  // namespace

std::optional<std::string> ScriptChooseFolder(const std::string& title, const std::string& start) {
  return ScriptChoice("folder|title=" + title + "|start=" + start);
}

std::optional<std::string> ScriptChooseOpenFile(const FileOpenRequest& request) {
  return ScriptChoice("file|title=" + request.title + "|filter=" + request.filter + "|name=" + request.file_name);
}

ModalResult ShowActionForm(ActionFormControls& form) {
  return DialogScriptActive() ? ScriptActionForm(form) : NativeActionForm(form);
}

ModalResult ShowSettingsForm(SettingsFormControls& form) {
  return DialogScriptActive() ? ScriptSettingsForm(form) : NativeSettingsForm(form);
}

std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) {
  return DialogScriptActive() ? ScriptChooseFolder(title, start) : NativeChooseFolder(title, start);
}

std::optional<std::string> ChooseOpenFile(const FileOpenRequest& request) {
  return DialogScriptActive() ? ScriptChooseOpenFile(request) : NativeChooseOpenFile(request);
}

}  // namespace kestro::platform
