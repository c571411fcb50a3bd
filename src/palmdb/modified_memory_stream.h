// A growable in-memory byte stream that remembers whether it was written.
// The remote table keeps a database's application-information block in one:
// any write, resize or load sets Modified; only the owner clears it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestro {

class ThcdModifiedMemoryStream {
 public:
  virtual ~ThcdModifiedMemoryStream() = default;

  virtual std::size_t Write(const void* data, std::size_t count);
  std::size_t Read(void* data, std::size_t count);
  void Seek(std::size_t position) { position_ = position; }
  std::size_t Position() const { return position_; }

  std::size_t Size() const { return size_; }
  virtual void SetSize(std::size_t size);
  virtual std::size_t Capacity() const { return buffer_.size(); }
  virtual void SetCapacity(std::size_t capacity);
  // Replaces the content by the whole content of another stream.
  void LoadFromStream(const ThcdModifiedMemoryStream& other);
  void Clear();

  const uint8_t* Memory() const { return buffer_.data(); }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 private:
  std::vector<uint8_t> buffer_;  // capacity; the first size_ bytes are content
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool modified_ = false;
};

}  // namespace kestro
