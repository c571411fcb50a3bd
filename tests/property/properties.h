// The properties every two-way run must keep, as checks over what the run
// started from and what it left. Entries are named by their keys (folder
// path, kind, name; see tree.h). Each check returns one readable line per
// violation and nothing when the property holds.
#pragma once

#include <string>
#include <vector>

#include "property/names.h"
#include "property/tree.h"

namespace kestro::property {

struct RunOutcome {
  Tree last;             // the handheld as the previous run left it (both sides agreed)
  Tree handheld_before;  // with the handheld application's flags
  Tree desktop_before;
  Tree handheld_after;
  Tree desktop_after;
  Store store = Store::kBookmarkFile;
};

// Marks each entry of last with its index, and each entry of the desktop as
// read after the same run with the index of the entry of last at its place:
// the k-th of a place on the desktop is the k-th of that place in last.
void MarkOrigins(Tree& last, Tree& desktop);

// 1. Nothing that either side kept unchanged is lost: an entry of the last
//    run that one side kept unchanged (same place, address and flags) and the
//    other side still holds at its place (changed or not) is afterwards on at
//    least one side, as often as both sides held it. Of same-named siblings,
//    only those that are still at their place on both sides count: a folder
//    that one side renamed is not the one the other side kept.
std::vector<std::string> LostEntries(const RunOutcome& run);
// 1, for what the run added: a favourite added on one side is afterwards on
//    both sides in its folder, by name and address, as often as one side
//    added it; inside a folder its own side renamed, under the folder's new
//    name or, if the rename did not go through, its former one. Allowed to be
//    missing: one inside a folder the other side deleted or renamed; one whose name,
//    address or folder the desktop store cannot hold, from the desktop (the
//    handheld keeps it); in a favourites folder, a desktop one whose name a
//    new or changed handheld favourite of that folder takes.
std::vector<std::string> LostNewFavorites(const RunOutcome& run);
// 2. No favourite (name and address) ends in a folder where neither side had it.
std::vector<std::string> FavoritesInForeignFolders(const RunOutcome& run);
// 3. No favourite is on either side more often than it was on one side before.
std::vector<std::string> NewDuplicates(const RunOutcome& run);
// The same two properties for a first run, which starts from an empty
// handheld: every desktop entry reaches the handheld, once.
std::vector<std::string> FirstRunDifferences(const Tree& desktop, const Tree& handheld);
// 4. A second run changes nothing: the first line that differs, or empty.
std::string FirstDifference(const std::string& before, const std::string& after);
// True when a favourite changed on the handheld finds no desktop entry of
// its place while the last run knew its name (at its level): deleted on the
// desktop, renamed on the handheld to a known name, or every desktop entry
// of its place taken by a handheld entry of the same address. The change goes to the
// desktop and the handheld drops its record, so it returns to the handheld
// one run later. Such a run settles in two.
bool ChangedOnHandheldDeletedOnDesktop(const RunOutcome& run);
// 5. Every Parent names the folder around its record (and the records are in
//    depth-first order): see testing::TreeProblem.

}  // namespace kestro::property
