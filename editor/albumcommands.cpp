#include "editor/albumcommands.h"

#include <algorithm>
#include <functional>

#include "editor/listcommands.h"

namespace folivant {

TAlbumCommand::TAlbumCommand(std::string name, TChangeKind kind, THighlight before)
    : name_(std::move(name)), kind_(kind), before_(std::move(before)) {}

THighlight TAlbumCommand::After(const TAlbum&) const { return before_; }

bool TAlbumCommand::MergeWith(const TAlbumCommand&) { return false; }

std::string PhotosName(std::string_view verb, size_t count, std::string_view after) {
  std::string name(verb);
  name += count == 1 ? " Photo" : " " + std::to_string(count) + " Photos";
  if (!after.empty()) name.append(" ").append(after);
  return name;
}

namespace {

THighlight Only(const TPhotograph* photograph) {
  if (!photograph) return {};
  return {{photograph}, photograph};
}

THighlight FirstPhotograph(const TAlbum& album) {
  return Only(album.Photographs.Empty() ? nullptr : &album.Photographs[0]);
}

class TAddPhotos final : public TAlbumCommand {
 public:
  TAddPhotos(std::string_view verb, std::vector<std::unique_ptr<TPhotograph>> photos, THighlight before)
      : TAlbumCommand(PhotosName(verb, photos.size()), TChangeKind::Order, std::move(before)),
        outside_(std::move(photos)) {
    for (const std::unique_ptr<TPhotograph>& photograph : outside_) added_.push_back(photograph.get());
  }

  void Do(TAlbum& album) override {
    for (std::unique_ptr<TPhotograph>& photograph : outside_) album.Photographs.Add(std::move(photograph));
    outside_.clear();
  }
  void Undo(TAlbum& album) override {
    // They are the last photographs, as Do left them.
    outside_.resize(added_.size());
    for (size_t i = added_.size(); i-- > 0;) outside_[i] = album.Photographs.Take(album.Photographs.Count() - 1);
  }
  bool Empty() const override { return added_.empty(); }
  THighlight After(const TAlbum&) const override { return Only(added_.empty() ? nullptr : added_.back()); }

 private:
  std::vector<const TPhotograph*> added_;
  std::vector<std::unique_ptr<TPhotograph>> outside_;  // while not in the album
};

class TRemovePhotos final : public TAlbumCommand {
 public:
  TRemovePhotos(std::vector<const TPhotograph*> photos, THighlight before)
      : TAlbumCommand(PhotosName("Remove", photos.size()), TChangeKind::Order, std::move(before)),
        photos_(std::move(photos)) {}

  void Do(TAlbum& album) override {
    std::vector<int> places;
    for (const TPhotograph* photograph : photos_) places.push_back(album.Photographs.IndexOf(photograph));
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    places.erase(std::remove(places.begin(), places.end(), -1), places.end());
    removed_.resize(places.size());
    // From the last, so that the places still to take stay where they are.
    for (size_t i = places.size(); i-- > 0;) removed_[i] = {places[i], album.Photographs.Take(places[i])};
  }
  void Undo(TAlbum& album) override {
    for (auto& [place, photograph] : removed_) album.Photographs.Insert(place, std::move(photograph));
    removed_.clear();
  }
  bool Empty() const override { return removed_.empty(); }
  THighlight After(const TAlbum& album) const override { return FirstPhotograph(album); }

 private:
  std::vector<const TPhotograph*> photos_;
  std::vector<std::pair<int, std::unique_ptr<TPhotograph>>> removed_;  // by increasing place
};

// A new order of the same photographs: made by `arrange` the first time,
// then restored from what it made.
class TReorder final : public TAlbumCommand {
 public:
  TReorder(std::string name, std::function<void(TAlbum&)> arrange, bool highlights_first, THighlight before)
      : TAlbumCommand(std::move(name), TChangeKind::Order, std::move(before)),
        arrange_(std::move(arrange)),
        highlights_first_(highlights_first) {}

  void Do(TAlbum& album) override {
    if (arrange_) {
      order_before_ = album.Photographs.Order();
      arrange_(album);
      arrange_ = nullptr;
      order_after_ = album.Photographs.Order();
    } else {
      album.Photographs.Arrange(order_after_);
    }
  }
  void Undo(TAlbum& album) override { album.Photographs.Arrange(order_before_); }
  bool Empty() const override { return order_before_ == order_after_; }
  THighlight After(const TAlbum& album) const override { return highlights_first_ ? FirstPhotograph(album) : Before(); }

