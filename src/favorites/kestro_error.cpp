#include "favorites/kestro_error.h"

namespace kestro {

void RaiseError(const std::string& message, const std::string& code) {
  if (message.find("Kestro error") != std::string::npos) throw Exception(message);
  throw Exception(message + " Kestro error: " + code);
}

}  // namespace kestro
