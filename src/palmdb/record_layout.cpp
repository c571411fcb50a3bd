#include "palmdb/record_layout.h"

#include <algorithm>
#include <cstring>

#include "base/exception.h"
#include "palmdb/field_codec.h"
#include "palmdb/palm_table.h"
#include "palmdb/table_messages.h"

namespace kestro {
namespace {

constexpr char kBeyondLimits[] = "LocalToRemoteRecord: Record went beyond it's limits";

// Positions are kept wider than the record so that no sum can wrap.
uint64_t Aligned(uint64_t pos, uint32_t alignment) {
  if (alignment == 0 || pos % alignment == 0) return pos;
  return (pos + alignment - 1) / alignment * alignment;
}

uint64_t EvenWidthAligned(uint64_t pos, ThcdPalmRemoteTableOptions options,
                          ThcdPalmFieldType type) {
  if (options.Contains(opNumAlign) && pos % 2 == 1 && IsEvenWidth(type)) return pos + 1;
  return pos;
}

bool NextIsString(const ThcdPalmFieldDefs& defs, int i) {
  return i + 1 < defs.Count() && defs.GetItem(i + 1).DataType() == ptString;
}

// A run of strings is aligned only after its last member, and only with
// opStringsAlign; every other field is aligned after itself. Reading treats
// every string so; writing only strings of variable length, so with an
// Alignment a fixed-size string is padded when written but not always
// skipped when read. Records already on handhelds follow these rules.
bool AlignAfterString(const ThcdPalmFieldDefs& defs, int i, ThcdPalmRemoteTableOptions options) {
  return options.Contains(opStringsAlign) && !NextIsString(defs, i);
}

// A variable-length string is stored up to its first NUL: a NUL inside the
// value would end it early on reading and shift every later field.
std::string_view StoredText(const std::string& value) {
  return std::string_view(value.data(), std::min(value.size(), std::strlen(value.c_str())));
}

const std::string& ValueAt(const RecordValues& values, int i) {
  static const std::string kEmpty;
  return static_cast<std::size_t>(i) < values.size() ? values[static_cast<std::size_t>(i)] : kEmpty;
}

// The element count of a write handler's byte array.
std::size_t HandlerBytes(const Variant& data) { return data.BytesValue().size(); }

}  // namespace

void RemoteToLocalRecord(ThcdPalmTable& table, ThcdPalmRemoteTableOptions options,
                         const uint8_t* data, uint32_t size, RecordValues& values,
                         bool& is_record_empty) {
  const ThcdPalmFieldDefs& defs = table.FieldDefs();
  values.assign(static_cast<std::size_t>(defs.Count()), std::string());
  is_record_empty = size == 0;
  if (size == 0) return;

  uint64_t pos = 0;
  for (int i = 0; i < defs.Count(); ++i) {
    const ThcdPalmFieldDef& def = defs.GetItem(i);
    if (table.OnReadField) {
      uint32_t data_pos = static_cast<uint32_t>(std::min<uint64_t>(pos, UINT32_MAX));
      std::string text;
      try {
        table.OnReadField(table, data, static_cast<int32_t>(size), i, data_pos, text);
        values[static_cast<std::size_t>(i)] = std::move(text);
        pos = data_pos;
        continue;
      } catch (const EAbort&) {
        pos = data_pos;  // the built-in decoding starts where the handler left off
      }
    }
    const ThcdPalmFieldType type = def.DataType();
    pos = EvenWidthAligned(pos, options, type);
    const int64_t width = def.Width();
    if (pos >= size) {
      if (defs.StrictFields()) RaisePalmDBError(kMsgFieldBeyondRecord);
      break;  // the rest keep empty text
    }
    if (width > 0 && pos + static_cast<uint64_t>(width) > size)
      RaisePalmDBError(kMsgFieldBeyondRecord);

    const uint8_t* at = data + pos;
    std::string text;
    if (type == ptString) {
      const std::size_t room =
          width > 0 ? static_cast<std::size_t>(width) : static_cast<std::size_t>(size - pos);
      const auto* nul = static_cast<const uint8_t*>(std::memchr(at, 0, room));
      text.assign(reinterpret_cast<const char*>(at),
                  nul ? static_cast<std::size_t>(nul - at) : room);
      pos += width > 0 ? static_cast<uint64_t>(width) : text.size() + 1;
    } else if (type == ptCustom) {
      if (width > 0) {
        text.assign(reinterpret_cast<const char*>(at), static_cast<std::size_t>(width));
        pos += static_cast<uint64_t>(width);
      }
    } else {
      text = DecodeFixedField(type, at);
      pos += static_cast<uint64_t>(width);
    }
    values[static_cast<std::size_t>(i)] = std::move(text);

    if (type != ptString || AlignAfterString(defs, i, options))
      pos = Aligned(pos, defs.Alignment());
  }
}

std::vector<uint8_t> LocalToRemoteRecord(ThcdPalmTable& table, ThcdPalmRemoteTableOptions options,
                                         const RecordValues& values) {
  const ThcdPalmFieldDefs& defs = table.FieldDefs();
  const uint32_t alignment = defs.Alignment();
  auto align_after = [&](int i, uint64_t pos) {
    const ThcdPalmFieldDef& def = defs.GetItem(i);
    bool variable_string = def.DataType() == ptString && def.Size() == 0;
    return !variable_string || AlignAfterString(defs, i, options) ? Aligned(pos, alignment) : pos;
  };

  // Sizing pass.
  uint64_t total = 0;
  for (int i = 0; i < defs.Count(); ++i) {
    if (table.OnWriteField) {
      Variant data;
      try {
        table.OnWriteField(table, i, data);
        total += HandlerBytes(data);
        continue;
      } catch (const EAbort&) {
      }
    }
    const ThcdPalmFieldDef& def = defs.GetItem(i);
    const int64_t width = def.Width();
    if (width > 0) {
      total += static_cast<uint64_t>(width);
    } else if (def.DataType() == ptString) {
      total += StoredText(ValueAt(values, i)).size() + 1;
    }
    // A custom field of no size takes no bytes on either side, so the record
    // never ends in bytes that nothing wrote.
    total = align_after(i, total);
    total = EvenWidthAligned(total, options, def.DataType());
  }

  // Writing pass.
  std::vector<uint8_t> block(static_cast<std::size_t>(total), 0);
  uint64_t pos = 0;
  for (int i = 0; i < defs.Count(); ++i) {
    if (table.OnWriteField) {
      Variant data;
      try {
        table.OnWriteField(table, i, data);
        for (uint8_t byte : data.BytesValue()) {
          if (pos >= total) throw Exception(kBeyondLimits);
          block[static_cast<std::size_t>(pos++)] = byte;
        }
        continue;
      } catch (const EAbort&) {
      }
    }
    const ThcdPalmFieldDef& def = defs.GetItem(i);
    const ThcdPalmFieldType type = def.DataType();
    const int64_t width = def.Width();
    const std::string& value = ValueAt(values, i);
    pos = EvenWidthAligned(pos, options, type);

    if (type == ptString && width <= 0) {
      std::string_view text = StoredText(value);
      if (pos + text.size() + 1 > total) throw Exception(kBeyondLimits);
      std::memcpy(block.data() + pos, text.data(), text.size());
      block[static_cast<std::size_t>(pos + text.size())] = 0;
      pos += text.size() + 1;
    } else if (width > 0) {
      if (pos + static_cast<uint64_t>(width) > total) throw Exception(kBeyondLimits);
      uint8_t* at = block.data() + pos;
      if (type == ptString || type == ptCustom) {
        // Zero-filled, then as much of the value as fits: a value of the
        // field's width or more leaves no NUL.
        std::memcpy(at, value.data(),
                    std::min<std::size_t>(value.size(), static_cast<std::size_t>(width)));
      } else {
        EncodeFixedField(type, value, at);
      }
      pos += static_cast<uint64_t>(width);
    }
    pos = align_after(i, pos);
  }
  return block;
}

}  // namespace kestro