 private:
  std::function<void(TAlbum&)> arrange_;
  bool highlights_first_;
  std::vector<const TPhotograph*> order_before_, order_after_;
};

// Moves the highlighted photographs as the photo list's move rules say.
void MoveHighlighted(TAlbum& album, const THighlight& highlight, TDirection direction) {
  const std::vector<const TPhotograph*> order = album.Photographs.Order();
  TRowSelection selected(order.size());
  for (const TPhotograph* photograph : highlight.Selected) {
    const int row = album.Photographs.IndexOf(photograph);
    if (row >= 0) selected[static_cast<size_t>(row)] = true;
  }
  const int offset = direction == TDirection::Up ? -1 : +1;
  std::vector<const TPhotograph*> moved = order;
  for (const int row : direction == TDirection::Up ? MoveSelectedUp(selected) : MoveSelectedDown(selected)) {
    const int to = row + offset;
    std::swap(moved[static_cast<size_t>(row)], moved[static_cast<size_t>(to)]);
  }
  album.Photographs.Arrange(moved);
}

class TRotatePhotos final : public TAlbumCommand {
 public:
  TRotatePhotos(std::vector<TPhotograph*> photos, TRotation step, THighlight before)
      : TAlbumCommand(PhotosName("Rotate", photos.size(), StepName(step)), TChangeKind::Pictures, std::move(before)),
        photos_(std::move(photos)),
        step_(step) {
    for (const TPhotograph* photograph : photos_) rotations_before_.push_back(photograph->Rotation);
  }

  void Do(TAlbum&) override {
    for (TPhotograph* photograph : photos_) photograph->Rotate(step_);
  }
  void Undo(TAlbum&) override {
    for (size_t i = 0; i < photos_.size(); ++i) photos_[i]->Rotation = rotations_before_[i];
  }
  bool Empty() const override { return photos_.empty() || step_ == TRotation::None; }

 private:
  static const char* StepName(TRotation step) {
    switch (step) {
      case TRotation::Left: return "Left";
      case TRotation::Right: return "Right";
      case TRotation::UpsideDown: return "Upside Down";
      case TRotation::None: break;
    }
    return "";
  }

  std::vector<TPhotograph*> photos_;
  TRotation step_;
  std::vector<TRotation> rotations_before_;
};

class TEditPhotoText final : public TAlbumCommand {
 public:
  TEditPhotoText(TPhotograph& photograph, TPhotoText field, std::string text, int typing, THighlight before)
      : TAlbumCommand(field == TPhotoText::Title ? "Edit Title" : "Edit Caption", TChangeKind::Texts,
                      std::move(before)),
        photograph_(photograph),
        field_(field),
        typing_(typing),
        text_before_(Text()),
        text_after_(std::move(text)) {}

  void Do(TAlbum&) override { Text() = text_after_; }
  void Undo(TAlbum&) override { Text() = text_before_; }
  bool Empty() const override { return text_before_ == text_after_; }
  bool MergeWith(const TAlbumCommand& next) override {
    const auto* typed = dynamic_cast<const TEditPhotoText*>(&next);
    if (!typed || &typed->photograph_ != &photograph_ || typed->field_ != field_ || typed->typing_ != typing_)
      return false;
    text_after_ = typed->text_after_;
    return true;
  }

 private:
  std::string& Text() { return field_ == TPhotoText::Title ? photograph_.Title : photograph_.Caption; }

  TPhotograph& photograph_;
  TPhotoText field_;
  int typing_;
  std::string text_before_, text_after_;
};

// What a photograph takes from its file, and its texts, which the file may set.
struct TFileState {
  std::string FileName;
  std::string Title;
  std::string Caption;
  TRotation Rotation = TRotation::None;
  bool operator==(const TFileState&) const = default;

  static TFileState Of(const TPhotograph& photograph) {
    return {photograph.FileName, photograph.Title, photograph.Caption, photograph.Rotation};
  }
  void Restore(TPhotograph& photograph) const {
    // Setting the name again tells afresh whether the file is there.
    photograph.SetFileName(FileName);
    photograph.Title = Title;
    photograph.Caption = Caption;
    photograph.Rotation = Rotation;
  }
};

class TRelinkPhotos final : public TAlbumCommand {
 public:
  TRelinkPhotos(std::string name, std::vector<std::pair<TPhotograph*, std::string>> files, TRelink how,
                THighlight before)
      : TAlbumCommand(std::move(name), TChangeKind::Pictures, std::move(before)), files_(std::move(files)), how_(how) {}

