// The option and attribute sets of the remote table: small sets of enum
// members held in one byte, as the table stores them. The layout reads two of
// the options (opStringsAlign, opNumAlign); the rest belong to the table.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace kestro {

template <typename E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> members) {
    for (E m : members) bits_ |= Bit(m);
  }
  constexpr bool Contains(E m) const { return (bits_ & Bit(m)) != 0; }
  constexpr void Include(E m) { bits_ |= Bit(m); }
  constexpr void Exclude(E m) { bits_ &= static_cast<uint8_t>(~Bit(m)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  static constexpr uint8_t Bit(E m) { return static_cast<uint8_t>(1u << static_cast<unsigned>(m)); }
  uint8_t bits_ = 0;
};

enum ThcdPalmRemoteTableOption : uint8_t {
  opShowSecret,    // open so that records marked secret are visible
  opArchived,      // kept for callers; no operation consults it
  opModified,      // walk only the records marked modified
  opStringsAlign,  // align after the last of a run of strings
  opNumAlign,      // put numbers of even width at even positions
};
using ThcdPalmRemoteTableOptions = EnumSet<ThcdPalmRemoteTableOption>;

// Database header attributes the table can set when it creates a database.
enum TableAttribute : uint8_t {
  taAppInfoDirty,
  taBackup,
  taOkToInstallNewer,
  taCopyPrevention,
  taResetAfterInstall,
};
using TableAttributes = EnumSet<TableAttribute>;

// The create-block flags of a set of table attributes. The fourth member sets
// 0x40 and the fifth 0x20: these are the handheld's own header bit values.
constexpr uint32_t TableAttributeFlags(TableAttributes attributes) {
  constexpr uint32_t kFlag[] = {0x04, 0x08, 0x10, 0x40, 0x20};
  uint32_t flags = 0;
  for (unsigned i = 0; i < 5; ++i) {
    if (attributes.Contains(static_cast<TableAttribute>(i))) flags |= kFlag[i];
  }
  return flags;
}

}  // namespace kestro
