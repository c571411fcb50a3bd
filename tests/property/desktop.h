// The desktop side of a scenario, read and written as the browser would: a
// favourites folder of ".url" files, or a bookmark file read by its tags (any
// case, lists nested as browsers nest them, no entity decoding) and written in
// one of the layouts browsers have used.
#pragma once

#include <string>

#include "property/names.h"
#include "property/scenario.h"
#include "property/tree.h"

namespace kestro::property {

Tree ReadDesktop(Store store, const std::string& location);
// Replaces the whole favourites folder or bookmark file by the tree.
void WriteDesktop(const Scenario& scenario, const std::string& location, const Tree& tree);
// The desktop as text, to tell whether a run changed it.
std::string DesktopText(Store store, const std::string& location);

}  // namespace kestro::property
