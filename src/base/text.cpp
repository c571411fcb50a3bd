#include "base/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kestro {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string_view FieldText(const char* field, std::size_t size) {
  const void* nul = std::memchr(field, 0, size);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size};
}

std::string_view CutToField(std::string_view text, std::size_t size) {
  if (text.size() <= size) return text;
  auto continuation = [&](std::size_t i) {
    return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
  };
  // The cut falls inside a character when the first byte left out continues
  // one; its lead byte is then at most three bytes back.
  if (size == 0 || !continuation(size)) return text.substr(0, size);
  std::size_t lead = size;
  while (lead > 0 && size - lead < 3 && continuation(lead - 1)) --lead;
  if (lead == 0) return text.substr(0, size);
  --lead;
  const unsigned char b = static_cast<unsigned char>(text[lead]);
  const std::size_t length = b >= 0xF0 && b <= 0xF4   ? 4
                             : b >= 0xE0 && b <= 0xEF ? 3
                             : b >= 0xC2 && b <= 0xDF ? 2
                                                      : 0;
  if (length == 0 || lead + length <= size || lead + length > text.size())
    return text.substr(0, size);
  for (std::size_t i = lead + 1; i < lead + length; ++i) {
    if (!continuation(i)) return text.substr(0, size);
  }
  return text.substr(0, lead);
}

void SetFieldText(char* field, std::size_t size, std::string_view text) {
  text = CutToField(text, size);
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), text.size());
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  va_end(args);
  return out;
}

bool ParseInt64(std::string_view text, int64_t& value) {
  std::size_t i = 0, end = text.size();
  while (i < end && (text[i] == ' ' || text[i] == '\t')) ++i;
  while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (i == end) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  if (i == end) return false;
  uint64_t magnitude = 0;
  for (; i < end; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    uint64_t digit = static_cast<uint64_t>(c - '0');
    if (magnitude > (UINT64_MAX - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return false;
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

}  // namespace kestro
