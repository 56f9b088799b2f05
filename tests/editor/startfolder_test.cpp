#include "editor/startfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/settingsstore.h"
#include "testutil.h"

namespace folivant {
namespace {

TEST(StartFolder, LastUsedFolderOfTheKindThenPicturesThenHome) {
  test::TTempDir dir;
  for (const char* folder : {"pictures", "albums", "photos", "out"})
    std::filesystem::create_directory(dir.File(folder));
  const std::string pictures = dir.File("pictures"), home = "/home/ann";
  TSettingsKey root("Folivant");
  EXPECT_EQ(StartFolder(root, TFileKind::Albums, pictures, home), pictures);
  EXPECT_EQ(StartFolder(root, TFileKind::Albums, dir.File("no-pictures"), home), home);

  RememberFolder(root, TFileKind::Albums, dir.File("albums/trip.alb"));
  RememberFolder(root, TFileKind::Photographs, dir.File("photos/a.jpg"));
  RememberFolder(root, TFileKind::OutputFolder, dir.File("out/"));
  struct Row {
    TFileKind kind;
    std::string start;
  };
  const Row rows[] = {{TFileKind::Albums, dir.File("albums")},
                      {TFileKind::Photographs, dir.File("photos")},
                      {TFileKind::OutputFolder, dir.File("out")},
                      {TFileKind::StylesheetTemplates, pictures}};
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.kind));
    EXPECT_EQ(StartFolder(root, r.kind, pictures, home), r.start);
  }

  // A folder that has gone since is passed over.
  std::filesystem::remove(dir.File("photos"));
  EXPECT_EQ(StartFolder(root, TFileKind::Photographs, pictures, home), pictures);
  // A chosen name without a folder part remembers nothing.
  RememberFolder(root, TFileKind::Albums, "trip.alb");
  EXPECT_EQ(StartFolder(root, TFileKind::Albums, pictures, home), dir.File("albums"));
}

}  // namespace
}  // namespace folivant
