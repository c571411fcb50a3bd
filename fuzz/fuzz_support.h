// What the fuzz targets share: a scratch folder in memory (/dev/shm when
// there is one) for the parsers that read files, one per process, so that
// targets running side by side never meet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestro::fuzz {

// The path of a file named name in this process's scratch folder.
std::string ScratchFile(const std::string& name);
// Replaces the file's contents with the bytes; aborts when it cannot.
void WriteScratch(const std::string& path, std::string_view bytes);

inline std::string_view Bytes(const uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace kestro::fuzz
