#include "platform/library_main.h"

namespace {

__attribute__((constructor)) void KestroLibraryConstructor() { kestro::OnLibraryLoad(); }

__attribute__((destructor)) void KestroLibraryDestructor() { kestro::OnLibraryUnload(); }

}  // namespace
