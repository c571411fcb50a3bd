// Folder paths as the stores and the engine write them: empty for the top
// level, else "\" and a folder name for each level from the top. This unit
// takes a path apart and judges whether a name may become part of a
// file-system path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestro {

// The components of a folder path: the parts between "\" separators, the
// part before the first one dropped. A line break is part of a name, and a
// path that ends in "\" ends in an empty component.
std::vector<std::string> SplitFolderPath(std::string_view path);

// Why a name must not become a file-system name, or empty when it may: a path
// separator, a line break, a drive or stream colon, or a component of dots
// only (".." and the forms Windows trims down to it) would reach a file
// outside its folder or split the name.
std::string UnsafeNameReason(std::string_view name);

// Why a name cannot be kept as it is as the file or folder name
// name + extension in a favourites folder, or empty when it can: besides the
// reasons above, an empty name, a control character or one Windows refuses
// in file names, a name Windows keeps for a device ("CON", "lpt1.txt"), a folder name ending in a dot or blank (Windows drops them),
// or a file name longer than the 255 bytes a file system allows.
std::string FileNameProblem(std::string_view name, std::string_view extension);

}  // namespace kestro
