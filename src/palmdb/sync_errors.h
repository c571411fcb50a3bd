// Failures of the HotSync host's libraries and of the table layer. Every failed
// host call becomes an EPalmSyncError carrying the call's result code and the
// code's text from a fixed table.
#pragma once

#include <cstdint>
#include <string>

#include "base/exception.h"

namespace kestro {

class EPalmSyncError : public Exception {
 public:
  explicit EPalmSyncError(int32_t code);
  int32_t ErrorCode() const { return code_; }

 private:
  int32_t code_;
};

// Four-character codes that are not four characters of 0x20 to 0x7F.
class ECreatorIDError : public Exception {
 public:
  using Exception::Exception;
};

// A handheld time holding the null time.
class ETimeError : public Exception {
 public:
  using Exception::Exception;
};

// State and layout errors of the tables.
class EPalmDBError : public Exception {
 public:
  using Exception::Exception;
};

class ENotImplError : public Exception {
 public:
  using Exception::Exception;
};

// The text of a host result code; empty for a code the table does not hold.
const char* ErrorText(int32_t code);
// The number of codes the table holds.
int ErrorTextCount();

[[noreturn]] void RaiseSyncError(int32_t code);
// Raises EPalmSyncError unless code is 0.
void CheckSyncResult(int32_t code);

}  // namespace kestro
