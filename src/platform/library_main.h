// The library's set-up and tear-down, called by the platform's entry
// (DllMain on Windows, an ELF constructor and destructor on Linux). Set-up
// answers false when the library must not be used; on Windows the load then
// fails, on Linux every export answers its failure value.
#pragma once

namespace kestro {

bool OnLibraryLoad();
void OnLibraryUnload();

}  // namespace kestro
