#include "platform/reg_file.h"

#include <map>

#include "base/text.h"
#include "platform/file_system.h"

namespace kestro::platform {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";

// Key paths without the root, without leading or trailing "\".
std::string NormaliseKeyPath(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.front() == '\\') p.erase(p.begin());
  while (!p.empty() && p.back() == '\\') p.pop_back();
  return p;
}

struct Key {
  std::string path;                                      // as first written
  std::vector<std::pair<std::string, RegValue>> values;  // in order written
  std::vector<std::string> unread;  // lines that read as no value, kept as they are
};

// The whole file in memory; keys are looked up upper-cased. What does not
// read is kept for the rewrite: a change never drops a line of the user's.
struct Hive {
  std::map<std::string, Key> keys;
  std::string other_roots;  // sections of other roots, as they were
  // A last line of the file that does not read and still asks for a next
  // piece: written last again, as a line of a key written before another
  // section would take that section's first lines into it.
  std::string open_last_line;

  Key* Find(const std::string& path) {
    auto it = keys.find(AsciiUpper(path));
    return it == keys.end() ? nullptr : &it->second;
  }
  Key& Create(const std::string& path) {
    // Parents exist whenever a child does, as in the real registry.
    std::size_t pos = 0;
    while ((pos = path.find('\\', pos)) != std::string::npos) {
      std::string parent = path.substr(0, pos);
      keys.try_emplace(AsciiUpper(parent), Key{parent, {}, {}});
      ++pos;
    }
    return keys.try_emplace(AsciiUpper(path), Key{path, {}, {}}).first->second;
  }
};

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ',';
    out += Format("%02x", static_cast<unsigned char>(bytes[i]));
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiUpper(c);
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A number of one to eight hex digits, as regedit reads a DWORD or a type;
// more digits are out of range and read as nothing.
bool ParseHexNumber(std::string_view text, uint32_t& value) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 8) return false;
  value = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return true;
}

// Comma-separated bytes of one or two hex digits each.
bool ParseHex(std::string_view text, std::string& bytes) {
  bytes.clear();
  text = TrimBlanks(text);
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    uint32_t byte = 0;
    const std::string_view item = text.substr(0, comma);
    if (TrimBlanks(item).size() > 2 || !ParseHexNumber(item, byte)) return false;
    bytes += static_cast<char>(byte);
    if (comma == std::string_view::npos) break;
    text = TrimBlanks(text.substr(comma + 1));
  }
  return true;
}

