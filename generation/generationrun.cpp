#include "generation/generationrun.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "generation/renderahead.h"
#include "generator/albumzip.h"
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

std::string PreparingPhotographsLabel(int up_to_date) {
  if (up_to_date == 0) return kPreparingPhotographsLabel;
  return std::string(kPreparingPhotographsLabel) + " (" + std::to_string(up_to_date) + " up to date)";
}

TGenerationRun::TGenerationRun(TAlbum& album, TLineList stylesheet_template, TRunOptions options)
    : album_(album),
      options_(std::move(options)),
      stylesheet_(std::move(stylesheet_template)),
      earlier_runs_(album, options_.Full, options_.RecordFolder) {}

TGenerationRun::~TGenerationRun() = default;

std::string TGenerationRun::OutputFile(const std::string& name) const { return album_.Settings.OutputDirectory + name; }

void TGenerationRun::WriteOutput(const std::string& name, std::string_view bytes, const std::string& inputs) {
  const std::string path = OutputFile(name);
  WriteGeneratedFile(path, bytes, TFlush::Later);
  if (const std::optional<TFileStamp> stamp = FileStamp(path, TLinks::Keep))
    earlier_runs_.RecordFile(name, *stamp, inputs);
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
        WriteAlbumZip();
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
  removed_temporaries_count_ = earlier_runs_.TidyUp();
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

void TGenerationRun::FindImagesUpToDate() {
  std::vector<std::optional<std::vector<TImageFile>>> found = earlier_runs_.FindImagesUpToDate();
  up_to_date_.assign(found.size(), false);
  for (size_t i = 0; i < found.size(); ++i) {
    if (!found[i]) continue;
    up_to_date_[i] = true;
    ++up_to_date_count_;
    // The pages of an image not rendered again learn its sizes from the plan
    // it was rendered by.
    if (album_.Settings.PageStyle != TPageStyle::Classic) image_files_[i] = std::move(*found[i]);
  }
  image_label_ = PreparingPhotographsLabel(up_to_date_count_);
}

void TGenerationRun::PassImagesUpToDate() {
  const int count = album_.Photographs.Count();
  while (index_ < count && up_to_date_[static_cast<size_t>(index_)]) {
    image_progress_.Position += 2;
    ++index_;
  }
}

void TGenerationRun::FinishRecord() {
  pruned_count_ = earlier_runs_.KeepOrPrune(options_.Prune);
  try {
    earlier_runs_.Save();
  } catch (const TError& error) {
    AddNotice(error.what());
    AddNotice("The next run into this folder renders every photograph again.");
  }
}

namespace {

// What the zip's bytes depend on: each member's name and its file as the run
// leaves it (a photograph rendered again is a new file), in order.
std::string ZipInputs(const std::vector<TZipMember>& members) {
  std::string inputs = "zip";
  for (const TZipMember& member : members) {
    const std::optional<TFileStamp> stamp = FileStamp(member.Path, TLinks::Keep);
    if (!stamp) return "";  // never equal to an earlier run's
    inputs += "; " + member.Name + " " + std::to_string(stamp->Identity.Device) + ":" +
              std::to_string(stamp->Identity.Inode) + " " + std::to_string(stamp->Size) + " " +
              std::to_string(stamp->ModifiedNs) + " " + std::to_string(stamp->ChangedNs);
  }
  return inputs;
}

}  // namespace

void TGenerationRun::WriteAlbumZip() {
  const TAlbumSettings& settings = album_.Settings;
  if (settings.PageStyle != TPageStyle::Modern || !settings.ZipDownload) return;
  std::vector<TZipMember> members;
  for (int i = 0; i < album_.Photographs.Count(); ++i) {
    const std::optional<std::vector<TImageFile>>& files = image_files_[static_cast<size_t>(i)];
    if (!files || files->empty()) continue;
    const std::string name = album_.Photographs[i].WebName + std::string(kPhotoEnding);
    members.push_back({name, OutputFile(name)});
  }
  // The index pages offer no zip then either.
  if (members.empty()) return;
  const std::string name(kAlbumZipName);
  const std::string inputs = ZipInputs(members);
  if (!inputs.empty() && earlier_runs_.KeepIfUnchanged(name, inputs)) return;
  WriteOutput(name, ZipArchive(members), inputs);
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
    earlier_runs_.RecordSource(photograph.FileName, rendered.Source);
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

bool TGenerationRun::WaitForNextStep(std::chrono::milliseconds timeout) {
  if (step_ != TRunStep::RenderPhotographs || !render_ahead_ || index_ >= album_.Photographs.Count()) return true;
  return render_ahead_->WaitUntilReady(index_, timeout);
}

void TGenerationRun::Skip() {
  if (step_ != TRunStep::RenderPhotographs || failed_) return;
  step_ = TRunStep::ClosePhotographs;
  render_ahead_.reset();
  image_label_ += kSkippedSuffix;
  skip_enabled_ = false;
}

}  // namespace folivant
