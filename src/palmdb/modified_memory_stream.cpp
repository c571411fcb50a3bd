#include "palmdb/modified_memory_stream.h"

#include <algorithm>
#include <cstring>

namespace kestro {

std::size_t ThcdModifiedMemoryStream::Write(const void* data, std::size_t count) {
  modified_ = true;
  if (count == 0) return 0;
  std::size_t end = position_ + count;
  if (end > buffer_.size()) buffer_.resize(std::max(end, buffer_.size() * 2));
  std::memcpy(buffer_.data() + position_, data, count);
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

std::size_t ThcdModifiedMemoryStream::Read(void* data, std::size_t count) {
  if (position_ >= size_) return 0;
  std::size_t n = std::min(count, size_ - position_);
  std::memcpy(data, buffer_.data() + position_, n);
  position_ += n;
  return n;
}

void ThcdModifiedMemoryStream::SetSize(std::size_t size) {
  modified_ = true;
  if (size > buffer_.size()) buffer_.resize(size);
  if (size > size_) std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(size_), buffer_.begin() + static_cast<std::ptrdiff_t>(size), 0);
  size_ = size;
  position_ = std::min(position_, size_);
}

void ThcdModifiedMemoryStream::SetCapacity(std::size_t capacity) {
  modified_ = true;
  buffer_.resize(std::max(capacity, size_));
}

void ThcdModifiedMemoryStream::LoadFromStream(const ThcdModifiedMemoryStream& other) {
  std::vector<uint8_t> copy(other.Memory(), other.Memory() + other.Size());
  buffer_ = std::move(copy);
  size_ = buffer_.size();
  position_ = 0;
  modified_ = true;
}

void ThcdModifiedMemoryStream::Clear() {
  buffer_.clear();
  size_ = 0;
  position_ = 0;
  modified_ = true;
}

}  // namespace kestro