// Reads a quoted REGEDIT4 string starting at text[pos] == '"'; pos ends after it.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
  out.clear();
  if (pos >= text.size() || text[pos] != '"') return false;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '\\' && pos + 1 < text.size()) {
      out += text[++pos];
    } else if (c == '"') {
      ++pos;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

bool ParseValueData(std::string_view data, RegValue& value) {
  if (!data.empty() && data.front() == '"') {
    std::size_t pos = 0;
    value.type = static_cast<uint32_t>(RegType::kString);
    return ReadQuoted(data, pos, value.data);
  }
  if (StartsWith(data, "dword:")) {
    uint32_t v = 0;
    if (!ParseHexNumber(data.substr(6), v)) return false;
    value = DwordValue(v);
    return true;
  }
  if (StartsWith(data, "hex:")) {
    value.type = static_cast<uint32_t>(RegType::kBinary);
    return ParseHex(data.substr(4), value.data);
  }
  if (StartsWith(data, "hex(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos || !ParseHexNumber(data.substr(4, close - 4), value.type))
      return false;
    if (!ParseHex(data.substr(close + 2), value.data)) return false;
    // Strings keep their bytes without the terminating NUL.
    const bool text = value.type == static_cast<uint32_t>(RegType::kString) ||
                      value.type == static_cast<uint32_t>(RegType::kExpandString);
    if (text && !value.data.empty() && value.data.back() == '\0') value.data.pop_back();
    return true;
  }
  return false;
}

std::string ValueData(const RegValue& v) {
  switch (v.type) {
    case static_cast<uint32_t>(RegType::kString):
      // A quoted string holds no line break or NUL; such a text goes as bytes.
      if (v.data.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
        return "\"" + Escape(v.data) + "\"";
      }
      return "hex(1):" + Hex(v.data + std::string(1, '\0'));
    case static_cast<uint32_t>(RegType::kDword):
      // Only four bytes are a DWORD as regedit writes one; others keep theirs.
      if (v.data.size() == 4) return Format("dword:%08x", v.AsDword());
      return "hex(4):" + Hex(v.data);
    case static_cast<uint32_t>(RegType::kBinary):
      return "hex:" + Hex(v.data);
    case static_cast<uint32_t>(RegType::kExpandString):
      return "hex(2):" + Hex(v.data + std::string(1, '\0'));
    default:
      return Format("hex(%x):", v.type) + Hex(v.data);
  }
}

// One line as regedit reads it: a hex value whose line ends in "\\" goes on
// in the next line, the pieces joined without the backslash and the blanks
// that indent the next piece. raw keeps the lines as they were.
struct LogicalLine {
  std::string text;
  std::string raw;
  bool open = false;  // the file ended while the line asked for a next piece
};

std::vector<LogicalLine> LogicalLines(const std::string& text) {
  std::vector<LogicalLine> lines;
  bool continued = false;
  for (std::string_view line : SplitLines(text)) {
    if (continued) {
      std::string_view piece = line;
      while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t'))
        piece.remove_prefix(1);
      lines.back().text += piece;
      lines.back().raw.append("\r\n").append(line);
    } else {
      lines.push_back({std::string(line), std::string(line)});
    }
    std::string& joined = lines.back().text;
    const std::string_view trimmed = TrimBlanks(joined);
    continued =
        !trimmed.empty() && trimmed.back() == '\\' && joined.find("=hex") != std::string::npos;
    if (continued)
      joined.resize(static_cast<std::size_t>(trimmed.data() - joined.data()) + trimmed.size() - 1);
  }
  if (continued) lines.back().open = true;
  return lines;
}

bool Load(const std::string& file, Hive& hive) {
  std::string text;
  if (!ReadWholeFile(file, text)) return !PathExists(file);  // no file: empty hive
  const std::string root = std::string(kRoot) + "\\";
  Key* current = nullptr;
  bool other_root = false;  // in a section that is not a key of ours
  for (const LogicalLine& logical : LogicalLines(text)) {
    const std::string& line = logical.text;
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      const std::string path = line.substr(1, line.size() - 2);
      other_root = !SameTextAscii(path.substr(0, root.size()), root);
      current = other_root ? nullptr : &hive.Create(NormaliseKeyPath(path.substr(root.size())));
      if (other_root) hive.other_roots += "\r\n" + logical.raw + "\r\n";
      continue;
    }
    if (other_root) {
      if (!line.empty()) hive.other_roots += logical.raw + "\r\n";
      continue;
    }
    if (!current || line.empty()) continue;  // before any key, or a blank line
    std::string name;
    std::size_t pos = 0;
    RegValue value;
    const bool named = line[0] == '@' ? (pos = 1, true) : ReadQuoted(line, pos, name);
    if (named && pos < line.size() && line[pos] == '=' &&
        ParseValueData(std::string_view(line).substr(pos + 1), value)) {
      current->values.emplace_back(name, value);
    } else if (logical.open) {
      hive.open_last_line = logical.raw;
    } else {
      current->unread.push_back(logical.raw);
    }
  }
  return true;
}

bool Save(const std::string& file, const Hive& hive) {
  std::string out = "REGEDIT4\r\n";
  for (const auto& [upper, key] : hive.keys) {
    out += "\r\n[" + std::string(kRoot) + "\\" + key.path + "]\r\n";
    for (const auto& [name, value] : key.values) {
      out += (name.empty() ? std::string("@") : "\"" + Escape(name) + "\"") + "=" +
             ValueData(value) + "\r\n";
    }
    for (const std::string& line : key.unread) out += line + "\r\n";
  }
  out += hive.other_roots;
  if (!hive.open_last_line.empty()) out += hive.open_last_line + "\r\n";
  std::string folder =
      file.substr(0, file.find_last_of("/\\") == std::string::npos ? 0 : file.find_last_of("/\\"));
  if (!folder.empty()) CreateDirectories(folder);
  return WriteFileAtomically(file, out);
}

class FileKey : public RegistryKey {
 public:
  FileKey(std::string file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

  std::optional<RegValue> Read(const std::string& name) override {
    Hive hive;
    if (!Load(file_, hive)) return std::nullopt;
    Key* key = hive.Find(path_);
    if (!key) return std::nullopt;
    for (auto& [n, v] : key->values) {
      if (SameTextAscii(n, name)) return v;
    }
    return std::nullopt;
  }

  bool Write(const std::string& name, const RegValue& value) override {
    Hive hive;
    if (!Load(file_, hive)) return false;
    Key& key = hive.Create(path_);
    for (auto& [n, v] : key.values) {
      if (SameTextAscii(n, name)) {
        v = value;
        return Save(file_, hive);
      }
    }
    key.values.emplace_back(name, value);
    return Save(file_, hive);
  }

  bool DeleteValue(const std::string& name) override {
    Hive hive;
    if (!Load(file_, hive)) return false;
    Key* key = hive.Find(path_);
    if (!key) return false;
    for (auto it = key->values.begin(); it != key->values.end(); ++it) {
      if (SameTextAscii(it->first, name)) {
        key->values.erase(it);
        return Save(file_, hive);
      }
    }
    return false;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    Hive hive;
    if (Load(file_, hive)) {
      if (Key* key = hive.Find(path_)) {
        for (auto& [n, v] : key->values) names.push_back(n);
      }
    }
    return names;
  }

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    Hive hive;
    if (!Load(file_, hive)) return names;
    std::string prefix = AsciiUpper(path_) + "\\";
    for (auto& [upper, key] : hive.keys) {
      if (StartsWith(upper, prefix) && upper.find('\\', prefix.size()) == std::string::npos) {
        names.push_back(key.path.substr(prefix.size()));
      }
    }
    return names;
  }

 private:
  std::string file_;
  std::string path_;
};

}  // namespace

