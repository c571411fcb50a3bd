#include "palmdb/field_codec.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <string>

#include "base/exception.h"
#include "base/text.h"
#include "palmdb/conversions.h"
#include "palmdb/sync_errors.h"
#include "palmdb/variant.h"

namespace kestro {
namespace {

uint64_t ReadBigEndian(const uint8_t* bytes, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

void WriteBigEndian(uint64_t value, uint8_t* bytes, int count) {
  for (int i = count - 1; i >= 0; --i) {
    bytes[i] = static_cast<uint8_t>(value & 0xFF);
    value >>= 8;
  }
}

double ParseFloatText(const std::string& text) { return text.empty() ? 0.0 : TextToFloat(text); }

TDateTime ParseDateTimeText(const std::string& text) {
  return text.empty() ? 0.0 : TextToDateTime(text);
}

}  // namespace

int64_t ParseIntegerText(const std::string& text, int64_t min, int64_t max) {
  if (text.empty()) return 0;
  int64_t value = 0;
  if (!ParseInt64(text, value) || value < min || value > max) {
    throw EConvertError("'" + text + "' is not a valid integer value");
  }
  return value;
}

std::string DecodeFixedField(ThcdPalmFieldType type, const uint8_t* bytes) {
  switch (type) {
    case ptByte:
      return std::to_string(static_cast<unsigned>(bytes[0]));
    case ptWord:
      return std::to_string(static_cast<unsigned>(ReadBigEndian(bytes, 2)));
    case ptLong:
      return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(ReadBigEndian(bytes, 4))));
    case ptInt64:
      return std::to_string(static_cast<long long>(static_cast<int64_t>(ReadBigEndian(bytes, 8))));
    case ptSingle:
      return FloatToText(std::bit_cast<float>(static_cast<uint32_t>(ReadBigEndian(bytes, 4))));
    case ptDouble:
      return FloatText(std::bit_cast<double>(ReadBigEndian(bytes, 8)));
    case ptDate:
      return DateToText(PalmDateToDateTime(static_cast<uint16_t>(ReadBigEndian(bytes, 2))));
    case ptTime:
      return PalmTimeToText(PalmTime{bytes[0], bytes[1]});
    case ptDateTime:
      return DateTimeToText(PalmDateTimeToDateTime(bytes));
    case ptString:
    case ptCustom:
      break;
  }
  throw EPalmDBError(Format("Field type %d has no fixed width", static_cast<int>(type)));
}

void EncodeFixedField(ThcdPalmFieldType type, const std::string& text, uint8_t* bytes) {
  switch (type) {
    case ptByte:
    case ptWord:
    case ptLong: {
      // A whole 32-bit number; ptByte and ptWord keep its low bits.
      int64_t value = ParseIntegerText(text, INT32_MIN, INT32_MAX);
      WriteBigEndian(static_cast<uint64_t>(value), bytes, FieldTypeWidth(type));
      return;
    }
    case ptInt64:
      WriteBigEndian(static_cast<uint64_t>(ParseIntegerText(text, INT64_MIN, INT64_MAX)), bytes, 8);
      return;
    case ptSingle: {
      double value = ParseFloatText(text);
      // A finite number beyond the single range has no single form; storing
      // infinity instead would change the value.
      if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        throw EConvertError("'" + text + "' is out of range for a single-precision field");
      }
      WriteBigEndian(std::bit_cast<uint32_t>(static_cast<float>(value)), bytes, 4);
      return;
    }
    case ptDouble:
      WriteBigEndian(std::bit_cast<uint64_t>(ParseFloatText(text)), bytes, 8);
      return;
    case ptDate:
      WriteBigEndian(DateTimeToPalmDate(ParseDateTimeText(text)), bytes, 2);
      return;
    case ptTime: {
      PalmTime time = TextToPalmTime(text);
      bytes[0] = time.hours;
      bytes[1] = time.minutes;
      return;
    }
    case ptDateTime:
      DateTimeToPalmDateTime(ParseDateTimeText(text), bytes);
      return;
    case ptString:
    case ptCustom:
      break;
  }
  throw EPalmDBError(Format("Field type %d has no fixed width", static_cast<int>(type)));
}

}  // namespace kestro
