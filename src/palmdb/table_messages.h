// The table layer's own messages: fixed numeric identifiers and their texts,
// and the helpers that raise EPalmDBError with one. Callers and tests match
// on the texts, so they never change.
#pragma once

#include <string>

namespace kestro {

enum TableMessage : int {
  kMsgFieldCountMismatch = 65264,
  kMsgFieldBeyondRecord = 65265,
  kMsgNoActiveRecord = 65266,
  kMsgFieldNotFound = 65267,     // %s: the field name
  kMsgInvalidCreatorID = 65281,  // %s: the code
  kMsgNullTime = 65282,
  kMsgTableMustBeClosed = 65287,
  kMsgFieldDefsWithoutTable = 65288,
  kMsgInvalidTableType = 65289,  // %s: the type
  kMsgTableMustBeOpen = 65290,
  kMsgReadOnly = 65291,
  kMsgRuntimeOnly = 65292,
  kMsgInEditMode = 65293,
  kMsgInvalidCategory = 65294,       // %d: the category
  kMsgRecordNumberNotFound = 65295,  // %d: the record number
};

// The text of a message; empty for an identifier the layer does not use.
const char* TableMessageText(int id);

// Raise EPalmDBError with the message, formatted with the argument if any.
[[noreturn]] void RaisePalmDBError(int id);
[[noreturn]] void RaisePalmDBError(int id, const std::string& argument);
[[noreturn]] void RaisePalmDBError(int id, long long argument);

// Post and Cancel outside edit or insert state. This message has no
// identifier of its own: none of the fixed ones says what went wrong.
inline constexpr const char kMsgNotEditing[] =
    "The operation requires the table to be in edit or insert mode";

}  // namespace kestro
