#pragma once

// The checks of Finish, before a run writes anything: the album has
// photographs, its settings can be generated, the output folder is settled,
// spares the photographs' files and exists.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "generator/limits.h"
#include "model/albumclasses.h"

namespace folivant {

inline constexpr char kNoPhotographsMessage[] = "There are no photographs in this album to generate.";
/// The extension of the album's copy in the output folder.
inline constexpr char kAlbumFileExtension[] = ".alb";

/// The question asked before writing into an output folder that already exists.
std::string ExistingFolderQuestion(const std::string& folder);

/// The folder a new album's pages go into: `desktop_folder` joined with
/// AlbumFileBaseName, or that base name alone (in the current folder, never in
/// the root of the file system) without a desktop folder.
std::string DefaultOutputFolder(const TAlbum& album, const std::string& desktop_folder);

/// Settles the album's OutputDirectory from the output folder field: its
/// untrimmed text when it is not blank; else the stored folder; else
/// DefaultOutputFolder. A folder that changes marks the album modified.
void SettleOutputFolder(TAlbum& album, const std::string& field_text, const std::string& desktop_folder);

/// Throws TError naming the first setting that would stop a run: photo width
/// (unless Original) and thumbnail sizes from 1 to kMaxPictureSide, rows and
/// columns from 1 to kRunMaxThumbnailGridSide (limits.h), the page templates.
void CheckRunSettings(const TAlbumSettings& settings);

/// The name of the album's copy in the output folder: AlbumFileBaseName +
/// ".alb", or with 2, 3, ... after the base while that file is the album's own
/// file (FileName), which a run never replaces.
std::string AlbumCopyName(const TAlbum& album);

/// Every file a run writes, by its name in the output folder; web names must
/// have been assigned.
std::vector<std::string> OutputFileNames(const TAlbum& album);

enum class TFinishCheck : uint8_t { Ready, NoPhotographs, FolderRefused };

/// Finish's checks before a run, before anything is written: no photographs
/// (nothing changes), CheckRunSettings, then the output folder settled, web
/// names assigned and no file of the run allowed to replace a photograph's
/// file (TError naming both), `continue_in_existing_folder` asked with
/// ExistingFolderQuestion when the folder exists, and the folder created with
/// its parents. Ready when the run may start. Throws TError
/// "Could not create directory \"<folder>\". <reason>" when the folder cannot be made.
TFinishCheck CheckFinish(TAlbum& album, const std::string& field_text, const std::string& desktop_folder,
                         const std::function<bool(const std::string& question)>& continue_in_existing_folder);

}  // namespace folivant
