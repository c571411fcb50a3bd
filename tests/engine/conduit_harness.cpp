#include "engine/conduit_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "hostapi/host_records.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

using OpenConduitFn = int32_t (*)(void (*)(const char*), hostapi::ThcdSyncProperties*);

void Put32(std::string& out, int32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF));
}

void DescribeInto(const std::string& folder, const std::string& shown, std::string& out) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(folder, entries)) return;
  for (const auto& e : entries) {
    std::string path = folder + platform::PathSeparator() + e.name;
    if (e.is_directory) {
      out += "dir " + shown + "\\" + e.name + "\n";
      DescribeInto(path, shown + "\\" + e.name, out);
    } else {
      std::string text;
      platform::ReadWholeFile(path, text);
      std::size_t at = text.find("URL=");
      std::string url = at == std::string::npos
                            ? ""
                            : text.substr(at + 4, text.find_first_of("\r\n", at) - at - 4);
      out += "file " + shown + "\\" + e.name + "=" + url + "\n";
    }
  }
}

}  // namespace

std::string PackRecord(const HandheldRecord& r) {
  std::string out = r.name;
  out.push_back('\0');
  Put32(out, r.parent);
  out.push_back(static_cast<char>((r.level >> 8) & 0xFF));
  out.push_back(static_cast<char>(r.level & 0xFF));
  out.push_back(static_cast<char>(r.status));
  out += r.url;
  out.push_back('\0');
  return out;
}

HandheldRecord UnpackRecord(const std::string& data, uint32_t id) {
  HandheldRecord r;
  r.id = id;
  std::size_t z = data.find('\0');
  EXPECT_NE(z, std::string::npos);
  EXPECT_GE(data.size(), z + 9);
  if (z == std::string::npos || data.size() < z + 9) return r;
  r.name = data.substr(0, z);
  auto byte = [&](std::size_t i) { return static_cast<uint8_t>(data[z + 1 + i]); };
  r.parent = static_cast<int32_t>((uint32_t{byte(0)} << 24) | (uint32_t{byte(1)} << 16) |
                                  (uint32_t{byte(2)} << 8) | byte(3));
  r.level = (byte(4) << 8) | byte(5);
  r.status = byte(6);
  std::size_t url_at = z + 8;
  std::size_t z2 = data.find('\0', url_at);
  EXPECT_EQ(z2, data.size() - 1) << "one NUL ends the URL and the record";
  r.url = data.substr(url_at, z2 == std::string::npos ? std::string::npos : z2 - url_at);
  return r;
}

ConduitHarness::ConduitHarness() {
  conduit_ = std::make_unique<platform::DynamicLibrary>(BinFolder() + "Kestro.dll");
  EXPECT_TRUE(conduit_->IsLoaded()) << conduit_->Error();
}

ConduitHarness::~ConduitHarness() { conduit_.reset(); }

void ConduitHarness::WriteRegistry(const std::string& text) {
  ASSERT_TRUE(platform::WriteFileAtomically(env_.Path("registry.reg"), "REGEDIT4\r\n\r\n" + text));
}

void ConduitHarness::UseStore(int32_t browser_type, const std::string& location) {
  std::string escaped;
  for (char c : location) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  char type[16];
  std::snprintf(type, sizeof type, "%08x", static_cast<uint32_t>(browser_type));
  WriteRegistry("[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"FavoritesPath\"=\"" + escaped +
                "\"\r\n\"BrowserType\"=dword:" + type + "\r\n");
}

void ConduitHarness::PutHandheld(const std::vector<HandheldRecord>& records) {
  sync_.SyncDeleteDB("KestroDB", 0);
  uint8_t handle = sync_.Create("KestroDB");
  std::vector<uint32_t> folders;
  for (HandheldRecord r : records) {
    if (r.parent == 0 && r.level > 0 && static_cast<std::size_t>(r.level) <= folders.size()) {
      r.parent = static_cast<int32_t>(folders[static_cast<std::size_t>(r.level) - 1]);
    }
    uint32_t id = sync_.Write(handle, PackRecord(r));
    ASSERT_NE(id, 0u) << r.name;
    if (!(r.status & kUrl)) {
      folders.resize(static_cast<std::size_t>(std::max(r.level, 0)));
      folders.push_back(id);
    }
  }
  ASSERT_EQ(sync_.SyncCloseDB(handle), 0);
}

