#include "palmdb/conversions.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/exception.h"
#include "base/text.h"
#include "palmdb/sync_errors.h"

namespace kestro {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr sys_days kEpoch = sys_days{year{1899} / 12 / 30};
constexpr int64_t kMsPerDay = 86400000;

uint16_t ReadWord(const uint8_t* p) { return static_cast<uint16_t>(ReverseVal(2, p[0] | (p[1] << 8))); }

void WriteWord(uint8_t* p, int value) {
  uint16_t be = static_cast<uint16_t>(ReverseVal(2, static_cast<uint16_t>(value)));
  p[0] = static_cast<uint8_t>(be & 0xFF);
  p[1] = static_cast<uint8_t>(be >> 8);
}

// Reads up to `count` unsigned numbers separated by one of `separators`.
bool ReadNumbers(std::string_view text, char separator, int* out, int count, int& got) {
  got = 0;
  std::size_t i = 0;
  while (i < text.size() && got < count) {
    std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == start || i - start > 9) return false;
    out[got++] = std::atoi(std::string(text.substr(start, i - start)).c_str());
    if (i == text.size()) break;
    if (text[i] != separator || got == count) return false;
    ++i;
    if (i == text.size()) return false;
  }
  return i == text.size();
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

uint64_t ReverseVal(int bytes, uint64_t value) {
  if (bytes < 1 || bytes > 8) {
    throw EAssertionFailed("Illegal # Bytes for ReverseVal", "Imports\\Conduits\\hcdPalmMisc", __LINE__);
  }
  uint64_t result = 0;
  for (int i = 0; i < bytes; ++i) {
    result = (result << 8) | ((value >> (8 * i)) & 0xFF);
  }
  return result;
}

bool IsValidFourCharCode(std::string_view code) {
  if (code.size() != 4) return false;
  for (char c : code) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7F) return false;
  }
  return true;
}

uint32_t FourCharCodeToLong(std::string_view code) {
  if (!IsValidFourCharCode(code)) {
    throw ECreatorIDError(Format("The Creator ID \"%s\" is invalid", std::string(code).c_str()));
  }
  uint32_t v = 0;
  for (char c : code) v = (v << 8) | static_cast<unsigned char>(c);
  return v;
}

