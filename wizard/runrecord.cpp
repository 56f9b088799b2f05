#include "wizard/runrecord.h"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>

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

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The record's file: one per output folder, named after its identity, so a
// folder that is moved or renamed keeps its record.
std::optional<std::string> RecordFile(const std::string& record_folder, const std::string& output_folder) {
  const std::optional<TFileIdentity> folder = FileIdentity(output_folder);
  if (!folder || record_folder.empty()) return std::nullopt;
  char name[64];
  std::snprintf(name, sizeof name, "run-%llx-%llx.json", static_cast<unsigned long long>(folder->Device),
                static_cast<unsigned long long>(folder->Inode));
  return JoinPath(record_folder, name);
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

}  // namespace

std::string DefaultRunRecordFolder() {
  if (const std::string cache = Environment("XDG_CACHE_HOME"); !cache.empty()) return JoinPath(cache, "folivant");
  return JoinPath(JoinPath(Environment("HOME"), ".cache"), "folivant");
}

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
  const TJson json = {{"format", kRecordFormat},   {"folder", SanitizeUtf8(output_folder)},
                      {"device", folder.Device},   {"inode", folder.Inode},
                      {"files", std::move(files)}, {"sources", std::move(sources)}};
  if (!ForceDirectories(record_folder))
    throw TError("Could not create the folder \"" + record_folder + "\" for the record of the run.");
  WriteFileAtomically(*file, json.dump());
}

}  // namespace folivant
