#include "photofiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "jpegwriter.h"

namespace folivant::test {

void WritePlainJpeg(const std::string& path, int width, int height) {
  const std::vector<uint8_t> grey(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 128);
  std::ofstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path;
  file << samples::WriteJpeg(grey.data(), width, height);
}

void TagWithExiftool(const std::string& path, const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"exiftool", "-q", "-q", "-overwrite_original"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  command.push_back(path);
  std::vector<char*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "exiftool failed on " << path << " (tools/bootstrap installs it)";
}

void MoveSegment(const std::string& path, uint8_t marker, std::string_view signature, TSegmentPlace place) {
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  constexpr char kStartOfScan = '\xDA';
  std::vector<std::string> segments;
  size_t pos = 2;
  while (pos + 4 <= bytes.size() && bytes[pos + 1] != kStartOfScan) {
    const size_t length = static_cast<uint8_t>(bytes[pos + 2]) << 8 | static_cast<uint8_t>(bytes[pos + 3]);
    segments.push_back(bytes.substr(pos, 2 + length));
    pos += 2 + length;
  }
  const auto found = std::find_if(segments.begin(), segments.end(), [&](const std::string& segment) {
    return static_cast<uint8_t>(segment[1]) == marker && std::string_view(segment).substr(4).starts_with(signature);
  });
  ASSERT_NE(found, segments.end()) << path << " has no such segment";
  const std::string moved = *found;
  segments.erase(found);
  segments.insert(place == TSegmentPlace::First ? segments.begin() : segments.end(), moved);
  std::string reordered = bytes.substr(0, 2);
  for (const std::string& segment : segments) reordered += segment;
  std::ofstream(path, std::ios::binary) << reordered << bytes.substr(pos);
}

}  // namespace folivant::test
