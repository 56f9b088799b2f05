#include "generation/generationrun.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

#include "generation/renderahead.h"
#include "generator/imageoutputs.h"
#include "generator/jpegcodec.h"
#include "model/albumfile.h"
#include "model/metadata/imgdata.h"
#include "platform/error.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace folivant {

std::string ExistingFolderQuestion(const std::string& folder) {
  return "The output folder '" + folder +
         "' already exists and may have files in it. Would you like to continue anyway?";
}

std::string PreparingPhotographsLabel(int up_to_date) {
  if (up_to_date == 0) return kPreparingPhotographsLabel;
  return std::string(kPreparingPhotographsLabel) + " (" + std::to_string(up_to_date) + " up to date)";
}

std::string DefaultOutputFolder(const TAlbum& album, const std::string& desktop_folder) {
  const std::string base = album.AlbumFileBaseName();
  return desktop_folder.empty() ? base : JoinPath(desktop_folder, base);
}

void SettleOutputFolder(TAlbum& album, const std::string& field_text, const std::string& desktop_folder) {
  const std::string before = album.Settings.OutputDirectory;
  if (!TrimBlanks(field_text).empty()) {
    album.Settings.SetOutputDirectory(field_text);
  } else if (album.Settings.OutputDirectory.empty()) {
    album.Settings.SetOutputDirectory(DefaultOutputFolder(album, desktop_folder));
  }
  // The folder is saved with the album, so a new one is a change to keep.
  if (album.Settings.OutputDirectory != before) album.MarkModified();
}

namespace {

// The longest file name Linux file systems take, in bytes.
constexpr size_t kMaxFileNameBytes = 255;
constexpr char kAlbumFileExtension[] = ".alb";

void CheckRange(const std::string& what, int32_t value, int32_t maximum, const char* unit) {
  if (value < 1 || value > maximum)
    throw TError("The " + what + " must be from 1 to " + std::to_string(maximum) + unit + ", not " +
                 std::to_string(value) + ".");
}

void CheckTemplate(const char* name, const char* load_error) {
  if (!FindResource(name)) throw TError(load_error);
}

// Every file the run writes, by its name in the output folder; web names must
// have been assigned.
std::vector<std::string> OutputFileNames(const TAlbum& album) {
  std::vector<std::string> names{"main.css"};
  if (album.Settings.AlbumCopy) names.push_back(AlbumCopyName(album));
  for (int i = 0; i < album.Photographs.Count(); ++i) {
    const std::string& web_name = album.Photographs[i].WebName;
    for (std::string_view ending : ImageFileEndings(album.Settings.PageStyle))
      names.push_back(web_name + std::string(ending));
    names.push_back(web_name + ".html");
  }
  const int index_pages = TAlbumPageGenerator(album).IndexPageCount();
  for (int page = 1; page <= index_pages; ++page) names.push_back(TAlbumPageGenerator::IndexPageFileName(page));
  return names;
}

// Refuses a folder where a file of the run would replace the file of a
// photograph, under whatever name or link it is reached there.
void CheckOutputsSpareThePhotographs(const TAlbum& album) {
  std::vector<std::pair<TFileIdentity, const TPhotograph*>> sources;
  for (int i = 0; i < album.Photographs.Count(); ++i) {
    const TPhotograph& photograph = album.Photographs[i];
    if (const std::optional<TFileIdentity> identity = FileIdentity(photograph.FileName))
      sources.emplace_back(*identity, &photograph);
  }
  if (sources.empty()) return;
  for (const std::string& name : OutputFileNames(album)) {
    const std::string path = album.Settings.OutputDirectory + name;
    const std::optional<TFileIdentity> identity = FileIdentity(path);
    if (!identity) continue;
    for (const auto& [source, photograph] : sources) {
      if (source != *identity) continue;
      throw TError("The output file \"" + path + "\" would replace the photograph \"" + photograph->DisplayTitle() +
                   "\" (" + photograph->FileName + "). Please choose another output folder.");
    }
  }
}

void CreateOutputFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (DirectoryExists(folder)) return;
  const std::filesystem::path bare = std::filesystem::path(folder).parent_path();
  std::error_code ignored;
  const bool file_in_the_way = std::filesystem::exists(bare, ignored) && !std::filesystem::is_directory(bare, ignored);
  const std::string reason = file_in_the_way ? "A file of that name exists"
                             : error         ? error.message()
                                             : std::string("Not a folder");
  throw TError("Could not create directory \"" + folder + "\". " + reason);
}

}  // namespace

