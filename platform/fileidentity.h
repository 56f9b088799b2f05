#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace folivant {

/// What makes a file the same file under any name: its device and inode.
struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  bool operator==(const TFileIdentity&) const = default;
};

/// The identity of the file that `path` names, links followed; nothing when
/// there is no such file (or it cannot be looked at).
std::optional<TFileIdentity> FileIdentity(const std::string& path);

}  // namespace folivant