uint32_t ConduitHarness::WriteRawRecord(const std::string& bytes, uint32_t id) {
  uint8_t handle = 0;
  EXPECT_EQ(sync_.SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead | hostapi::kOpenWrite), 0);
  uint32_t written = sync_.Write(handle, bytes, id);
  EXPECT_NE(written, 0u);
  sync_.SyncCloseDB(handle);
  return written;
}

std::vector<std::string> ConduitHarness::HandheldBytes() {
  std::vector<std::string> out;
  uint8_t handle = 0;
  if (sync_.SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead) != 0) return out;
  uint16_t count = 0;
  EXPECT_EQ(sync_.SyncGetDBRecordCount(handle, &count), 0);
  for (uint16_t i = 0; i < count; ++i) out.push_back(sync_.ReadWith(sync_.SyncReadRecordByIndex, handle, 0, i).data);
  sync_.SyncCloseDB(handle);
  return out;
}

bool ConduitHarness::HandheldExists() {
  uint8_t handle = 0;
  if (sync_.SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead) != 0) return false;
  sync_.SyncCloseDB(handle);
  return true;
}

std::vector<HandheldRecord> ConduitHarness::Handheld() {
  std::vector<HandheldRecord> out;
  uint8_t handle = 0;
  if (sync_.SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead) != 0) return out;
  uint16_t count = 0;
  EXPECT_EQ(sync_.SyncGetDBRecordCount(handle, &count), 0);
  for (uint16_t i = 0; i < count; ++i) {
    auto read = sync_.ReadWith(sync_.SyncReadRecordByIndex, handle, 0, i);
    EXPECT_EQ(read.result, 0) << "record " << i;
    out.push_back(UnpackRecord(read.data, read.record.record_id));
  }
  sync_.SyncCloseDB(handle);
  return out;
}

std::vector<std::string> ConduitHarness::HandheldShape() {
  std::vector<HandheldRecord> records = Handheld();
  std::vector<std::string> shape;
  for (const HandheldRecord& r : records) {
    int folder = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (r.parent != 0 && records[i].id == static_cast<uint32_t>(r.parent))
        folder = static_cast<int>(i);
    }
    shape.push_back(r.name + "|" + std::to_string(r.level) + "|" + std::to_string(r.status) + "|" +
                    r.url + "|" + std::to_string(folder));
  }
  return shape;
}

std::string ConduitHarness::TreeProblem() { return testing::TreeProblem(Handheld()); }

std::string TreeProblem(const std::vector<HandheldRecord>& records) {
  std::vector<uint32_t> folders;
  for (const HandheldRecord& r : records) {
    if (r.level < 0 || static_cast<std::size_t>(r.level) > folders.size()) {
      return r.name + ": Level " + std::to_string(r.level) + " without a folder around it";
    }
    folders.resize(static_cast<std::size_t>(r.level));
    uint32_t expected = r.level == 0 ? 0 : folders.back();
    if (static_cast<uint32_t>(r.parent) != expected)
      return r.name + ": Parent is not its folder's ID";
    if (!(r.status & kUrl)) folders.push_back(r.id);
  }
  return {};
}

int32_t ConduitHarness::Sync(int32_t sync_type, const std::string& user) {
  auto open_conduit = conduit_->Function<OpenConduitFn>("OpenConduit");
  EXPECT_TRUE(open_conduit);
  if (!open_conduit) return -99;
  hostapi::ThcdSyncProperties props{};
  props.m_SyncType = sync_type;
  std::snprintf(props.m_UserName, sizeof props.m_UserName, "%s", user.c_str());
  return open_conduit(nullptr, &props);
}

void ConduitHarness::EndSession() {
  for (int handle = 1; handle < 256; ++handle) sync_.SyncCloseDB(static_cast<uint8_t>(handle));
}

std::string ConduitHarness::StateFile(int32_t browser_type) {
  return FileBytes(env_.Path(browser_type == 0 ? "KestroIE.ksd" : "KestroNS.ksd"));
}

std::string DescribeFavoritesFolder(const std::string& root) {
  std::string out;
  DescribeInto(root, "", out);
  return out;
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return "<missing>";
  return bytes;
}

bool WriteShortcut(const std::string& file, const std::string& url) {
  return platform::WriteFileAtomically(file, "[InternetShortcut]\r\nURL=" + url + "\r\n");
}

}  // namespace kestro::testing
