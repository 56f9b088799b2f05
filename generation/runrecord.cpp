#include "generation/runrecord.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "model/albumfile.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

namespace {

using TJson = nlohmann::json;

constexpr int kRecordFormat = 1;
// A record holds some 200 bytes per file written: this is room for hundreds
// of thousands of photographs, and keeps a damaged or foreign file from
// filling the memory.
constexpr size_t kMaxRecordBytes = 128 << 20;

// The name of a record: one per output folder, after its identity, so a folder
// that is moved or renamed keeps its record.
std::string RecordFileName(const TFileIdentity& folder) {
  char name[64];
  std::snprintf(name, sizeof name, "run-%llx-%llx.json", static_cast<unsigned long long>(folder.Device),
                static_cast<unsigned long long>(folder.Inode));
  return name;
}

bool IsRecordFileName(std::string_view name) { return name.starts_with("run-") && name.ends_with(".json"); }

std::optional<std::string> RecordFile(const std::string& record_folder, const std::string& output_folder) {
  const std::optional<TFileIdentity> folder = FileIdentity(output_folder);
  if (!folder || record_folder.empty()) return std::nullopt;
  return JoinPath(record_folder, RecordFileName(*folder));
}

TJson StampJson(const TFileStamp& stamp) {
  return TJson::array({stamp.Identity.Device, stamp.Identity.Inode, stamp.Size, stamp.ModifiedNs, stamp.ChangedNs});
}

TFileStamp StampFrom(const TJson& json) {
  if (!json.is_array() || json.size() != 5) throw std::runtime_error("not a stamp");
  return {{json[0].get<uint64_t>(), json[1].get<uint64_t>()},
          json[2].get<uint64_t>(),
          json[3].get<int64_t>(),
          json[4].get<int64_t>()};
}

// A name the run could have written in the output folder: nothing that
// reaches outside it, whatever the record file says.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Throws on anything but the layout SaveRunRecord writes.
TRunRecord RecordFrom(const TJson& json, const TFileIdentity& folder) {
  if (json.at("format").get<int>() != kRecordFormat || json.at("device").get<uint64_t>() != folder.Device ||
      json.at("inode").get<uint64_t>() != folder.Inode)
    throw std::runtime_error("another folder's record");
  TRunRecord record;
  for (const auto& [name, file] : json.at("files").items()) {
    if (!IsPlainFileName(name)) throw std::runtime_error("not a file name");
    record.Files[name] = {StampFrom(file.at("stamp")), file.at("inputs").get<std::string>()};
  }
  for (const auto& [path, source] : json.at("sources").items())
    record.Sources[path] = {StampFrom(source.at("stamp")), source.at("fingerprint").get<std::string>()};
  return record;
}

// What a record says of its output folder; it leads the file, so that a look
// at other folders' records reads only their first bytes.
struct TRecordHeader {
  std::string Folder;  // exact bytes, absolute
  std::optional<uint64_t> Device;
  std::optional<uint64_t> Inode;
  bool Complete() const { return !Folder.empty() && Device && Inode; }
};

// Gathers the header's values from the top level of a record and stops at the
// next entry once it has them all, before the files and sources.
class THeaderReader : public nlohmann::json_sax<TJson> {
 public:
  TRecordHeader Header;

  bool key(string_t& name) override {
    if (depth_ == 1) key_ = name;
    return depth_ != 1 || !Header.Complete();
  }
  bool string(string_t& value) override {
    // "folderbytes", the exact bytes of a path that is not UTF-8, goes after "folder".
    if (depth_ == 1 && key_ == "folder") Header.Folder = value;
    if (depth_ == 1 && key_ == "folderbytes") Header.Folder = PercentDecodedPath(value).value_or("");
    return true;
  }
  bool number_unsigned(number_unsigned_t value) override {
    if (depth_ == 1 && key_ == "device") Header.Device = value;
    if (depth_ == 1 && key_ == "inode") Header.Inode = value;
    return true;
  }
  bool start_object(std::size_t) override { return Enter(); }
  bool end_object() override { return Leave(); }
  bool start_array(std::size_t) override { return Enter(); }
  bool end_array() override { return Leave(); }
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

 private:
  bool Enter() {
    ++depth_;
    return true;
  }
  bool Leave() {
    --depth_;
    return true;
  }

