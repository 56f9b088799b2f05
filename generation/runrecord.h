#pragma once

// The record of what the runs into one output folder wrote there. It is kept
// in the per-user cache folder, never in the album folder (which is uploaded
// as it is), under the folder's device and inode. Losing it only costs time:
// a run without a usable record renders every photograph.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "platform/fileidentity.h"

namespace folivant {

/// A file a run wrote, as it was right after writing; for an image, the
/// ImageInputsKey it was rendered under (empty for pages and the rest).
struct TWrittenFile {
  TFileStamp Stamp;
  std::string Inputs;
  bool operator==(const TWrittenFile&) const = default;
};

/// A photograph's source file as a run found it, and its ContentFingerprint.
struct TSourceFile {
  TFileStamp Stamp;
  std::string Fingerprint;
  bool operator==(const TSourceFile&) const = default;
};

struct TRunRecord {
  /// By name in the output folder (never a path).
  std::map<std::string, TWrittenFile> Files;
  /// By the photograph's FileName.
  std::map<std::string, TSourceFile> Sources;
};

/// "$XDG_CACHE_HOME/folivant", else "$HOME/.cache/folivant".
std::string DefaultRunRecordFolder();

/// The record of the runs into `output_folder` kept in `record_folder`. An
/// empty record when there is none or it cannot be used: unreadable, larger
/// than any real record, damaged, or another folder's.
TRunRecord LoadRunRecord(const std::string& record_folder, const std::string& output_folder);

/// Replaces the record of `output_folder` atomically, creating `record_folder`
/// when missing. Entries whose names or paths are not UTF-8 are left out (JSON
/// cannot carry them); their files are treated as unknown next time. Throws
/// TError when the record cannot be written.
void SaveRunRecord(const std::string& record_folder, const std::string& output_folder, const TRunRecord& record);

/// The most records, and bytes of records, that `record_folder` keeps.
inline constexpr size_t kMaxRunRecords = 50;
inline constexpr uint64_t kMaxRunRecordBytes = uint64_t{256} << 20;

/// Keeps `record_folder` bounded, at the start of a run into `output_folder`
/// (whose record always stays): removes the records of output folders that
/// are gone, then those of the folders least recently run into while more
/// than kMaxRunRecords or kMaxRunRecordBytes remain, and the temporary files
/// of interrupted writes of records from before `before_ns`. Reads only the
/// start of each record; never throws.
void TidyRunRecords(const std::string& record_folder, const std::string& output_folder, int64_t before_ns);

}  // namespace folivant
