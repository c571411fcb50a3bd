// The byte layout of a handheld record: how a record's bytes become one text
// per field definition, and how the texts become bytes again. Numbers are
// stored most significant byte first; the table's Alignment and the layout
// options add padding. Nothing here reads or writes past a buffer's end: a
// record too short for its fields raises EPalmDBError 65265.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palmdb/table_options.h"

namespace kestro {

class ThcdPalmTable;

// The current record: one text per field definition, in definition order.
using RecordValues = std::vector<std::string>;

// Reads `size` bytes at `data` into `values` (cleared first, one per field
// definition) with the table's definitions and its OnReadField handler;
// `is_record_empty` becomes size == 0.
void RemoteToLocalRecord(ThcdPalmTable& table, ThcdPalmRemoteTableOptions options,
                         const uint8_t* data, uint32_t size, RecordValues& values,
                         bool& is_record_empty);

// Packs `values` with the table's definitions and its OnWriteField handler.
// A value that does not read as its field's type raises EConvertError before
// anything is returned. Padding bytes are zero.
std::vector<uint8_t> LocalToRemoteRecord(ThcdPalmTable& table, ThcdPalmRemoteTableOptions options,
                                         const RecordValues& values);

}  // namespace kestro
