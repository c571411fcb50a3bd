// Names in a favourites folder are case-blind and case-keeping, as on NTFS:
// an operation on "bbc.url" must act on an existing "BBC.url", never create a
// second file beside it. This unit finds the name an entry really has.
#pragma once

#include <map>
#include <string>
#include <unordered_map>

namespace kestro::platform {

// The name of the entry of folder that equals name with A-Z folded (the exact
// name when it exists; the first such entry in listing order otherwise), or
// name itself when there is none. On a case-blind file system: name.
std::string ExistingNameCaseBlind(const std::string& folder, const std::string& name);

// The same answers for a run that adds many entries to a few folders: each
// folder is listed once, the first time a name is looked up in it, and the
// run tells of every entry it makes or removes there. An entry another
// program makes meanwhile is not seen here; a new file is still never written
// over it (WriteNewFile refuses). On a case-blind file system nothing is
// listed or kept.
class FolderNames {
 public:
  std::string ExistingNameCaseBlind(const std::string& folder, const std::string& name);
  // Whether folder holds a file (or a link to one) of exactly that name.
  bool HoldsFile(const std::string& folder, const std::string& name);
  // Whether folder was there when listed (or made since).
  bool IsThere(const std::string& folder);

  void Added(const std::string& folder, const std::string& name, bool is_file);
  void Removed(const std::string& folder, const std::string& name);
  // A folder this run made: it is there, and empty.
  void Made(const std::string& folder);
  // Entries were moved or made in ways not told of: list again when asked.
  void Forget() { folders_.clear(); }

 private:
  struct Listing {
    bool there = false;
    // Upper-cased name -> the entries that fold to it, each with whether it
    // is a file.
    std::unordered_map<std::string, std::map<std::string, bool>> names;
  };
  Listing& Of(const std::string& folder);
  std::unordered_map<std::string, Listing> folders_;
};

}  // namespace kestro::platform