  void Do(TAlbum&) override {
    if (!states_after_.empty()) {
      for (size_t i = 0; i < files_.size(); ++i) states_after_[i].Restore(*files_[i].first);
      return;
    }
    for (auto& [photograph, path] : files_) {
      states_before_.push_back(TFileState::Of(*photograph));
      if (how_ == TRelink::Adopt)
        photograph->AdoptFile(path);
      else
        photograph->SetFileName(path);
      states_after_.push_back(TFileState::Of(*photograph));
    }
  }
  void Undo(TAlbum&) override {
    for (size_t i = 0; i < files_.size(); ++i) states_before_[i].Restore(*files_[i].first);
  }
  bool Empty() const override { return states_before_ == states_after_; }

 private:
  std::vector<std::pair<TPhotograph*, std::string>> files_;
  TRelink how_;
  std::vector<TFileState> states_before_, states_after_;
};

class TChangeAlbumLook final : public TAlbumCommand {
 public:
  TChangeAlbumLook(TAlbumLook before, TAlbumLook after, THighlight highlight)
      : TAlbumCommand("Album Settings", TChangeKind::Texts, std::move(highlight)),
        look_before_(std::move(before)),
        look_after_(std::move(after)) {}

  void Do(TAlbum& album) override { look_after_.ApplyTo(album); }
  void Undo(TAlbum& album) override { look_before_.ApplyTo(album); }
  bool Empty() const override { return look_before_ == look_after_; }

 private:
  TAlbumLook look_before_, look_after_;
};

}  // namespace

std::unique_ptr<TAlbumCommand> AddPhotos(std::string_view verb, std::vector<std::unique_ptr<TPhotograph>> photos,
                                         THighlight before) {
  return std::make_unique<TAddPhotos>(verb, std::move(photos), std::move(before));
}

std::unique_ptr<TAlbumCommand> RemovePhotos(std::vector<const TPhotograph*> photos, THighlight before) {
  return std::make_unique<TRemovePhotos>(std::move(photos), std::move(before));
}

std::unique_ptr<TAlbumCommand> MovePhotos(TDirection direction, THighlight before) {
  const char* where = direction == TDirection::Up ? "Up" : "Down";
  std::string name = PhotosName("Move", before.Selected.size(), where);
  auto move = [highlight = before, direction](TAlbum& album) { MoveHighlighted(album, highlight, direction); };
  return std::make_unique<TReorder>(std::move(name), std::move(move), false, std::move(before));
}

std::unique_ptr<TAlbumCommand> SortPhotos(std::string name, void (TAlbum::*sort)(), THighlight before) {
  return std::make_unique<TReorder>(
      std::move(name), [sort](TAlbum& album) { (album.*sort)(); }, true, std::move(before));
}

std::unique_ptr<TAlbumCommand> RotatePhotos(std::vector<TPhotograph*> photos, TRotation step, THighlight before) {
  return std::make_unique<TRotatePhotos>(std::move(photos), step, std::move(before));
}

std::unique_ptr<TAlbumCommand> EditPhotoText(TPhotograph& photo, TPhotoText field, std::string text, int typing,
                                             THighlight before) {
  return std::make_unique<TEditPhotoText>(photo, field, std::move(text), typing, std::move(before));
}

std::unique_ptr<TAlbumCommand> RelinkPhotos(std::string name, std::vector<std::pair<TPhotograph*, std::string>> files,
                                            TRelink how, THighlight before) {
  return std::make_unique<TRelinkPhotos>(std::move(name), std::move(files), how, std::move(before));
}

TAlbumLook TAlbumLook::Of(const TAlbum& album) { return {album.Settings, album.Title, album.Description}; }

void TAlbumLook::ApplyTo(TAlbum& album) const {
  album.Settings = Settings;
  album.Title = Title;
  album.Description = Description;
}

std::unique_ptr<TAlbumCommand> ChangeAlbumLook(TAlbumLook before, TAlbumLook after, THighlight highlight) {
  return std::make_unique<TChangeAlbumLook>(std::move(before), std::move(after), std::move(highlight));
}

}  // namespace folivant