  int depth_ = 0;
  std::string key_;
};

// Room for the header of a path of the longest length, each byte escaped.
constexpr size_t kHeaderBytes = 64 << 10;

std::optional<TRecordHeader> HeaderOf(const std::string& bytes) {
  THeaderReader reader;
  TJson::sax_parse(bytes, &reader);
  if (!reader.Header.Complete()) return std::nullopt;
  return reader.Header;
}

// The header of the regular file `path`, a record; records written before
// the header led them are read whole. Nothing when the file is no record.
std::optional<TRecordHeader> ReadRecordHeader(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string start(kHeaderBytes, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<size_t>(file.gcount()));
  if (std::optional<TRecordHeader> header = HeaderOf(start)) return header;
  if (start.size() < kHeaderBytes) return std::nullopt;
  try {
    return HeaderOf(ReadFileBytes(path, kMaxRecordBytes));
  } catch (const TError&) {
    return std::nullopt;
  }
}

bool IsMissing(int error) { return error == ENOENT || error == ENOTDIR; }

// Whether the output folder of a record is gone for good: nothing at its path
// is that folder, while the path, or the part of it that is left, lies on the
// folder's file system. A folder on a file system that is not mounted now (a
// removable disk) may come back and keeps its record; so does one that cannot
// be looked at.
bool FolderGone(const TRecordHeader& header) {
  std::filesystem::path path = std::filesystem::path(header.Folder).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();  // "/a/b/" names "/a/b"
  struct stat info {};
  bool at_folder_path = true;
  while (::stat(path.c_str(), &info) != 0) {
    if (!IsMissing(errno) || !path.has_relative_path()) return false;
    path = path.parent_path();
    at_folder_path = false;
  }
  if (static_cast<uint64_t>(info.st_dev) != header.Device) return false;
  return !at_folder_path || static_cast<uint64_t>(info.st_ino) != header.Inode;
}

struct TKeptRecord {
  std::string Path;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;
};

// Removes the records least recently written while more than the bounds remain.
void KeepWithinBounds(std::vector<TKeptRecord> records, uint64_t bytes_kept) {
  std::sort(records.begin(), records.end(),
            [](const TKeptRecord& a, const TKeptRecord& b) { return a.ModifiedNs < b.ModifiedNs; });
  size_t count = records.size() + 1;  // and the current folder's
  for (const TKeptRecord& record : records) {
    if (count <= kMaxRunRecords && bytes_kept <= kMaxRunRecordBytes) break;
    std::error_code ignored;
    if (!std::filesystem::remove(record.Path, ignored)) continue;
    --count;
    bytes_kept -= record.Size;
  }
}

}  // namespace

std::string DefaultRunRecordFolder() { return ProgramBaseFolder("XDG_CACHE_HOME", ".cache"); }

TRunRecord LoadRunRecord(const std::string& record_folder, const std::string& output_folder) {
  const std::optional<std::string> file = RecordFile(record_folder, output_folder);
  if (!file || !FileExists(*file)) return {};
  try {
    return RecordFrom(TJson::parse(ReadFileBytes(*file, kMaxRecordBytes)), *FileIdentity(output_folder));
  } catch (const std::exception&) {
    // Damaged, cut short or foreign: the run renders everything, as without a record.
    return {};
  }
}

void SaveRunRecord(const std::string& record_folder, const std::string& output_folder, const TRunRecord& record) {
  const std::optional<std::string> file = RecordFile(record_folder, output_folder);
  if (!file) return;
  const TFileIdentity folder = *FileIdentity(output_folder);
  TJson files = TJson::object();
  for (const auto& [name, written] : record.Files)
    if (IsValidUtf8(name)) files[name] = {{"stamp", StampJson(written.Stamp)}, {"inputs", written.Inputs}};
  TJson sources = TJson::object();
  for (const auto& [path, source] : record.Sources)
    if (IsValidUtf8(path)) sources[path] = {{"stamp", StampJson(source.Stamp)}, {"fingerprint", source.Fingerprint}};
  // The header first (TidyRunRecords reads no further), the long parts after it.
  std::error_code no_folder;
  const std::string path = std::filesystem::absolute(output_folder, no_folder).string();
  std::string text = R"({"format":)" + TJson(kRecordFormat).dump() + R"(,"folder":)" + TJson(SanitizeUtf8(path)).dump();
  if (!IsValidUtf8(path)) text += R"(,"folderbytes":)" + TJson(PercentEncodedPath(path)).dump();
  text += R"(,"device":)" + TJson(folder.Device).dump() + R"(,"inode":)" + TJson(folder.Inode).dump() + R"(,"files":)" +
          files.dump() + R"(,"sources":)" + sources.dump() + "}";
  if (!ForceDirectories(record_folder))
    throw TError("Could not create the folder \"" + record_folder + "\" for the record of the run.");
  WriteGeneratedFile(*file, text);
}

void TidyRunRecords(const std::string& record_folder, const std::string& output_folder, int64_t before_ns) {
  const std::optional<TFileIdentity> output = FileIdentity(output_folder);
  const std::string current = output ? RecordFileName(*output) : "";
  std::vector<TKeptRecord> kept;
  uint64_t bytes_kept = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(record_folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::filesystem::path& file = entry->path();
    const std::string name = file.filename().string();
    struct stat info {};
    if (!IsRecordFileName(name) || ::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (name != current) {
      // A file of another layout, or damaged, is of no use to any run.
      const std::optional<TRecordHeader> header = ReadRecordHeader(file);
      if (!header || FolderGone(*header)) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        continue;
      }
      kept.push_back({file, static_cast<uint64_t>(info.st_size),
                      int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec});
    }
    bytes_kept += static_cast<uint64_t>(info.st_size);
  }
  KeepWithinBounds(std::move(kept), bytes_kept);
  RemoveStaleTemporaries(record_folder, IsRecordFileName, before_ns);
}

}  // namespace folivant
