// The process-wide creator ID: every accepted assignment of a conduit
// component's CreatorID also lands here, and new tables take it as theirs.
#pragma once

#include <string>

namespace kestro {

std::string& DefaultCreatorID();

}  // namespace kestro
