#include "editor/albumcommands.h"

#include <gtest/gtest.h>

#include "testutil.h"

namespace folivant {
namespace {

// An album of photographs titled "0" to "<count-1>", each with a caption of its own.
std::unique_ptr<TAlbum> NumberedAlbum(int count) {
  auto album = std::make_unique<TAlbum>();
  for (int i = 0; i < count; ++i) {
    TPhotograph& photograph = album->Photographs.Add(std::make_unique<TPhotograph>());
    photograph.Title = std::to_string(i);
    photograph.Caption = "caption " + std::to_string(i);
  }
  return album;
}

std::string Titles(const TAlbum& album) {
  std::string titles;
  for (int i = 0; i < album.Photographs.Count(); ++i) titles += album.Photographs[i].Title;
  return titles;
}

THighlight Rows(const TAlbum& album, std::initializer_list<int> rows, int current) {
  THighlight highlight;
  for (int row : rows) highlight.Selected.push_back(&album.Photographs[row]);
  highlight.Current = &album.Photographs[current];
  return highlight;
}

TEST(AlbumCommands, NamesCountThePhotographs) {
  EXPECT_EQ(PhotosName("Remove", 1), "Remove Photo");
  EXPECT_EQ(PhotosName("Remove", 3), "Remove 3 Photos");
  EXPECT_EQ(PhotosName("Rotate", 2, "Upside Down"), "Rotate 2 Photos Upside Down");
  const auto album = NumberedAlbum(3);
  EXPECT_EQ(MovePhotos(TDirection::Up, Rows(*album, {1, 2}, 2))->Name(), "Move 2 Photos Up");
  EXPECT_EQ(RotatePhotos({&album->Photographs[0]}, TRotation::Left, {})->Name(), "Rotate Photo Left");
}

TEST(AlbumCommands, RemoveAndUndoPutEachPhotographBackAtItsPlace) {
  const auto album = NumberedAlbum(5);
  const TPhotograph* third = &album->Photographs[3];
  const THighlight before = Rows(*album, {0, 3}, 3);
  const auto remove = RemovePhotos(before.Selected, before);
  remove->Do(*album);
  EXPECT_EQ(Titles(*album), "124");
  EXPECT_EQ(remove->After(*album), Rows(*album, {0}, 0));
  EXPECT_FALSE(remove->Empty());

  remove->Undo(*album);
  EXPECT_EQ(Titles(*album), "01234");
  EXPECT_EQ(&album->Photographs[3], third);  // the same photograph, its caption with it
  EXPECT_EQ(album->Photographs[3].Caption, "caption 3");
  EXPECT_EQ(remove->Before(), before);

  remove->Do(*album);
  EXPECT_EQ(Titles(*album), "124");
}

TEST(AlbumCommands, AddAppendsAndUndoTakesTheSamePhotographsOut) {
  const auto album = NumberedAlbum(2);
  std::vector<std::unique_ptr<TPhotograph>> photos;
  for (const char* title : {"a", "b"}) photos.emplace_back(std::make_unique<TPhotograph>())->Title = title;
  const TPhotograph* last = photos.back().get();
  const auto add = AddPhotos("Import", std::move(photos), Rows(*album, {0}, 0));
  EXPECT_EQ(add->Name(), "Import 2 Photos");
  add->Do(*album);
  EXPECT_EQ(Titles(*album), "01ab");
  EXPECT_EQ(add->After(*album), (THighlight{{last}, last}));
  add->Undo(*album);
  EXPECT_EQ(Titles(*album), "01");
  add->Do(*album);
  EXPECT_EQ(&album->Photographs[3], last);
}

TEST(AlbumCommands, MovesAndSortsAreUndoneAndTheEmptyOnesTell) {
  struct Row {
    const char* why;
    std::function<std::unique_ptr<TAlbumCommand>(const TAlbum&)> make;
    const char* order;  // after Do; nullptr: nothing moves, so the command is empty
  };
  const Row rows[] = {
      {"up",
       [](const TAlbum& a) {
         return MovePhotos(TDirection::Up, Rows(a, {1, 2, 4}, 4));
       },
       "12043"},
      {"down",
       [](const TAlbum& a) {
         return MovePhotos(TDirection::Down, Rows(a, {0, 2, 3}, 0));
       },
       "10423"},
      {"up at the top",
       [](const TAlbum& a) {
         return MovePhotos(TDirection::Up, Rows(a, {0, 1}, 0));
       },
       nullptr},
      {"sort of a sorted album", [](const TAlbum&) { return SortPhotos("Sort by Title", &TAlbum::SortByTitle, {}); },
       nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const auto album = NumberedAlbum(5);
    const auto command = row.make(*album);
    command->Do(*album);
    EXPECT_EQ(command->Empty(), row.order == nullptr);
    EXPECT_EQ(Titles(*album), row.order ? row.order : "01234");
    command->Undo(*album);
    EXPECT_EQ(Titles(*album), "01234");
    command->Do(*album);
    EXPECT_EQ(Titles(*album), row.order ? row.order : "01234");
  }

  // A sort highlights the new first photograph and is undone to the order it found.
  const auto album = NumberedAlbum(3);
  album->Photographs.Move(0, 2);
  const auto sort = SortPhotos("Sort by Title", &TAlbum::SortByTitle, {});
  sort->Do(*album);
  EXPECT_EQ(Titles(*album), "012");
  EXPECT_EQ(sort->After(*album), Rows(*album, {0}, 0));
  sort->Undo(*album);
  EXPECT_EQ(Titles(*album), "120");
}

TEST(AlbumCommands, RotateTurnsEveryPhotographAndUndoGivesEachItsOwnTurnBack) {
  const auto album = NumberedAlbum(3);
  album->Photographs[1].Rotation = TRotation::Right;
  const auto rotate = RotatePhotos({&album->Photographs[0], &album->Photographs[1]}, TRotation::Left, {});
  rotate->Do(*album);
  EXPECT_EQ(album->Photographs[0].Rotation, TRotation::Left);
  EXPECT_EQ(album->Photographs[1].Rotation, TRotation::None);
  EXPECT_EQ(album->Photographs[2].Rotation, TRotation::None);
  rotate->Undo(*album);
  EXPECT_EQ(album->Photographs[0].Rotation, TRotation::None);
  EXPECT_EQ(album->Photographs[1].Rotation, TRotation::Right);
}

TEST(AlbumCommands, TypingMergesIntoOneStepPerFieldEdit) {
  const auto album = NumberedAlbum(2);
  TPhotograph& photo = album->Photographs[0];
  const auto typed = [&](TPhotograph& on, TPhotoText field, const char* text, int typing) {
    auto edit = EditPhotoText(on, field, text, typing, {});
    edit->Do(*album);
    return edit;
  };
  const auto first = typed(photo, TPhotoText::Title, "0H", 1);
  EXPECT_EQ(first->Name(), "Edit Title");
  EXPECT_TRUE(first->MergeWith(*typed(photo, TPhotoText::Title, "0Ha", 1)));
  EXPECT_FALSE(first->MergeWith(*typed(photo, TPhotoText::Title, "0Hav", 2))) << "another typing session";
  EXPECT_FALSE(first->MergeWith(*typed(photo, TPhotoText::Caption, "c", 1))) << "another field";
  EXPECT_FALSE(first->MergeWith(*typed(album->Photographs[1], TPhotoText::Title, "1x", 1))) << "another photograph";
  first->Undo(*album);
  EXPECT_EQ(photo.Title, "0");
  first->Do(*album);
  EXPECT_EQ(photo.Title, "0Ha");

  // Typed back to what it was, the step changes nothing.
  TPhotograph& other = album->Photographs[1];
  const auto back = typed(other, TPhotoText::Caption, "caption 1!", 3);
  EXPECT_TRUE(back->MergeWith(*typed(other, TPhotoText::Caption, "caption 1", 3)));
  EXPECT_TRUE(back->Empty());
}

TEST(AlbumCommands, RelinkIsUndoneToTheFileAndTextsThePhotographHad) {
  test::TTempDir folder;
  const std::string found = folder.Write("found.jpg", "not a picture, but there");
  const auto album = NumberedAlbum(1);
  TPhotograph& photo = album->Photographs[0];
  photo.SetFileName(folder.File("gone.jpg"));
  photo.Rotation = TRotation::Left;
  ASSERT_TRUE(photo.Missing());
  const auto relink = RelinkPhotos("Find Missing Photos", {{&photo, found}}, TRelink::Repoint, {});
  relink->Do(*album);
  EXPECT_FALSE(photo.Missing());
  EXPECT_EQ(photo.FileName, found);
  EXPECT_FALSE(relink->Empty());
  relink->Undo(*album);
  EXPECT_TRUE(photo.Missing());
  EXPECT_EQ(photo.FileName, folder.File("gone.jpg"));
  EXPECT_EQ(photo.Title, "0");
  EXPECT_EQ(photo.Rotation, TRotation::Left);
  relink->Do(*album);
  EXPECT_FALSE(photo.Missing());

  // Pointed at the file it has, nothing changes.
  const auto same = RelinkPhotos("Find Missing Photos", {{&photo, found}}, TRelink::Repoint, {});
  same->Do(*album);
  EXPECT_TRUE(same->Empty());
}

TEST(AlbumCommands, AlbumLookIsOneStep) {
  TAlbum album;
  const TAlbumLook before = TAlbumLook::Of(album);
  album.Title = "Harbour";
  album.Settings.ThumbnailRows = 7;
  album.Settings.ColorScheme.SetPageColor(0x123456);
  const TAlbumLook after = TAlbumLook::Of(album);
  const auto change = ChangeAlbumLook(before, after, {});
  change->Undo(album);
  EXPECT_EQ(TAlbumLook::Of(album), before);
  EXPECT_EQ(album.Settings.ColorScheme.BorderColor(), TColorScheme().BorderColor());
  change->Do(album);
  EXPECT_EQ(TAlbumLook::Of(album), after);
  EXPECT_TRUE(ChangeAlbumLook(after, after, {})->Empty());
}

TEST(PhotographList, ArrangeTakesEveryPhotographOnceOrNothing) {
  const auto album = NumberedAlbum(3);
  const std::vector<const TPhotograph*> order = album->Photographs.Order();
  for (const std::vector<const TPhotograph*>& wrong :
       {std::vector{order[0], order[1]}, std::vector{order[0], order[0], order[1]},
        std::vector{order[0], order[1], order[2], order[2]}}) {
    EXPECT_THROW(album->Photographs.Arrange(wrong), std::invalid_argument);
    EXPECT_EQ(Titles(*album), "012");
  }
  album->Photographs.Arrange({order[2], order[0], order[1]});
  EXPECT_EQ(Titles(*album), "201");
}

}  // namespace
}  // namespace folivant