TDateTime EncodeDateTime(const DateTimeParts& p) {
  year_month_day ymd{year{p.year}, month{static_cast<unsigned>(p.month)}, day{static_cast<unsigned>(p.day)}};
  if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > 31 || !ymd.ok()) {
    throw EConvertError(Format("'%04d-%02d-%02d' is not a valid date", p.year, p.month, p.day));
  }
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.millisecond < 0 || p.millisecond > 999) {
    throw EConvertError(Format("'%02d:%02d:%02d' is not a valid time", p.hour, p.minute, p.second));
  }
  double date = static_cast<double>((sys_days{ymd} - kEpoch).count());
  double time = (((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond) / kMsPerDay;
  // Before the epoch the time of day still counts forward from midnight.
  return date < 0 ? date - time : date + time;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  double whole = std::trunc(value);
  auto ms = static_cast<int64_t>(std::llround(std::fabs(value - whole) * kMsPerDay));
  auto day_count = static_cast<int64_t>(whole);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    day_count += value < 0 ? -1 : 1;
  }
  year_month_day ymd{kEpoch + days{day_count}};
  DateTimeParts p;
  p.year = static_cast<int>(ymd.year());
  p.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

int DayOfWeek(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  year_month_day ymd{year{p.year}, month{static_cast<unsigned>(p.month)}, day{static_cast<unsigned>(p.day)}};
  return static_cast<int>(std::chrono::weekday{sys_days{ymd}}.c_encoding());
}

TDateTime PalmDateToDateTime(uint16_t word) {
  if (word == 0) return 0;
  DateTimeParts p;
  p.year = (word >> 9) + 1904;
  p.month = (word >> 5) & 0x0F;
  p.day = word & 0x1F;
  return std::trunc(EncodeDateTime(p));
}

uint16_t DateTimeToPalmDate(TDateTime value) {
  if (value == 0) return 0;
  DateTimeParts p = DecodeDateTime(value);
  return static_cast<uint16_t>(((p.year - 1904) << 9) + (p.month << 5) + p.day);
}

TDateTime PalmTimeToDateTime(PalmTime time) {
  if (time.IsNull()) throw ETimeError("The specified time is a null time value");
  DateTimeParts p;
  p.hour = time.hours;
  p.minute = time.minutes;
  if (time.hours > 23 || time.minutes > 59) {
    throw EConvertError(Format("'%02d:%02d' is not a valid time", time.hours, time.minutes));
  }
  return (time.hours * 60.0 + time.minutes) * 60000.0 / kMsPerDay;
}

PalmTime DateTimeToPalmTime(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  return PalmTime{static_cast<uint8_t>(p.hour), static_cast<uint8_t>(p.minute)};
}

std::string PalmTimeToText(PalmTime time) {
  try {
    return TimeToText(PalmTimeToDateTime(time));
  } catch (const ETimeError&) {
    return {};
  }
}

PalmTime TextToPalmTime(std::string_view text) {
  if (Trim(text).empty()) return PalmTime{};
  return DateTimeToPalmTime(TextToTime(text));
}

TDateTime PalmDateTimeToDateTime(const uint8_t* bytes) {
  DateTimeParts p;
  p.second = ReadWord(bytes + 0);
  p.minute = ReadWord(bytes + 2);
  p.hour = ReadWord(bytes + 4);
  p.day = ReadWord(bytes + 6);
  p.month = ReadWord(bytes + 8);
  p.year = ReadWord(bytes + 10);
  if (p.year == 0 && p.month == 0 && p.day == 0) return 0;
  return EncodeDateTime(p);
}

void DateTimeToPalmDateTime(TDateTime value, uint8_t* bytes) {
  if (value == 0) {
    for (int i = 0; i < kPalmDateTimeSize; ++i) bytes[i] = 0;
    return;
  }
  DateTimeParts p = DecodeDateTime(value);
  WriteWord(bytes + 0, p.second);
  WriteWord(bytes + 2, p.minute);
  WriteWord(bytes + 4, p.hour);
  WriteWord(bytes + 6, p.day);
  WriteWord(bytes + 8, p.month);
  WriteWord(bytes + 10, p.year);
  WriteWord(bytes + 12, DayOfWeek(value));
}

std::string DateToText(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  return Format("%04d-%02d-%02d", p.year, p.month, p.day);
}

std::string TimeToText(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  return Format("%02d:%02d:%02d", p.hour, p.minute, p.second);
}

std::string DateTimeToText(TDateTime value) {
  DateTimeParts p = DecodeDateTime(value);
  if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.millisecond == 0) return DateToText(value);
  return DateToText(value) + " " + TimeToText(value);
}

TDateTime TextToDate(std::string_view text) {
  int n[3];
  int got = 0;
  std::string_view t = Trim(text);
  if (!ReadNumbers(t, '-', n, 3, got) || got != 3) {
    throw EConvertError("'" + std::string(text) + "' is not a valid date");
  }
  DateTimeParts p;
  p.year = n[0];
  p.month = n[1];
  p.day = n[2];
  return EncodeDateTime(p);
}

TDateTime TextToTime(std::string_view text) {
  int n[3] = {0, 0, 0};
  int got = 0;
  std::string_view t = Trim(text);
  if (!ReadNumbers(t, ':', n, 3, got) || got < 2) {
    throw EConvertError("'" + std::string(text) + "' is not a valid time");
  }
  DateTimeParts p;
  p.hour = n[0];
  p.minute = n[1];
  p.second = n[2];
  return EncodeDateTime(p) - EncodeDateTime(DateTimeParts{});
}

TDateTime TextToDateTime(std::string_view text) {
  std::string_view t = Trim(text);
  std::size_t blank = t.find(' ');
  if (blank == std::string_view::npos) return TextToDate(t);
  TDateTime date = TextToDate(t.substr(0, blank));
  TDateTime time = TextToTime(t.substr(blank + 1));
  return date < 0 ? date - time : date + time;
}

std::string FloatToText(double value) { return Format("%.15g", value); }

double TextToFloat(std::string_view text) {
  std::string t(Trim(text));
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (t.empty() || end != t.c_str() + t.size()) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return v;
}

}  // namespace kestro
