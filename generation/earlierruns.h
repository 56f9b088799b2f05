#pragma once

// What earlier runs into an output folder left there, as their record tells,
// and the record a run keeps for the next: which photographs' images are up
// to date, and which files of earlier runs are ours to prune.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "generation/runrecord.h"
#include "generator/photogenerator.h"
#include "model/albumclasses.h"
#include "platform/fileidentity.h"

namespace folivant {

/// The earlier runs into the album's OutputDirectory and the record of this
/// one. Borrows the album for its whole life.
class TEarlierRuns {
 public:
  /// `full`: no photograph's images count as up to date. `record_folder`
  /// empty: no record is read or kept, so nothing is up to date or pruned.
  TEarlierRuns(const TAlbum& album, bool full, std::string record_folder);

  /// Keeps the record folder bounded, reads this folder's record and removes
  /// the temporaries that interrupted runs left; how many it removed.
  int TidyUp();
  /// Per photograph, in album order: the image files an earlier run wrote and
  /// this one may keep (from the plan they were rendered by), or nothing when
  /// they must be rendered. Records the sources it could vouch for.
  std::vector<std::optional<std::vector<TImageFile>>> FindImagesUpToDate();
  /// Keeps the source's stamp and fingerprint for the next run, once its stamp can be trusted.
  void RecordSource(const std::string& path, const TFileContent& content);
  /// Whether an earlier run wrote `name` under `inputs` and it is still as
  /// written; it then stays in the record as this run's.
  bool KeepIfUnchanged(const std::string& name, const std::string& inputs);
  /// Records a file this run wrote, as it is right after writing.
  void RecordFile(const std::string& name, const TFileStamp& stamp, const std::string& inputs);
  /// Goes through the files earlier runs wrote and this one did not: removes,
  /// when `prune`, those still as written that are not the album's (its
  /// photographs, its own file, the names of this run) and keeps the others
  /// in the record; how many it removed. Nothing without a record folder.
  int KeepOrPrune(bool prune);
  /// Keeps the record for the next run. Throws TError when it cannot be
  /// written; does nothing without a record folder.
  void Save() const;

 private:
  /// The ImageInputsKey of the photograph's images when it can be known without
  /// decoding it and its images may be up to date; nothing when the photograph is
  /// rendered in any case, or its source cannot be read.
  std::optional<std::string> KnownInputs(const TPhotograph& photograph);
  /// The files of the photograph's images when an earlier run wrote them
  /// under `inputs` and they are still as written.
  std::optional<std::vector<TImageFile>> ImagesUpToDate(const TPhotograph& photograph, const std::string& inputs) const;
  std::string OutputFile(const std::string& name) const;
  /// The names no pruning removes: every file the album writes, but for the
  /// images of a photograph this run published only those it wrote.
  std::set<std::string> AlbumNamesToKeep() const;

  const TAlbum& album_;
  const bool full_;
  const std::string record_folder_;
  TRunRecord earlier_record_;
  TRunRecord record_;  // of this run
  // Sources last changed before this time (nanoseconds since 1970) have a stamp that shows their next change.
  int64_t settled_before_ = 0;
};

}  // namespace folivant
