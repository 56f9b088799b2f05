#include "albumfolder.h"

#include <jpeglib.h>
#include <sys/stat.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "testutil.h"

namespace folivant::test {

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  return names;
}

std::string RunRecordName(const std::string& folder) {
  struct stat info {};
  EXPECT_EQ(::stat(folder.c_str(), &info), 0) << folder;
  char name[64];
  std::snprintf(name, sizeof name, "run-%llx-%llx.json", static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  return name;
}

std::vector<std::string> PageReferences(const std::string& page) {
  static const std::regex attribute(R"re(\b(?:href|src)="([^"]*)")re");
  std::vector<std::string> references;
  for (std::sregex_iterator it(page.begin(), page.end(), attribute), end; it != end; ++it)
    references.push_back((*it)[1].str());
  return references;
}

std::vector<std::string> BrokenLinks(const std::string& folder) {
  static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
  const std::set<std::string> files = FilesIn(folder);
  std::vector<std::string> broken;
  for (const std::string& name : files) {
    if (!name.ends_with(".html")) continue;
    for (std::string reference : PageReferences(ReadFile(folder + "/" + name))) {
      if (std::regex_search(reference, scheme)) continue;
      reference = reference.substr(0, reference.find('#'));
      if (!files.contains(reference)) broken.push_back(name + ": " + reference);
    }
  }
  return broken;
}

namespace {

struct TErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->jump, 1); }

// libjpeg only warns about damaged data ("premature end of file"); a test must not pass such a file.
void JumpOnWarning(j_common_ptr info, int level) {
  if (level < 0) JumpOnError(info);
}

// Holds only trivially destructible locals, so that the jump back skips no destructor.
bool Decode(const unsigned char* bytes, unsigned long size, JSAMPLE* row, int* width, int* height) {
  jpeg_decompress_struct info;
  TErrorManager error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOnError;
  error.manager.emit_message = JumpOnWarning;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes, size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  // A row of up to 1 << 16 pixels fits the caller's buffer.
  if (info.output_width > (1u << 16)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, &row, 1);
  *width = static_cast<int>(info.output_width);
  *height = static_cast<int>(info.output_height);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<std::pair<int, int>> DecodedJpegSize(const std::string& path) {
  const std::string bytes = ReadFile(path);
  if (bytes.empty()) return std::nullopt;
  std::vector<JSAMPLE> row((1u << 16) * 3);
  int width = 0, height = 0;
  if (!Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), row.data(), &width, &height))
    return std::nullopt;
  return std::make_pair(width, height);
}

}  // namespace folivant::test
