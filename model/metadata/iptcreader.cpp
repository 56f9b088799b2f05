#include <string_view>

#include "model/metadata/imgdata.h"
#include "platform/text.h"

namespace folivant {
namespace {

constexpr char kTagMarker = 0x1C;
constexpr std::string_view kPhotoshopSignature = "Photoshop 3.0";
// Where the search for the first dataset starts when the signature is missing.
constexpr size_t kSearchStartWithoutSignature = 12;
// Record number, dataset number and a 16-bit size.
constexpr size_t kDatasetHeaderSize = 4;
// The record version dataset, read but never stored.
constexpr std::string_view kSkip = "SKIP";

struct TDatasetName {
  uint8_t record;
  uint8_t dataset;
  std::string_view name;
};

// The names under which datasets are stored; the album reads "ImageHeadline" and "ImageCaption".
constexpr TDatasetName kDatasetNames[] = {
    {2, 0, kSkip},
    {2, 3, "ObjectType"},
    {2, 4, "ObjectAttr"},
    {2, 5, "ObjectName"},
    {2, 7, "EditStatus"},
    {2, 8, "EditorialUpdate"},
    {2, 10, "Urgency"},
    {2, 12, "SubRef"},
    {2, 15, "Category"},
    {2, 20, "SuppCategory"},
    {2, 22, "FixtureID"},
    {2, 25, "Keywords"},
    {2, 26, "ContentLocCode"},
    {2, 27, "ContentLocName"},
    {2, 30, "ReleaseDate"},
    {2, 35, "ReleaseTime"},
    {2, 37, "ExpireDate"},
    {2, 38, "ExpireTime"},
    {2, 40, "SpecialInstru"},
    {2, 42, "ActionAdvised"},
    {2, 45, "RefService"},
    {2, 47, "RefDate"},
    {2, 50, "RefNumber"},
    {2, 55, "DateCreated"},
    {2, 60, "TimeCreated"},
    {2, 62, "DigitizeDate"},
    {2, 63, "DigitizeTime"},
    {2, 65, "OriginatingProgram"},
    {2, 70, "ProgramVersion"},
    {2, 75, "ObjectCycle"},
    {2, 80, "ByLine"},
    {2, 85, "ByLineTitle"},
    {2, 90, "City"},
    {2, 92, "SubLocation"},
    {2, 95, "State"},
    {2, 100, "LocationCode"},
    {2, 101, "LocationName"},
    {2, 103, "TransmissionRef"},
    {2, 105, "ImageHeadline"},
    {2, 110, "ImageCredit"},
    {2, 115, "Source"},
    {2, 116, "Copyright"},
    {2, 118, "Contact"},
    {2, 120, "ImageCaption"},
    {2, 122, "ImageCaptionWriter"},
    {2, 130, "ImageType"},
    {2, 131, "Orientation"},
    {2, 135, "LangID"},
    {8, 10, "Subfile"},
};
static_assert(std::size(kDatasetNames) == 49);

std::string_view TableName(uint8_t record, uint8_t dataset) {
  for (const TDatasetName& entry : kDatasetNames)
    if (entry.record == record && entry.dataset == dataset) return entry.name;
  return {};
}

// Supplemental categories and keywords may occur several times; their data is joined.
bool IsRepeatable(uint8_t dataset) { return dataset == 20 || dataset == 25; }

// The position of the first tag marker at or after `from` that introduces a
// dataset of record 2 or 8, or npos.
size_t FindFirstDataset(std::string_view bytes, size_t from) {
  for (size_t i = from; i + 1 < bytes.size(); ++i)
    if (bytes[i] == kTagMarker && (bytes[i + 1] == 2 || bytes[i + 1] == 8)) return i;
  return std::string_view::npos;
}

}  // namespace

void TIPTCdata::Parse(const TSegment& segment) {
  datasets_.clear();
  const std::string_view bytes = segment.bytes;
  const size_t signature = bytes.find(kPhotoshopSignature);
  const size_t marker =
      FindFirstDataset(bytes, signature == std::string_view::npos ? kSearchStartWithoutSignature
                                                                  : signature + kPhotoshopSignature.size());
  if (marker == std::string_view::npos) return;
  size_t pos = marker + 1;
  // The extended-size form of IIM is not recognised: every size is 16 bits.
  while (pos + kDatasetHeaderSize <= bytes.size()) {
    const auto record = static_cast<uint8_t>(bytes[pos]);
    const auto dataset = static_cast<uint8_t>(bytes[pos + 1]);
    const size_t size = static_cast<uint8_t>(bytes[pos + 2]) << 8 | static_cast<uint8_t>(bytes[pos + 3]);
    pos += kDatasetHeaderSize;
    const std::string_view data = bytes.substr(pos, size);
    if (record == 2 || record == 8) Store(record, dataset, std::string(data));
    pos += data.size();
    if (pos >= bytes.size() || bytes[pos] != kTagMarker) break;
    ++pos;
  }
}

void TIPTCdata::Store(uint8_t record, uint8_t dataset, std::string data) {
  const std::string_view name = TableName(record, dataset);
  if (name == kSkip) return;
  if (IsRepeatable(dataset)) {
    if (name.empty()) return;
    for (TIptcDataset& stored : datasets_) {
      if (stored.name != name) continue;
      stored.data += ',';
      stored.data += data;
      return;
    }
  }
  std::string stored_name = name.empty() ? "Custom_" + std::to_string(dataset) : std::string(name);
  datasets_.push_back({std::move(stored_name), record, dataset, std::move(data)});
}

const TIptcDataset* TIPTCdata::Find(const std::string& name) const {
  const std::string wanted = AsciiLowerCase(name);
  for (const TIptcDataset& dataset : datasets_)
    if (AsciiLowerCase(dataset.name) == wanted) return &dataset;
  return nullptr;
}

}  // namespace folivant
