#pragma once

// What a photograph's image files are called and what their bytes depend on.
// A page style that gives photographs more images adds their names and the
// settings they depend on here, and nowhere else.

#include <cstdint>
#include <string>
#include <vector>

#include "generator/photogenerator.h"
#include "model/albumclasses.h"

namespace folivant {

/// Raise it with every change to the renderer that alters the bytes of any
/// image it writes, so that images an earlier version wrote are rendered again.
inline constexpr int kRendererVersion = 2;
/// Raise it with every change to which images the modern style writes, or how.
inline constexpr int kModernImagesVersion = 3;

/// The image files a run writes for the photograph, by ending, in the order a
/// run writes them (PlanImageFiles, then the original when PublishesOriginal). Only the modern style reads the source's
/// header for that, and only its files carry their sizes (the modern pages
/// need them). Bytes stay empty. Throws TPictureError when the source cannot
/// be read.
std::vector<TImageFile> ExpectedImageFiles(const TAlbumSettings& settings, const TPhotograph& photograph);

/// Everything the bytes of a photograph's image files depend on, as one text:
/// the renderer's version and qualities, the photo width (or its own size) and
/// the thumbnail size, the page style (and whether the original is published
/// with the images), the rotation, and the source file's size and
/// ContentFingerprint. Files rendered under equal keys are equal, byte for byte.
std::string ImageInputsKey(const TAlbumSettings& settings, const TPhotograph& photograph, uint64_t source_size,
                           const std::string& source_fingerprint);

/// The source fingerprint an ImageInputsKey was made with. It is the key's
/// last word, so a run can tell before it reads a source whether the key of
/// its earlier images could still be the current one.
std::string KeyFingerprint(const std::string& key);

}  // namespace folivant
