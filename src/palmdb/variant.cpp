#include "palmdb/variant.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/exception.h"
#include "base/text.h"

namespace kestro {

Variant Variant::Integer(int64_t value) {
  Variant v;
  v.value_ = value;
  return v;
}

Variant Variant::Float(double value) {
  Variant v;
  v.value_ = value;
  return v;
}

Variant Variant::Text(std::string value) {
  Variant v;
  v.value_ = std::move(value);
  return v;
}

Variant Variant::DateTime(TDateTime value, DateTimeForm form) {
  Variant v;
  v.value_ = Stamp{value, form};
  return v;
}

Variant Variant::Bytes(std::vector<uint8_t> value) {
  Variant v;
  v.value_ = std::move(value);
  return v;
}

Variant::Kind Variant::GetKind() const { return static_cast<Kind>(value_.index()); }

int64_t Variant::IntegerValue() const {
  if (const auto* p = std::get_if<int64_t>(&value_)) return *p;
  throw EConvertError("The value is not an integer");
}

double Variant::FloatValue() const {
  if (const auto* p = std::get_if<double>(&value_)) return *p;
  throw EConvertError("The value is not a floating-point number");
}

TDateTime Variant::DateTimeValue() const {
  if (const auto* p = std::get_if<Stamp>(&value_)) return p->value;
  throw EConvertError("The value is not a date or time");
}

const std::vector<uint8_t>& Variant::BytesValue() const {
  if (const auto* p = std::get_if<std::vector<uint8_t>>(&value_)) return *p;
  throw EConvertError("The value is not a byte array");
}

std::string Variant::ToText() const {
  switch (GetKind()) {
    case Kind::kEmpty:
      return {};
    case Kind::kInteger:
      return std::to_string(std::get<int64_t>(value_));
    case Kind::kFloat:
      return FloatText(std::get<double>(value_));
    case Kind::kText:
      return std::get<std::string>(value_);
    case Kind::kDateTime: {
      const Stamp& s = std::get<Stamp>(value_);
      switch (s.form) {
        case DateTimeForm::kDate:
          return DateToText(s.value);
        case DateTimeForm::kTime:
          return TimeToText(s.value);
        case DateTimeForm::kDateTime:
          return DateTimeToText(s.value);
      }
      return {};
    }
    case Kind::kBytes: {
      const auto& bytes = std::get<std::vector<uint8_t>>(value_);
      return std::string(bytes.begin(), bytes.end());
    }
  }
  return {};
}

std::string FloatText(double value) {
  // Fifteen digits is the desktop's usual form; a double that needs more to
  // be told apart from its neighbours gets sixteen or seventeen, so that a value read
  // and written back unchanged keeps its exact bytes.
  std::string text = FloatToText(value);
  for (int digits = 16;
       digits <= 17 && std::isfinite(value) && std::strtod(text.c_str(), nullptr) != value;
       ++digits) {
    text = Format("%.*g", digits, value);
  }
  return text;
}

}  // namespace kestro
