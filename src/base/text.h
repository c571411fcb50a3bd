// Text helpers shared by every layer. Text is bytes: nothing here converts a
// character set, and case folding touches the letters A to Z only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestro {

char AsciiUpper(char c);
std::string AsciiUpper(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);  // A-Z folded
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

// The text before the first NUL of a fixed field (all of it when none).
std::string_view FieldText(const char* field, std::size_t size);
// The text cut to at most size bytes. A UTF-8 character that the cut would
// split is left out whole; bytes that are not UTF-8 are cut where they fall.
std::string_view CutToField(std::string_view text, std::size_t size);
// Copies text into a fixed field, NUL-padded; a longer text is cut to the
// field as CutToField cuts it.
void SetFieldText(char* field, std::size_t size, std::string_view text);

// The lines of a text without their ends (LF, or CR LF). A last line with no
// end counts; an empty text has no lines. The views point into text.
std::vector<std::string_view> SplitLines(std::string_view text);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Parses a whole decimal integer (optional sign, surrounding blanks allowed).
// Empty text is not a number here; callers decide what empty means.
bool ParseInt64(std::string_view text, int64_t& value);

}  // namespace kestro
