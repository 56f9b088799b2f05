#pragma once

// The changes the main window makes to an album, each a command that does and
// undoes itself, so that the window's undo stack only holds them. Commands
// name photographs by identity. A command that takes photographs out of the
// album (removing them, or undoing their addition) keeps them until it is done
// again or dropped; an undo stack drops its newer commands first, so every
// photograph an older command names is alive, in the album or in a newer command.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// The photographs the photo list highlights, and the one on screen, by identity.
struct THighlight {
  std::vector<const TPhotograph*> Selected;
  const TPhotograph* Current = nullptr;
  bool operator==(const THighlight&) const = default;
};

/// What a command changes, so that a window redraws no more than it must:
/// which photographs the album holds or their order, how some of them look
/// (their files or turns), or texts only.
enum class TChangeKind : uint8_t { Order, Pictures, Texts };

/// A change to an album that knows how to do and undo itself.
class TAlbumCommand {
 public:
  virtual ~TAlbumCommand() = default;
  TAlbumCommand(const TAlbumCommand&) = delete;
  TAlbumCommand& operator=(const TAlbumCommand&) = delete;

  /// The change in the user's words, as Undo and Redo name it: "Remove 3 Photos".
  const std::string& Name() const { return name_; }
  TChangeKind Kind() const { return kind_; }
  /// The highlight when the command was made; Undo brings it back.
  const THighlight& Before() const { return before_; }
  /// The highlight once the change is done; the one before unless the change moves it.
  virtual THighlight After(const TAlbum& album) const;

  /// Makes the change, the first time or again after Undo.
  virtual void Do(TAlbum& album) = 0;
  /// Takes the change back; the album is as Do left it.
  virtual void Undo(TAlbum& album) = 0;
  /// Once done, the change turned out to change nothing (a sort of a sorted
  /// album, a title typed back as it was): not a step worth undoing.
  virtual bool Empty() const = 0;
  /// Takes in `next`, done right after this command, when the two are one
  /// step (typing into one field); false when they stay two.
  virtual bool MergeWith(const TAlbumCommand& next);

 protected:
  TAlbumCommand(std::string name, TChangeKind kind, THighlight before);

 private:
  std::string name_;
  TChangeKind kind_;
  THighlight before_;
};

/// `verb` and "Photo" for one photograph, else the number and "Photos", then
/// `after`: ("Remove", 3) gives "Remove 3 Photos", ("Rotate", 1, "Left") "Rotate Photo Left".
std::string PhotosName(std::string_view verb, size_t count, std::string_view after = "");

/// Appends `photos`, whose files have been read ("Add 3 Photos", "Import 12
/// Photos" by `verb`); the last of them becomes the one highlighted.
std::unique_ptr<TAlbumCommand> AddPhotos(std::string_view verb, std::vector<std::unique_ptr<TPhotograph>> photos,
                                         THighlight before);
/// Removes `photos`; Undo puts each back at its place. The first photograph
/// left becomes the one highlighted.
std::unique_ptr<TAlbumCommand> RemovePhotos(std::vector<const TPhotograph*> photos, THighlight before);

enum class TDirection : uint8_t { Up, Down };
/// Moves every run of the highlighted photographs one place, except a run that
/// already touches that end; the highlight moves with them.
std::unique_ptr<TAlbumCommand> MovePhotos(TDirection direction, THighlight before);
/// Puts the album in the order `sort` gives, as `name` says ("Sort by Title");
/// the first photograph becomes the one highlighted.
std::unique_ptr<TAlbumCommand> SortPhotos(std::string name, void (TAlbum::*sort)(), THighlight before);

/// Turns each of `photos` by `step` ("Rotate 3 Photos Left").
std::unique_ptr<TAlbumCommand> RotatePhotos(std::vector<TPhotograph*> photos, TRotation step, THighlight before);

enum class TPhotoText : uint8_t { Title, Caption };
/// Sets the photograph's title or caption (as album files keep it) to `text`.
/// Edits of the same field of the same photograph made in the same `typing`
/// session (a number the window changes when the typing ends) merge into one step.
std::unique_ptr<TAlbumCommand> EditPhotoText(TPhotograph& photo, TPhotoText field, std::string text, int typing,
                                             THighlight before);

/// How a photograph gets another file: as adding it does (AdoptFile, which
/// also takes the file's turn), or re-pointed only (SetFileName).
enum class TRelink : uint8_t { Adopt, Repoint };
/// Gives each photograph its new file ("Choose Another Photo", "Find Missing
/// Photos"). Undo gives back the file, title, caption and turn each had.
std::unique_ptr<TAlbumCommand> RelinkPhotos(std::string name, std::vector<std::pair<TPhotograph*, std::string>> files,
                                            TRelink how, THighlight before);

/// What the generation wizard edits of an album: its settings, title and description.
struct TAlbumLook {
  TAlbumSettings Settings;
  std::string Title;
  std::string Description;

  static TAlbumLook Of(const TAlbum& album);
  void ApplyTo(TAlbum& album) const;
  bool operator==(const TAlbumLook&) const = default;
};
/// The wizard's changes as one step, "Album Settings": `after` is what the
/// wizard left, `before` what it found.
std::unique_ptr<TAlbumCommand> ChangeAlbumLook(TAlbumLook before, TAlbumLook after, THighlight highlight);

}  // namespace folivant
