// The system's general exception and the few kinds every layer shares.
// Failures inside Kestro are exceptions carrying a message; the exported C
// functions turn them into numbers at the boundary.
#pragma once

#include <exception>
#include <string>

namespace kestro {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The silent abort: ends an operation without a message being shown or logged.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A broken internal assumption: "<text> (<source>, line <n>)".
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed(const std::string& text, const std::string& source, int line);
};

// A text that does not read as the number, date or time it should be.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The message of any exception, for code that catches everything.
std::string MessageOf(const std::exception& e);

}  // namespace kestro
