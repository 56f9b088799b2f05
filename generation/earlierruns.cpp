#include "generation/earlierruns.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string_view>
#include <utility>

#include "generation/runchecks.h"
#include "generator/imageoutputs.h"
#include "generator/jpegcodec.h"
#include "model/metadata/imgdata.h"
#include "platform/filesystem.h"

namespace folivant {

namespace {

// How long after its last change a source's stamp is trusted to show the next
// change: file times advance in coarse steps (a clock tick, or 2 s on some
// file systems), so a file written again within the same step keeps its
// stamp. Sources changed more recently are fingerprinted on every run.
constexpr int64_t kStampSettlesNs = 3'000'000'000;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

TEarlierRuns::TEarlierRuns(const TAlbum& album, bool full, std::string record_folder)
    : album_(album), full_(full), record_folder_(std::move(record_folder)) {}

std::string TEarlierRuns::OutputFile(const std::string& name) const { return album_.Settings.OutputDirectory + name; }

int TEarlierRuns::TidyUp() {
  const std::string& folder = album_.Settings.OutputDirectory;
  const int64_t started = FileClockNowNs();
  if (!record_folder_.empty()) {
    TidyRunRecords(record_folder_, folder, started);
    earlier_record_ = LoadRunRecord(record_folder_, folder);
  }
  // Only the temporaries of names that are surely ours, and only those an
  // earlier run left: a run writing into the folder at the same time makes
  // its own after this one started.
  std::set<std::string, std::less<>> stems;
  for (const std::string& name : OutputFileNames(album_)) stems.emplace(TemporaryStem(name));
  for (const auto& [name, written] : earlier_record_.Files) stems.emplace(TemporaryStem(name));
  return RemoveStaleTemporaries(
      folder, [&stems](std::string_view stem) { return stems.contains(stem); }, started);
}

std::vector<std::optional<std::vector<TImageFile>>> TEarlierRuns::FindImagesUpToDate() {
  settled_before_ = NowNs() - kStampSettlesNs;
  std::vector<std::optional<std::vector<TImageFile>>> up_to_date;
  for (int i = 0; i < album_.Photographs.Count(); ++i) {
    const TPhotograph& photograph = album_.Photographs[i];
    const std::optional<std::string> inputs = KnownInputs(photograph);
    up_to_date.push_back(inputs ? ImagesUpToDate(photograph, *inputs) : std::nullopt);
  }
  return up_to_date;
}

std::optional<std::string> TEarlierRuns::KnownInputs(const TPhotograph& photograph) {
  if (full_ || photograph.Missing() || !IsJpegName(photograph.FileName, TJpegEndings::JpgJpegOnly)) return std::nullopt;
  const std::optional<TFileStamp> stamp = FileStamp(photograph.FileName);
  if (!stamp) return std::nullopt;
  // A source whose stamp is the one recorded with its fingerprint is not read.
  const auto known = earlier_record_.Sources.find(photograph.FileName);
  if (known != earlier_record_.Sources.end() && known->second.Stamp == *stamp) {
    RecordSource(photograph.FileName, {known->second.Stamp, known->second.Fingerprint});
    return ImageInputsKey(album_.Settings, photograph, stamp->Size, known->second.Fingerprint);
  }
  // Otherwise only its content can show that the earlier images are still its
  // images (a "touch"), and reading it is worth it only when their key matches
  // but for the content. Else it is rendered, and the decoder's read of the
  // file gives the fingerprint.
  const auto earlier_image = earlier_record_.Files.find(photograph.WebName + std::string(kPhotoEnding));
  if (earlier_image == earlier_record_.Files.end()) return std::nullopt;
  const std::string& earlier_inputs = earlier_image->second.Inputs;
  if (earlier_inputs != ImageInputsKey(album_.Settings, photograph, stamp->Size, KeyFingerprint(earlier_inputs)))
    return std::nullopt;
  const std::optional<TFileContent> content = ContentFingerprint(photograph.FileName);
  if (!content) return std::nullopt;
  RecordSource(photograph.FileName, *content);
  return ImageInputsKey(album_.Settings, photograph, content->Stamp.Size, content->Fingerprint);
}

void TEarlierRuns::RecordSource(const std::string& path, const TFileContent& content) {
  if (std::max(content.Stamp.ModifiedNs, content.Stamp.ChangedNs) < settled_before_)
    record_.Sources[path] = {content.Stamp, content.Fingerprint};
}

void TEarlierRuns::RecordFile(const std::string& name, const TFileStamp& stamp, const std::string& inputs) {
  record_.Files[name] = {stamp, inputs};
}

std::optional<std::vector<TImageFile>> TEarlierRuns::ImagesUpToDate(const TPhotograph& photograph,
                                                                    const std::string& inputs) const {
  std::vector<TImageFile> expected;
  try {
    expected = ExpectedImageFiles(album_.Settings, photograph);
  } catch (const TPictureError&) {
    return std::nullopt;  // rendering tells why
  }
  for (const TImageFile& file : expected) {
    const std::string name = photograph.WebName + std::string(file.Ending);
    const auto written = earlier_record_.Files.find(name);
    if (written == earlier_record_.Files.end() || written->second.Inputs != inputs) return std::nullopt;
    if (FileStamp(OutputFile(name), TLinks::Keep) != written->second.Stamp) return std::nullopt;
  }
  return expected;
}

bool TEarlierRuns::KeepIfUnchanged(const std::string& name, const std::string& inputs) {
  const auto written = earlier_record_.Files.find(name);
  if (written == earlier_record_.Files.end() || written->second.Inputs != inputs) return false;
  if (FileStamp(OutputFile(name), TLinks::Keep) != written->second.Stamp) return false;
  record_.Files[name] = written->second;
  return true;
}

std::set<std::string> TEarlierRuns::AlbumNamesToKeep() const {
  std::set<std::string> names;
  for (std::string& name : OutputFileNames(album_)) names.insert(std::move(name));
  // A photograph whose images this run published has all of them in the
  // record, so what else earlier runs wrote for it (at another photo size, a
  // width it no longer gets) is no longer the album's. The images of the
  // others stay, also where their names are those of a published one.
  std::vector<std::string> unpublished;
  for (int i = 0; i < album_.Photographs.Count(); ++i) {
    const std::string& web_name = album_.Photographs[i].WebName;
    const bool published = record_.Files.contains(web_name + std::string(kPhotoEnding));
    for (const std::string_view ending : ImageFileEndings(album_.Settings.PageStyle)) {
      std::string name = web_name + std::string(ending);
      if (published)
        names.erase(name);
      else
        unpublished.push_back(std::move(name));
    }
  }
  names.insert(unpublished.begin(), unpublished.end());
  return names;
}

int TEarlierRuns::KeepOrPrune(bool prune) {
  if (record_folder_.empty()) return 0;
  int pruned = 0;
  const std::set<std::string> album_names = AlbumNamesToKeep();
  // Never pruned: the album's photographs and its own file, whatever the record says.
  std::vector<TFileIdentity> sources;
  for (int i = 0; i <= album_.Photographs.Count(); ++i) {
    const std::string& path = i < album_.Photographs.Count() ? album_.Photographs[i].FileName : album_.FileName;
    if (const std::optional<TFileIdentity> source = FileIdentity(path)) sources.push_back(*source);
  }
  // Files an earlier run wrote and this one did not: kept in the record while
  // they are still as written (they are ours to prune later), forgotten once
  // someone else changed them.
  for (const auto& [name, written] : earlier_record_.Files) {
    if (record_.Files.contains(name)) continue;
    const std::string path = OutputFile(name);
    // A link in the file's place never counts as the file, so pruning removes no link and nothing behind one.
    if (FileStamp(path, TLinks::Keep) != written.Stamp) continue;
    const bool is_a_source = std::find(sources.begin(), sources.end(), written.Stamp.Identity) != sources.end();
    // An album left without its copy keeps the copies of earlier runs as well.
    const bool spared_copy = !album_.Settings.AlbumCopy && name.ends_with(kAlbumFileExtension);
    std::error_code error;
    if (prune && !album_names.contains(name) && !is_a_source && !spared_copy && std::filesystem::remove(path, error)) {
      ++pruned;
      continue;
    }
    record_.Files[name] = written;
  }
  return pruned;
}

void TEarlierRuns::Save() const {
  if (record_folder_.empty()) return;
  SaveRunRecord(record_folder_, album_.Settings.OutputDirectory, record_);
}

}  // namespace folivant