void CheckRunSettings(const TAlbumSettings& settings) {
  if (settings.PhotoSize != TPhotoSize::Original)
    CheckRange("photo width", settings.PhotoWidth, kMaxPictureSide, " pixels");
  CheckRange("thumbnail width", settings.ThumbWidth, kMaxPictureSide, " pixels");
  CheckRange("thumbnail height", settings.ThumbHeight, kMaxPictureSide, " pixels");
  CheckRange("number of thumbnail rows", settings.ThumbnailRows, kMaxThumbnailGridSide, "");
  CheckRange("number of thumbnail columns", settings.ThumbnailCols, kMaxThumbnailGridSide, "");
  CheckTemplate(IndexPageTemplateName(settings.PageStyle), "Could not load index page template");
  CheckTemplate(PhotoPageTemplateName(settings.PageStyle), "Could not load photo page template");
}

std::string AlbumCopyName(const TAlbum& album) {
  const std::string base = album.AlbumFileBaseName();
  const std::optional<TFileIdentity> album_file = FileIdentity(album.FileName);
  std::string name = base + kAlbumFileExtension;
  for (int n = 2; album_file && FileIdentity(album.Settings.OutputDirectory + name) == album_file; ++n) {
    const std::string number = std::to_string(n);
    const size_t room = kMaxFileNameBytes - std::string_view(kAlbumFileExtension).size() - number.size();
    name = base.substr(0, room) + number + kAlbumFileExtension;
  }
  return name;
}

TFinishCheck CheckFinish(TAlbum& album, const std::string& field_text, const std::string& desktop_folder,
                         const std::function<bool(const std::string& question)>& continue_in_existing_folder) {
  if (album.Photographs.Empty()) return TFinishCheck::NoPhotographs;
  CheckRunSettings(album.Settings);
  SettleOutputFolder(album, field_text, desktop_folder);
  const std::string& folder = album.Settings.OutputDirectory;
  album.AssignWebNames();
  CheckOutputsSpareThePhotographs(album);
  if (DirectoryExists(folder) && !continue_in_existing_folder(ExistingFolderQuestion(folder)))
    return TFinishCheck::FolderRefused;
  CreateOutputFolder(folder);
  return TFinishCheck::Ready;
}

TGenerationRun::TGenerationRun(TAlbum& album, TLineList stylesheet_template, TRunOptions options)
    : album_(album), options_(std::move(options)), stylesheet_(std::move(stylesheet_template)) {}

TGenerationRun::~TGenerationRun() = default;

std::string TGenerationRun::OutputFile(const std::string& name) const { return album_.Settings.OutputDirectory + name; }

void TGenerationRun::WriteOutput(const std::string& name, std::string_view bytes, const std::string& inputs) {
  const std::string path = OutputFile(name);
  WriteGeneratedFile(path, bytes, TFlush::Later);
  if (const std::optional<TFileStamp> stamp = FileStamp(path, TLinks::Keep)) record_.Files[name] = {*stamp, inputs};
}

void TGenerationRun::AddNotice(std::string_view sentence) {
  if (!notice_.empty()) notice_ += " ";
  notice_ += AsSentence(sentence);
}

void TGenerationRun::WriteLines(const TLineList& lines, const std::string& name) {
  WriteOutput(name, JoinLinesCrLf(lines));
}

bool TGenerationRun::RunTick() {
  if (completed_ || failed_) return false;
  try {
    if (!page_generator_) page_generator_ = MakePageGenerator(album_, image_files_);
    if (!photo_generator_) photo_generator_ = std::make_unique<TAlbumPhotoGenerator>(album_);
    const int count = album_.Photographs.Count();
    switch (step_) {
      case TRunStep::PrepareRun: PrepareRun(); break;
      case TRunStep::RenderPhotographs:
        if (index_ < count)
          RenderNextPhotograph();
        else
          step_ = TRunStep::ClosePhotographs;
        break;
      case TRunStep::ClosePhotographs:
        render_ahead_.reset();
        index_ = 0;
        image_progress_.Position = image_progress_.Maximum;
        step_ = TRunStep::WritePhotoPages;
        break;
      case TRunStep::WritePhotoPages:
        if (index_ < count)
          WriteNextPhotoPage();
        else
          step_ = TRunStep::OpenIndexPages;
        break;
      case TRunStep::OpenIndexPages:
        index_ = 1;
        step_ = TRunStep::WriteIndexPages;
        break;
      case TRunStep::WriteIndexPages:
        if (index_ <= index_pages_)
          WriteNextIndexPage();
        else
          step_ = TRunStep::ClosePages;
        break;
      case TRunStep::ClosePages:
        // One flush for the whole album instead of one per file: on a busy
        // disk, waiting for each file would set the pace of the run.
        FlushFileSystem(album_.Settings.OutputDirectory);
        FinishRecord();
        index_ = 0;
        page_progress_.Position = page_progress_.Maximum;
        step_ = TRunStep::Finished;
        break;
      case TRunStep::Finished: completed_ = true; break;
    }
  } catch (...) {
    failed_ = true;
    render_ahead_.reset();
    throw;
  }
  return !completed_;
}

