#include "engine/folder_matcher.h"

#include "base/text.h"

namespace kestro {

FolderMatcher::FolderMatcher(FavoriteItemView items, bool repeated_names)
    : items_(std::move(items)), repeated_names_(repeated_names), removed_(items_.size(), false) {
  buckets_.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    buckets_[Key(items_[i]->NameText(), items_[i]->isUrl != 0)].indices.push_back(
        static_cast<int>(i));
  }
}

std::string FolderMatcher::Key(std::string_view name, bool is_url) {
  std::string key = AsciiUpper(name);
  key.push_back('\0');
  key.push_back(is_url ? '1' : '0');
  return key;
}

std::string FolderMatcher::ExactKey(const FavoriteItem& item) {
  std::string key = Key(item.NameText(), item.isUrl != 0);
  key.push_back('\0');
  key.append(item.URLText());
  return key;
}

void FolderMatcher::Expect(const FavoriteItem& item) {
  if (item.isUrl) ++expected_[ExactKey(item)];
}

bool FolderMatcher::Kept(const Bucket& bucket, int index) const {
  if (expected_.empty()) return false;
  auto it = expected_.find(ExactKey(*Item(index)));
  if (it == expected_.end() || it->second == 0) return false;
  int same = 0;
  for (std::size_t i = bucket.next; i < bucket.indices.size(); ++i) {
    const int other = bucket.indices[i];
    same += !removed_[static_cast<std::size_t>(other)] &&
            Item(other)->URLText() == Item(index)->URLText();
  }
  return same <= it->second;
}

int FolderMatcher::Find(std::string_view name, bool is_url, const std::string_view* url,
                        OtherAddress other, bool known_only) {
  auto it = buckets_.find(Key(name, is_url));
  if (it == buckets_.end()) return -1;
  Bucket& bucket = it->second;
  while (bucket.next < bucket.indices.size() &&
         removed_[static_cast<std::size_t>(bucket.indices[bucket.next])]) {
    ++bucket.next;
  }
  if (bucket.next == bucket.indices.size()) return -1;
  if (url) {
    int first = -1;
    for (std::size_t i = bucket.next; i < bucket.indices.size(); ++i) {
      const int index = bucket.indices[i];
      if (removed_[static_cast<std::size_t>(index)] || Item(index)->URLText() != *url) continue;
      if (other == OtherAddress::kNever && Kept(bucket, index)) continue;
      if (Item(index)->NameText() == name) return index;
      if (first == -1) first = index;
    }
    if (first != -1) return first;
    if (other == OtherAddress::kNever) return -1;
  }
  // An entry the desktop added since the last run is its own favourite: an
  // edit made on the handheld to another must not overwrite it.
  for (std::size_t i = bucket.next; i < bucket.indices.size(); ++i) {
    const int index = bucket.indices[i];
    if (removed_[static_cast<std::size_t>(index)] || Kept(bucket, index)) continue;
    if (known_only && known_ && !known_->HoldsFavorite(level_, *Item(index))) continue;
    return index;
  }
  return -1;
}

int FolderMatcher::Match(const FavoriteItem& item) {
  if (item.isUrl && !expected_.empty()) {
    auto it = expected_.find(ExactKey(item));
    if (it != expected_.end() && it->second > 0) --it->second;
  }
  const std::string_view url = item.URLText();
  // A deletion must not take another favourite of its name for its own,
  // nor a new favourite overwrite one where both can stay. An entry of
  // another address may be one the desktop changed or added since the last
  // run: a deletion takes only its own. Where names repeat, a change takes
  // only one the last run knew.
  OtherAddress other = OtherAddress::kAny;
  if (item.isUrl && item.isDeleted) other = OtherAddress::kNever;
  else if (item.isUrl && item.isNew && repeated_names_) other = OtherAddress::kNever;
  const bool known_only = item.isUrl && item.isModified && !item.isNew && !item.isDeleted && repeated_names_;
  return Find(item.NameText(), item.isUrl != 0, &url, other, known_only);
}

std::vector<int> FolderMatcher::Folders(std::string_view name) const {
  std::vector<int> folders;
  auto it = buckets_.find(Key(name, false));
  if (it == buckets_.end()) return folders;
  for (std::size_t i = it->second.next; i < it->second.indices.size(); ++i) {
    const int index = it->second.indices[i];
    if (!removed_[static_cast<std::size_t>(index)]) folders.push_back(index);
  }
  return folders;
}

FavoriteItemView FolderMatcher::Remaining() const {
  FavoriteItemView rest;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!removed_[i]) rest.push_back(items_[i]);
  }
  return rest;
}

}  // namespace kestro
