#include "base/exception.h"

namespace kestro {

EAssertionFailed::EAssertionFailed(const std::string& text, const std::string& source, int line)
    : Exception(text + " (" + source + ", line " + std::to_string(line) + ")") {}

std::string MessageOf(const std::exception& e) {
  if (auto* ours = dynamic_cast<const Exception*>(&e)) return ours->Message();
  return e.what();
}

}  // namespace kestro
