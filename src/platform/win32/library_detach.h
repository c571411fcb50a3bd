// Whether this thread is inside the conduit's DllMain for DLL_PROCESS_DETACH,
// where the loader lock is held and other libraries must not be unloaded.
#pragma once

namespace kestro::platform {

bool InsideLibraryDetach();
void SetInsideLibraryDetach(bool inside);

}  // namespace kestro::platform
