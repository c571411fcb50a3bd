// Folder paths as the stores and the engine write them: empty for the top
// level, else "\" and a folder name for each level from the top. This unit
// takes a path apart and judges whether a name may become part of a
// file-system path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestro {

// The components of a folder path. Every "\" separates, and so does a line
// break (CR LF, CR or LF); the part before the first separator is dropped, as
// is an empty part after the last one.
std::vector<std::string> SplitFolderPath(std::string_view path);

// Why a name must not become a file-system name, or empty when it may: a path
// separator, a drive or stream colon, or a component of dots only (".." and
// the forms Windows trims down to it) would reach a file outside its folder.
std::string UnsafeNameReason(std::string_view name);

}  // namespace kestro