std::unique_ptr<RegistryKey> OpenFileRegistryKey(const std::string& file, const std::string& path,
                                                 bool create) {
  std::string key_path = NormaliseKeyPath(path);
  Hive hive;
  if (!Load(file, hive)) return nullptr;
  if (!hive.Find(key_path) && !key_path.empty()) {
    if (!create) return nullptr;
    hive.Create(key_path);
    if (!Save(file, hive)) return nullptr;
  }
  return std::make_unique<FileKey>(file, key_path);
}

bool DeleteFileRegistryKey(const std::string& file, const std::string& path) {
  std::string key_path = AsciiUpper(NormaliseKeyPath(path));
  Hive hive;
  if (!Load(file, hive)) return false;
  bool found = false;
  for (auto it = hive.keys.begin(); it != hive.keys.end();) {
    if (it->first == key_path || StartsWith(it->first, key_path + "\\")) {
      it = hive.keys.erase(it);
      found = true;
    } else {
      ++it;
    }
  }
  return found && Save(file, hive);
}

uint32_t RegValue::AsDword() const {
  uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
    v |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  }
  return v;
}

RegValue StringValue(const std::string& text) {
  return RegValue{static_cast<uint32_t>(RegType::kString), text};
}

RegValue DwordValue(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return RegValue{static_cast<uint32_t>(RegType::kDword), bytes};
}

}  // namespace kestro::platform
