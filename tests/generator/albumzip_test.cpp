#include "generator/albumzip.h"

#include <zip.h>

#include "platform/error.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

// A zip written by the program reads back, with another reader of the same
// library, as the same files under the same names in the same order, stored;
// a file that cannot be read is named in the error.
TEST(AlbumZip, HoldsTheFilesStoredInOrderAndNamesOneItCannotRead) {
  const TTempDir temp;
  const std::vector<TZipMember> members = {{"b.jpg", temp.Write("one", std::string(5000, 'x'))},
                                           {"a.jpg", temp.Write("two", "second file")}};
  const std::string bytes = ZipArchive(members);

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  ASSERT_NE(archive, nullptr) << zip_error_strerror(&error);
  ASSERT_EQ(zip_get_num_entries(archive, 0), 2);
  for (zip_uint64_t at = 0; at < 2; ++at) {
    zip_stat_t stat;
    ASSERT_EQ(zip_stat_index(archive, at, 0, &stat), 0);
    EXPECT_EQ(stat.name, members[at].Name);
    EXPECT_EQ(stat.comp_method, ZIP_CM_STORE);
    std::string content(static_cast<size_t>(stat.size), '\0');
    zip_file_t* file = zip_fopen_index(archive, at, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(zip_fread(file, content.data(), stat.size), static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    EXPECT_EQ(content, test::ReadFile(members[at].Path));
  }
  zip_close(archive);

  const std::string gone = temp.File("gone.jpg");
  try {
    ZipArchive({{"gone.jpg", gone}});
    ADD_FAILURE() << "a missing file made a zip";
  } catch (const TError& thrown) {
    EXPECT_NE(std::string(thrown.what()).find("Cannot make the zip of the photographs: "), std::string::npos);
    EXPECT_NE(std::string(thrown.what()).find("No such file"), std::string::npos) << thrown.what();
  }
}

}  // namespace
}  // namespace folivant
