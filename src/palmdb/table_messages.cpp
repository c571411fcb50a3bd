#include "palmdb/table_messages.h"

#include "base/text.h"
#include "palmdb/sync_errors.h"

namespace kestro {

const char* TableMessageText(int id) {
  switch (id) {
    case kMsgFieldCountMismatch:
      return "The number of fields in the two field objects did not match";
    case kMsgFieldBeyondRecord:
      return "A mapped field went beyond the end of the physical record structure";
    case kMsgNoActiveRecord:
      return "The operation requires an active record";
    case kMsgFieldNotFound:
      return "The specified field \"%s\" was not found";
    case kMsgInvalidCreatorID:
      return "The Creator ID \"%s\" is invalid";
    case kMsgNullTime:
      return "The specified time is a null time value";
    case kMsgTableMustBeClosed:
      return "The operation requires the table to be closed";
    case kMsgFieldDefsWithoutTable:
      return "Created FieldDefs did not have a table owner";
    case kMsgInvalidTableType:
      return "The TableType \"%s\" is invalid";
    case kMsgTableMustBeOpen:
      return "The operation requires the table to be open";
    case kMsgReadOnly:
      return "The database is read only";
    case kMsgRuntimeOnly:
      return "The operation is only allowed at runtime";
    case kMsgInEditMode:
      return "Cannot perform this operation whilst in edit mode";
    case kMsgInvalidCategory:
      return "The category number \"%d\" is invalid";
    case kMsgRecordNumberNotFound:
      return "The Record Number \"%d\" could not be found";
    default:
      return "";
  }
}

namespace {

// Substitutes the first %s or %d of a message by an already formatted text,
// so that a name holding '%' can never be read as a format directive.
std::string Substitute(const char* text, const std::string& value) {
  std::string message = text;
  for (std::size_t i = 0; i + 1 < message.size(); ++i) {
    if (message[i] == '%' && (message[i + 1] == 's' || message[i + 1] == 'd')) {
      return message.replace(i, 2, value);
    }
  }
  return message;
}

}  // namespace

void RaisePalmDBError(int id) { throw EPalmDBError(TableMessageText(id)); }

void RaisePalmDBError(int id, const std::string& argument) {
  throw EPalmDBError(Substitute(TableMessageText(id), argument));
}

void RaisePalmDBError(int id, long long argument) {
  throw EPalmDBError(Substitute(TableMessageText(id), Format("%lld", argument)));
}

}  // namespace kestro
