// One field's value between its text form and its bytes on the handheld,
// for every type of fixed width (strings and custom fields are handled by the
// record layout, which knows where they end). Both raise EConvertError for a
// value that does not fit its type.
#pragma once

#include <cstdint>
#include <string>

#include "palmdb/field_defs.h"

namespace kestro {

// Decodes the FieldTypeWidth(type) bytes at `bytes`.
std::string DecodeFixedField(ThcdPalmFieldType type, const uint8_t* bytes);
// Encodes `text` into the FieldTypeWidth(type) bytes at `bytes`; empty text
// gives zero (numbers), no date (dates) or the null time (times).
void EncodeFixedField(ThcdPalmFieldType type, const std::string& text, uint8_t* bytes);

// Parses decimal integer text: empty gives 0; anything but a whole number in
// [min, max] raises EConvertError.
int64_t ParseIntegerText(const std::string& text, int64_t min, int64_t max);

}  // namespace kestro
