#include "generator/albumzip.h"

#include <zip.h>

#include <memory>

#include "platform/error.h"

namespace folivant {
namespace {

[[noreturn]] void Fail(const std::string& detail) { throw TError("Cannot make the zip of the photographs: " + detail); }

struct TSourceFree {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using TSource = std::unique_ptr<zip_source_t, TSourceFree>;

// Adds the members to a new archive in `buffer` and writes it there.
void WriteArchive(zip_source_t* buffer, const std::vector<TZipMember>& members) {
  zip_error_t error;
  zip_error_init(&error);
  zip_t* archive = zip_open_from_source(buffer, ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) Fail(zip_error_strerror(&error));
  for (const TZipMember& member : members) {
    zip_source_t* file = zip_source_file(archive, member.Path.c_str(), 0, -1);
    const zip_int64_t at =
        file ? zip_file_add(archive, member.Name.c_str(), file, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
    // Once added, the archive owns the source.
    if (at < 0 && file) zip_source_free(file);
    if (at < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0) != 0) {
      const std::string detail = member.Path + ": " + zip_strerror(archive);
      zip_discard(archive);
      Fail(detail);
    }
  }
  // The files are read here.
  if (zip_close(archive) != 0) {
    const std::string detail = zip_strerror(archive);
    zip_discard(archive);
    Fail(detail);
  }
}

std::string ReadBuffer(zip_source_t* buffer) {
  zip_stat_t stat;
  if (zip_source_open(buffer) != 0 || zip_source_stat(buffer, &stat) != 0)
    Fail(zip_error_strerror(zip_source_error(buffer)));
  std::string bytes(static_cast<size_t>(stat.size), '\0');
  const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
  zip_source_close(buffer);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) Fail(zip_error_strerror(zip_source_error(buffer)));
  return bytes;
}

}  // namespace

std::string ZipArchive(const std::vector<TZipMember>& members) {
  zip_error_t error;
  zip_error_init(&error);
  TSource buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
  if (!buffer) Fail(zip_error_strerror(&error));
  // The archive frees its source when it closes; the buffer must outlive it.
  zip_source_keep(buffer.get());
  WriteArchive(buffer.get(), members);
  return ReadBuffer(buffer.get());
}

}  // namespace folivant
