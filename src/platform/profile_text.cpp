#include "platform/profile_text.h"

#include <vector>

#include "base/text.h"
#include "platform/profile_string.h"

namespace kestro::platform {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

struct Line {
  std::string_view body;  // without the line end
  std::string_view end;   // "\r\n", "\n", or empty for the last line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    std::size_t body_end = (nl > start && text[nl - 1] == '\r') ? nl - 1 : nl;
    lines.push_back(
        {text.substr(start, body_end - start), text.substr(body_end, nl + 1 - body_end)});
    start = nl + 1;
  }
  return lines;
}

// The section a line opens, if it is a section line.
bool SectionName(std::string_view body, std::string_view& name) {
  std::string_view t = Trim(body);
  if (t.empty() || t.front() != '[') return false;
  t.remove_prefix(1);
  std::size_t close = t.find(']');
  name = Trim(close == std::string_view::npos ? t : t.substr(0, close));
  return true;
}

bool KeyLine(std::string_view body, std::string_view& key, std::string_view& value) {
  std::size_t eq = body.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(body.substr(0, eq));
  value = Trim(body.substr(eq + 1));
  return true;
}

// Index range [first, last) of the section's lines after its heading, or
// first == npos when the file has no such section.
struct SectionSpan {
  std::size_t heading = std::string_view::npos;
  std::size_t end = 0;
};

SectionSpan FindSection(const std::vector<Line>& lines, std::string_view section) {
  SectionSpan span;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (!SectionName(lines[i].body, name)) continue;
    if (span.heading != std::string_view::npos) {
      span.end = i;
      return span;
    }
    if (SameTextAscii(name, section)) span.heading = i;
  }
  span.end = lines.size();
  return span;
}

}  // namespace

bool ReadProfileValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string& value) {
  const std::vector<Line> lines = SplitLines(text);
  const SectionSpan span = FindSection(lines, section);
  if (span.heading == std::string_view::npos) return false;
  for (std::size_t i = span.heading + 1; i < span.end; ++i) {
    std::string_view k, v;
    if (!KeyLine(lines[i].body, k, v) || !SameTextAscii(k, key)) continue;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
      v = v.substr(1, v.size() - 2);
    }
    value.assign(v.substr(0, kProfileValueMax));
    return true;
  }
  return false;
}

std::string WriteProfileValue(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  auto join = [&](std::size_t from, std::size_t to, std::string& out) {
    for (std::size_t i = from; i < to; ++i) {
      out.append(lines[i].body);
      out.append(lines[i].end);
    }
  };
  // A line put after the last one needs that line to end first.
  auto ensure_line_end = [](std::string& out) {
    if (!out.empty() && out.back() != '\n') out.append("\r\n");
  };
  std::string out;
  const SectionSpan span = FindSection(lines, section);
  if (span.heading == std::string_view::npos) {
    join(0, lines.size(), out);
    ensure_line_end(out);
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(value).append("\r\n");
    return out;
  }
  std::size_t insert_after = span.heading;
  for (std::size_t i = span.heading + 1; i < span.end; ++i) {
    std::string_view k, v;
    if (KeyLine(lines[i].body, k, v) && SameTextAscii(k, key)) {
      join(0, i, out);
      out.append(k).append("=").append(value);
      out.append(lines[i].end.empty() ? std::string_view("\r\n") : lines[i].end);
      join(i + 1, lines.size(), out);
      return out;
    }
    if (!Trim(lines[i].body).empty()) insert_after = i;
  }
  join(0, insert_after + 1, out);
  ensure_line_end(out);
  out.append(key).append("=").append(value).append("\r\n");
  join(insert_after + 1, lines.size(), out);
  return out;
}

}  // namespace kestro::platform
