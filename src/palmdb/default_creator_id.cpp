#include "palmdb/default_creator_id.h"

namespace kestro {

std::string& DefaultCreatorID() {
  static std::string value;
  return value;
}

}  // namespace kestro
