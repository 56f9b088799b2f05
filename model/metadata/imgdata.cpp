#include "model/metadata/imgdata.h"

// Placeholder until the segment scan lands: reads no metadata.
namespace folivant {

TImageInfo::TImageInfo(const TSegment&) {}
TimgData::TimgData() = default;
TimgData::~TimgData() = default;
void TimgData::Reset() {}
bool TimgData::ReadMetadata(const std::string&) { return false; }
bool TimgData::ReadMetadataFromBytes(const std::string&) { return false; }
bool TimgData::HasExif() const { return exif_segment_ >= 0; }
bool TimgData::HasIptc() const { return iptc_segment_ >= 0; }
bool TimgData::HasComment() const { return comment_segment_ >= 0; }
void TimgData::ParseIptc() {}
std::string TimgData::ReadDataset(const std::string&, const std::string& fallback) const { return fallback; }

}  // namespace folivant
