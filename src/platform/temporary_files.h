// The temporary file that replacing a file writes first: <file>.tmp<process
// id>, beside the file, with <file> cut short where the whole would pass the
// file-name limit. A process killed while it replaces a file leaves one
// behind; a later process removes those whose process has ended.
#pragma once

#include <cstdint>
#include <string>

namespace kestro::platform {

// The temporary file this process uses to replace the file at path.
std::string TemporaryFileFor(const std::string& path);

// Removes the temporaries in the folder of path that a process which has
// ended left behind: each named <file>.tmp<id> where <file> is there too (or
// is path itself, or begins a name there when the temporary fills the
// file-name limit), so nothing of the user's that merely looks like one is
// touched.
void RemoveStaleTemporaries(const std::string& path);
// The same, the first time it is asked for a folder in this process: the
// first replacement in a folder clears what a killed run left there.
void RemoveStaleTemporariesOnce(const std::string& path);

}  // namespace kestro::platform
