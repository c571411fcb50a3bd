#include "command_line.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"

namespace kestro::hotsync {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& takes_value,
                         const std::vector<std::string>& switches) {
  Arguments out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      std::string name = a.substr(2);
      std::optional<std::string> inline_value;
      if (auto eq = name.find('='); eq != std::string::npos) {
        inline_value = name.substr(eq + 1);
        name = name.substr(0, eq);
      }
      if (std::find(takes_value.begin(), takes_value.end(), name) != takes_value.end()) {
        if (inline_value) {
          out.options[name] = *inline_value;
        } else if (i + 1 < args.size()) {
          out.options[name] = args[++i];
        } else if (out.error.empty()) {
          out.error = "--" + name + " needs a value";
        }
      } else if (std::find(switches.begin(), switches.end(), name) != switches.end() && !inline_value) {
        out.options[name] = "";
      } else if (out.error.empty()) {
        out.error = "unknown option --" + name;
      }
    } else {
      out.positional.push_back(a);
    }
  }
  return out;
}

int Fail(int code, const std::string& text) {
  std::fflush(stdout);
  std::fprintf(stderr, "hotsync: %s\n", text.c_str());
  return code;
}

void Say(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::optional<int> ParseSyncType(const std::string& text) {
  static const std::pair<const char*, int> kNames[] = {
      {"synchronize", 0}, {"synchronise", 0}, {"handheld-overwrites", 2}, {"desktop-overwrites", 3}, {"nothing", 6}};
  for (auto [name, type] : kNames) {
    if (text == name) return type;
  }
  int64_t value = 0;
  if (!ParseInt64(text, value) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

std::string SyncTypeName(int type) {
  switch (type) {
    case 0:
      return "synchronize";
    case 2:
      return "handheld overwrites desktop";
    case 3:
      return "desktop overwrites handheld";
    case 6:
      return "do nothing";
    default:
      return "sync type " + std::to_string(type);
  }
}

}  // namespace kestro::hotsync
