// Conversions between the desktop's and the handheld's forms of values: byte
// order, four-character codes, and the handheld's packed date, time and
// date-time. A desktop date-time (TDateTime) counts days since 30 December
// 1899, the fraction being the time of day; 0 stands for no date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestro {

using TDateTime = double;

// The lowest `bytes` bytes of value in reverse order; bytes must be 1 to 8.
uint64_t ReverseVal(int bytes, uint64_t value);

bool IsValidFourCharCode(std::string_view code);
// "DATA" -> 0x44415441; anything but a valid code raises ECreatorIDError.
uint32_t FourCharCodeToLong(std::string_view code);

// Handheld date word: year-1904 in bits 15..9, month 8..5, day 4..0.
TDateTime PalmDateToDateTime(uint16_t word);
uint16_t DateTimeToPalmDate(TDateTime value);

// Handheld time: an hours byte and a minutes byte; 0xFF 0xFF is the null time.
struct PalmTime {
  uint8_t hours = 0xFF;
  uint8_t minutes = 0xFF;
  bool IsNull() const { return hours == 0xFF && minutes == 0xFF; }
};
TDateTime PalmTimeToDateTime(PalmTime time);
PalmTime DateTimeToPalmTime(TDateTime value);
std::string PalmTimeToText(PalmTime time);
PalmTime TextToPalmTime(std::string_view text);

// Handheld date-time: seven big-endian words: second, minute, hour, day,
// month, year, weekday (0 = Sunday).
constexpr int kPalmDateTimeSize = 14;
TDateTime PalmDateTimeToDateTime(const uint8_t* bytes);
void DateTimeToPalmDateTime(TDateTime value, uint8_t* bytes);

// A calendar date and time of day, and the conversions to and from TDateTime.
struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};
// Raise EConvertError for a date or time that does not exist.
TDateTime EncodeDateTime(const DateTimeParts& parts);
DateTimeParts DecodeDateTime(TDateTime value);
int DayOfWeek(TDateTime value);  // 0 = Sunday

// The desktop's text forms: dates "yyyy-mm-dd", times "hh:nn:ss", a date-time
// as both joined by a blank (the date alone at midnight), numbers with 15
// significant digits. Parsing raises EConvertError.
std::string DateToText(TDateTime value);
std::string TimeToText(TDateTime value);
std::string DateTimeToText(TDateTime value);
TDateTime TextToDate(std::string_view text);
TDateTime TextToTime(std::string_view text);
TDateTime TextToDateTime(std::string_view text);
std::string FloatToText(double value);
double TextToFloat(std::string_view text);

}  // namespace kestro