void TGenerationRun::PrepareRun() {
  const int count = album_.Photographs.Count();
  index_pages_ = page_generator_->IndexPageCount();
  image_files_.assign(static_cast<size_t>(count), std::nullopt);
  image_progress_ = {0, 2 * count};
  page_progress_ = {0, index_pages_ + count};
  album_.AssignWebNames();
  TidyUp();
  page_generator_->FillStylesheet(stylesheet_);
  WriteLines(stylesheet_, "main.css");
  if (album_.Settings.AlbumCopy) WriteAlbumCopy();
  FindImagesUpToDate();
  index_ = 0;
  PassImagesUpToDate();
  // Rendering only reads what this step has just settled, so the workers may
  // start now; they go at most two photographs per thread ahead of the writing.
  std::vector<int> to_render;
  for (int i = 0; i < count; ++i)
    if (!up_to_date_[static_cast<size_t>(i)]) to_render.push_back(i);
  if (options_.Jobs > 1 && !to_render.empty())
    render_ahead_ = std::make_unique<TRenderAhead>([this](int index) { return Render(index); }, std::move(to_render),
                                                   options_.Jobs, 2 * options_.Jobs);
  step_ = TRunStep::RenderPhotographs;
}

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

void TGenerationRun::TidyUp() {
  const std::string& folder = album_.Settings.OutputDirectory;
  const int64_t started = FileClockNowNs();
  if (!options_.RecordFolder.empty()) {
    TidyRunRecords(options_.RecordFolder, folder, started);
    earlier_record_ = LoadRunRecord(options_.RecordFolder, folder);
  }
  // Only the temporaries of names that are surely ours, and only those an
  // earlier run left: a run writing into the folder at the same time makes
  // its own after this one started.
  std::set<std::string, std::less<>> stems;
  for (const std::string& name : OutputFileNames(album_)) stems.emplace(TemporaryStem(name));
  for (const auto& [name, written] : earlier_record_.Files) stems.emplace(TemporaryStem(name));
  removed_temporaries_count_ = RemoveStaleTemporaries(
      folder, [&stems](std::string_view stem) { return stems.contains(stem); }, started);
}

void TGenerationRun::FindImagesUpToDate() {
  settled_before_ = NowNs() - kStampSettlesNs;
  const auto count = static_cast<size_t>(album_.Photographs.Count());
  up_to_date_.assign(count, false);
  for (size_t i = 0; i < count; ++i) {
    const std::optional<std::string> inputs = KnownInputs(album_.Photographs[static_cast<int>(i)]);
    up_to_date_[i] = inputs && ImagesUpToDate(static_cast<int>(i), *inputs);
    if (up_to_date_[i]) ++up_to_date_count_;
  }
  image_label_ = PreparingPhotographsLabel(up_to_date_count_);
}

