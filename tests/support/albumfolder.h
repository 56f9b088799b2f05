#pragma once

// Looking at a generated album folder from outside, as a browser would.

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace folivant::test {

/// The names of the regular files of a folder (not its sub-folders), sorted.
std::set<std::string> FilesIn(const std::string& folder);

/// The name of the record of the runs into `folder` in the cache folder: after
/// the folder's device and inode.
std::string RunRecordName(const std::string& folder);

/// Every href and src attribute value of a page, in order of appearance.
std::vector<std::string> PageReferences(const std::string& page);

/// The references of every ".html" page of the folder that do not resolve to a
/// file of the folder, as "page: reference"; addresses with a scheme
/// ("https:", "mailto:") are not looked at, a "#fragment" is ignored.
std::vector<std::string> BrokenLinks(const std::string& folder);

/// Decodes the whole JPEG file with libjpeg; its width and height, or nothing
/// when it is not a complete JPEG.
std::optional<std::pair<int, int>> DecodedJpegSize(const std::string& path);

}  // namespace folivant::test
