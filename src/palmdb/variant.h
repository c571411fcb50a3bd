// A small variant: the value of one field as callers see it through
// AsVariant. It holds nothing, an integer, a floating-point number, a text, a
// date-time or a byte array, and has one text form for each, which is what
// AsString gives and what a field stores.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "palmdb/conversions.h"

namespace kestro {

// Which part of a date-time the value stands for; it decides the text form,
// so that a time read from a time field reads back as a time.
enum class DateTimeForm : uint8_t { kDate, kTime, kDateTime };

class Variant {
 public:
  enum class Kind : uint8_t { kEmpty, kInteger, kFloat, kText, kDateTime, kBytes };

  Variant() = default;
  static Variant Integer(int64_t value);
  static Variant Float(double value);
  static Variant Text(std::string value);
  static Variant DateTime(TDateTime value, DateTimeForm form = DateTimeForm::kDateTime);
  static Variant Bytes(std::vector<uint8_t> value);

  Kind GetKind() const;
  bool IsEmpty() const { return GetKind() == Kind::kEmpty; }
  bool IsArray() const { return GetKind() == Kind::kBytes; }

  // The stored value; each raises EConvertError for another kind.
  int64_t IntegerValue() const;
  double FloatValue() const;
  TDateTime DateTimeValue() const;
  const std::vector<uint8_t>& BytesValue() const;

  // The text form: decimal integers, numbers in 15 significant digits (16
  // or 17 when fewer would not read back as the same number), dates
  // "yyyy-mm-dd", times "hh:nn:ss", a byte array as one character per byte;
  // empty gives "".
  std::string ToText() const;

  bool operator==(const Variant&) const = default;

 private:
  struct Stamp {
    TDateTime value;
    DateTimeForm form;
    bool operator==(const Stamp&) const = default;
  };
  std::variant<std::monostate, int64_t, double, std::string, Stamp, std::vector<uint8_t>> value_;
};

// The text of a double that reads back as the same double.
std::string FloatText(double value);

}  // namespace kestro