std::optional<std::string> TGenerationRun::KnownInputs(const TPhotograph& photograph) {
  if (options_.Full || photograph.Missing() || !IsJpegName(photograph.FileName, TJpegEndings::JpgJpegOnly))
    return std::nullopt;
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

void TGenerationRun::RecordSource(const std::string& path, const TFileContent& content) {
  if (std::max(content.Stamp.ModifiedNs, content.Stamp.ChangedNs) < settled_before_)
    record_.Sources[path] = {content.Stamp, content.Fingerprint};
}

bool TGenerationRun::ImagesUpToDate(int index, const std::string& inputs) {
  const TPhotograph& photograph = album_.Photographs[index];
  std::vector<TImageFile> expected;
  try {
    expected = ExpectedImageFiles(album_.Settings, photograph);
  } catch (const TPictureError&) {
    return false;  // rendering tells why
  }
  for (const TImageFile& file : expected) {
    const std::string name = photograph.WebName + std::string(file.Ending);
    const auto written = earlier_record_.Files.find(name);
    if (written == earlier_record_.Files.end() || written->second.Inputs != inputs) return false;
    if (FileStamp(OutputFile(name), TLinks::Keep) != written->second.Stamp) return false;
  }
  // The pages of an image not rendered again learn its sizes from the plan
  // it was rendered by.
  if (album_.Settings.PageStyle != TPageStyle::Classic) image_files_[static_cast<size_t>(index)] = std::move(expected);
  return true;
}

void TGenerationRun::PassImagesUpToDate() {
  const int count = album_.Photographs.Count();
  while (index_ < count && up_to_date_[static_cast<size_t>(index_)]) {
    image_progress_.Position += 2;
    ++index_;
  }
}

void TGenerationRun::FinishRecord() {
  if (options_.RecordFolder.empty()) return;
  std::set<std::string> written_by_this_album;
  for (std::string& name : OutputFileNames(album_)) written_by_this_album.insert(std::move(name));
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
    if (options_.Prune && !written_by_this_album.contains(name) && !is_a_source && !spared_copy &&
        std::filesystem::remove(path, error)) {
      ++pruned_count_;
      continue;
    }
    record_.Files[name] = written;
  }
  try {
    SaveRunRecord(options_.RecordFolder, album_.Settings.OutputDirectory, record_);
  } catch (const TError& error) {
    AddNotice(error.what());
    AddNotice("The next run into this folder renders every photograph again.");
  }
}

void TGenerationRun::WriteAlbumCopy() {
  const std::string name = AlbumCopyName(album_);
  if (name != album_.AlbumFileBaseName() + kAlbumFileExtension)
    AddNotice("The album file \"" + album_.FileName + "\" has the name of the album's copy, so the copy is \"" +
              OutputFile(name) + "\".");
  // Only a copy: the album keeps the file it was opened from or saved to, and its saved state.
  WriteOutput(name, AlbumFileText(album_));
}

TRenderedImages TGenerationRun::Render(int index) const {
  TRenderedImages rendered;
  const TPhotograph& photograph = album_.Photographs[index];
  if (photograph.Missing()) {
    rendered.Reason = "file not found";
    return rendered;
  }
  // The album editor admits ".jpe" files, which the renderer does not read.
  if (!IsJpegName(photograph.FileName, TJpegEndings::JpgJpegOnly)) {
    rendered.Reason = "not a .jpg or .jpeg file";
    return rendered;
  }
  // A photograph that cannot be decoded gets no images, like a missing one,
  // rather than stopping the run for all the others.
  try {
    rendered.Files = photo_generator_->RenderImageFiles(index, &memory_budget_, &rendered.Source);
  } catch (const TPictureError& error) {
    rendered.Reason = error.what();
  }
  return rendered;
}

void TGenerationRun::RenderNextPhotograph() {
  TRenderedImages rendered = render_ahead_ ? render_ahead_->Take(index_) : Render(index_);
  const TPhotograph& photograph = album_.Photographs[index_];
  std::vector<TImageFile>& published = image_files_[static_cast<size_t>(index_)].emplace();
  if (!rendered.Files.empty()) {
    // The key of the bytes the decoder read, which may be newer than those
    // looked at when the run began.
    const std::string inputs =
        ImageInputsKey(album_.Settings, photograph, rendered.Source.Stamp.Size, rendered.Source.Fingerprint);
    RecordSource(photograph.FileName, rendered.Source);
    for (TImageFile& file : rendered.Files) {
      WriteOutput(photograph.WebName + std::string(file.Ending), file.Bytes, inputs);
      published.push_back({file.Ending, file.Size, {}});
    }
    image_progress_.Position += 2;
    ++rendered_count_;
  } else {
    // The run goes on without these images and tells the front end, which
    // names the photograph and the reason to the user at the end.
    without_images_.push_back({index_, std::move(rendered.Reason)});
    image_progress_.Position += 2;
  }
  ++index_;
  PassImagesUpToDate();
}

void TGenerationRun::WriteNextPhotoPage() {
  WriteLines(page_generator_->BuildPhotoPage(index_), page_generator_->PhotoPageFileName(index_));
  ++index_;
  ++page_progress_.Position;
}

void TGenerationRun::WriteNextIndexPage() {
  WriteLines(page_generator_->BuildIndexPage(index_), TAlbumPageGenerator::IndexPageFileName(index_));
  ++index_;
  ++page_progress_.Position;
}

void TGenerationRun::Skip() {
  if (step_ != TRunStep::RenderPhotographs || failed_) return;
  step_ = TRunStep::ClosePhotographs;
  render_ahead_.reset();
  image_label_ += kSkippedSuffix;
  skip_enabled_ = false;
}

}  // namespace folivant
