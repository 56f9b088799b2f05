// The metadata reader on hand-made byte sequences: what cameras and tools do
// not write but damaged or hostile files contain.
#include <gtest/gtest.h>

#include "jpegbuilder.h"
#include "model/metadata/imgdata.h"
#include "testutil.h"

namespace folivant {
namespace {

using namespace test;
using namespace std::string_literals;

constexpr bool kBig = true, kLittle = false;
const std::string kModified("2004:01:01 10:00:00\0", 20);
const std::string kTaken("2003:12:31 23:59:59\0", 20);
constexpr uint16_t kDateTime = 0x0132, kDateTimeOriginal = 0x9003, kExifLink = 0x8769;

// The date-time of a JPEG whose only EXIF data is `tiff`.
std::string DateTimeOf(const std::string& tiff) {
  TimgData metadata;
  metadata.ReadMetadataFromBytes(Jpeg({FillerSegment(kApp0), ExifSegment(tiff)}));
  return metadata.HasExif() ? metadata.ExifData()->DateTime() : "<no EXIF segment>";
}

TEST(ExifReader, WalksDirectoriesForTheDateTime) {
  struct Row {
    const char* why;
    std::string tiff;
    std::string date_time;
  };
  const Row rows[] = {
      {"little-endian DateTime in the first directory",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, kModified).Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"big-endian, DateTimeOriginal of the Exif directory met last wins",
       [] {
         TTiffBuilder t(kBig);
         t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100), t.Entry(kExifLink, kTypeLong, 1, 60)}));
         return t.Put(60, t.Directory({t.Entry(kDateTimeOriginal, kTypeAscii, 20, 200)}))
             .Put(100, kModified)
             .Put(200, kTaken)
             .Bytes();
       }(),
       "2003:12:31 23:59:59"},
      {"walk order decides, not the tag",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({t.Entry(kExifLink, kTypeLong, 1, 60), t.Entry(kDateTime, kTypeAscii, 20, 100)}));
         return t.Put(60, t.Directory({t.Entry(kDateTimeOriginal, kTypeAscii, 20, 200)}))
             .Put(100, kModified)
             .Put(200, kTaken)
             .Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"first directory offset 0 means right after the header",
       [] {
         TTiffBuilder t(kLittle, 0);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, kModified).Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"a short value sits in the entry itself",
       [] {
         TTiffBuilder t(kBig);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 4, 0x61626300)})).Bytes();
       }(),
       "abc"},
      {"control characters become dots and the text stops at 20 characters",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 29, 100)}))
             .Put(100, std::string("2004:01:01\t10:00:00 and more\0", 29))
             .Bytes();
       }(),
       "2004:01:01.10:00:00 "},
      {"a directory linking to itself",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kExifLink, kTypeLong, 1, 8), t.Entry(kDateTime, kTypeAscii, 20, 100)}))
             .Put(100, kModified)
             .Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"two directories linking to each other",
       [] {
         TTiffBuilder t(kBig);
         t.Put(8, t.Directory({t.Entry(kExifLink, kTypeLong, 1, 60)}));
         return t
             .Put(60, t.Directory({t.Entry(kDateTimeOriginal, kTypeAscii, 20, 200), t.Entry(0xA005, kTypeLong, 1, 8)}))
             .Put(200, kTaken)
             .Bytes();
       }(),
       "2003:12:31 23:59:59"},
      {"a value beyond the data is absent",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 5000)})).Bytes();
       }(),
       ""},
      {"a value running past the end of the data is absent",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, "2004:01:01").Bytes();
       }(),
       ""},
      {"a size that overflows 32 bits is absent, not wrapped",
       [] {
         TTiffBuilder t(kLittle);
         return t.Put(8, t.Directory({t.Entry(kDateTime, 12, 0x20000001, 100)})).Put(100, kModified).Bytes();
       }(),
       ""},
      {"a sub-directory beyond the data is skipped and the walk goes on",
       [] {
         TTiffBuilder t(kBig);
         t.Put(8, t.Directory({t.Entry(kExifLink, kTypeLong, 1, 0xFFFFFFF0), t.Entry(kDateTime, kTypeAscii, 20, 100)}));
         return t.Put(100, kModified).Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"an entry table longer than the data is not walked",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, kModified);
         return t.Put(8, std::string("\xF4\x01", 2)).Bytes();
       }(),
       ""},
      {"a first directory beyond the data", TTiffBuilder(kLittle, 4000).Put(100, kModified).Bytes(), ""},
      {"type 0 is skipped",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100), t.Entry(kDateTimeOriginal, 0, 20, 200)}));
         return t.Put(100, kModified).Put(200, kTaken).Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"type 13 is skipped",
       [] {
         TTiffBuilder t(kBig);
         t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100), t.Entry(kDateTimeOriginal, 13, 20, 200)}));
         return t.Put(100, kModified).Put(200, kTaken).Bytes();
       }(),
       "2004:01:01 10:00:00"},
      {"the link to the thumbnail directory is not followed",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({}, 60));
         return t.Put(60, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, kModified).Bytes();
       }(),
       ""},
      {"an unknown byte order", std::string("XX*\0\x08\0\0\0", 8), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(DateTimeOf(row.tiff), row.date_time);
  }
}

TEST(ExifReader, FollowsEveryKindOfSubDirectory) {
  for (const uint16_t link : {0x8769, 0x014A, 0xA005, 0x8825}) {
    SCOPED_TRACE(link);
    TTiffBuilder t(kBig);
    t.Put(8, t.Directory({t.Entry(link, kTypeLong, 1, 60)}));
    t.Put(60, t.Directory({t.Entry(kDateTimeOriginal, kTypeAscii, 20, 200)})).Put(200, kTaken);
    EXPECT_EQ(DateTimeOf(t.Bytes()), "2003:12:31 23:59:59");
  }
}

TEST(ExifReader, ManyDirectoriesLinkingToEachOtherEndQuickly) {
  // Every directory links to every later one: walking each path would take
  // exponentially long, walking each directory once does not.
  TTiffBuilder t(kLittle);
  constexpr uint32_t kCount = 40, kFirst = 8, kStride = 2 + 12 * kCount + 4;
  for (uint32_t d = 0; d < kCount; ++d) {
    std::vector<std::string> entries;
    for (uint32_t link = 0; link < kCount; ++link)
      entries.push_back(t.Entry(kExifLink, kTypeLong, 1, kFirst + link * kStride));
    t.Put(kFirst + d * kStride, t.Directory(entries));
  }
  EXPECT_EQ(DateTimeOf(t.Bytes()), "");
}

TEST(ExifReader, DataThatIsNotExifLeavesTheDateTimeEmpty) {
  TimgData metadata;
  EXPECT_TRUE(metadata.ReadMetadataFromBytes(Jpeg({Segment(kApp1, "Exif")})));
  EXPECT_TRUE(metadata.HasExif());
  EXPECT_EQ(metadata.ExifData()->DateTime(), "");
}

TEST(ExifReader, TakesTheOrientationFromTheMainDirectoryOnly) {
  constexpr uint16_t kOrientation = 0x0112, kTypeShort = 3;
  const auto main_directory = [](bool big_endian, uint16_t type, uint32_t value) {
    TTiffBuilder t(big_endian);
    return t.Put(8, t.Directory({t.Entry(kOrientation, type, 1, value)})).Bytes();
  };
  struct Row {
    const char* why;
    std::string tiff;
    int orientation;
  };
  const Row rows[] = {
      {"a short in the main directory", main_directory(kLittle, kTypeShort, 6), 6},
      {"big-endian, the short at the start of its field", main_directory(kBig, kTypeShort, 8u << 16), 8},
      {"a value beyond 8 means nothing", main_directory(kLittle, kTypeShort, 9), 0},
      {"0 means nothing", main_directory(kLittle, kTypeShort, 0), 0},
      {"another type", main_directory(kLittle, kTypeLong, 6), 0},
      {"the EXIF directory's is not the picture's",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({t.Entry(kExifLink, kTypeLong, 1, 60)}));
         return t.Put(60, t.Directory({t.Entry(kOrientation, kTypeShort, 1, 6)})).Bytes();
       }(),
       0},
      {"nor the thumbnail directory's",
       [] {
         TTiffBuilder t(kLittle);
         t.Put(8, t.Directory({}, 60));
         return t.Put(60, t.Directory({t.Entry(kOrientation, kTypeShort, 1, 6)})).Bytes();
       }(),
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TimgData metadata;
    metadata.ReadMetadataFromBytes(Jpeg({ExifSegment(row.tiff)}));
    ASSERT_TRUE(metadata.HasExif());
    EXPECT_EQ(metadata.ExifData()->Orientation(), row.orientation);
  }
}

// Little-endian EXIF data with every camera tag: the make and model in the
// main directory, the rest in the EXIF directory, and a location directory
// holding text under the make's tag, which must never be taken.
std::string CameraTiff(uint32_t exposure_numerator, uint32_t exposure_denominator) {
  const auto u32 = [](uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  };
  constexpr uint16_t kTypeShort = 3, kTypeRational = 5;
  TTiffBuilder t(kLittle);
  t.Put(8, t.Directory({t.Entry(0x010F, kTypeAscii, 6, 300), t.Entry(0x0110, kTypeAscii, 14, 310),
                        t.Entry(kExifLink, kTypeLong, 1, 100), t.Entry(0x8825, kTypeLong, 1, 200)}));
  t.Put(100, t.Directory({t.Entry(0x829A, kTypeRational, 1, 340), t.Entry(0x829D, kTypeRational, 1, 348),
                          t.Entry(0x8827, kTypeShort, 1, 400), t.Entry(0x920A, kTypeRational, 1, 356),
                          t.Entry(0xA434, kTypeAscii, 18, 364), t.Entry(kDateTimeOriginal, kTypeAscii, 20, 384)}));
  t.Put(200, t.Directory({t.Entry(0x010F, kTypeAscii, 10, 404), t.Entry(0x0002, kTypeRational, 1, 356)}));
  return t.Put(300, "Canon\0"s)
      .Put(310, "Canon EOS 5D \0"s)
      .Put(340, u32(exposure_numerator) + u32(exposure_denominator))
      .Put(348, u32(28) + u32(10))
      .Put(356, u32(35) + u32(2))
      .Put(364, "EF 50mm f/1.8\x01 \0\0"s)
      .Put(384, kTaken)
      .Put(404, "51.5 N\0\0\0\0"s)
      .Bytes();
}

TCameraData CameraDataOf(const std::string& tiff) {
  TimgData metadata;
  metadata.ReadMetadataFromBytes(Jpeg({ExifSegment(tiff)}));
  return metadata.HasExif() ? metadata.ExifData()->CameraData() : TCameraData{};
}

TEST(ExifReader, ReadsTheCameraDataButNothingOfTheLocation) {
  const TCameraData data = CameraDataOf(CameraTiff(1, 250));
  EXPECT_EQ(data.Make, "Canon") << "the location directory's text under the same tag is not taken";
  EXPECT_EQ(data.Model, "Canon EOS 5D") << "trailing blanks go";
  EXPECT_EQ(data.Lens, "EF 50mm f/1.8") << "control characters go";
  EXPECT_EQ(data.FocalLength, "17.5 mm");
  EXPECT_EQ(data.Aperture, "f/2.8");
  EXPECT_EQ(data.ExposureTime, "1/250 s");
  EXPECT_EQ(data.Iso, "400") << "a short value sits in its entry";
  EXPECT_EQ(data.DateTaken, "2003-12-31 23:59");

  struct Row {
    uint32_t numerator, denominator;
    const char* text;
  };
  const Row exposures[] = {{10, 2500, "1/250 s"}, {1, 3, "1/3 s"}, {4, 10, "0.4 s"}, {2, 1, "2 s"},
                           {13, 10, "1.3 s"},     {0, 1, ""},      {1, 0, ""}};
  for (const Row& row : exposures) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(CameraDataOf(CameraTiff(row.numerator, row.denominator)).ExposureTime, row.text);
  }
  EXPECT_TRUE(CameraDataOf(TTiffBuilder(kLittle).Bytes()).Empty());

  std::string odd_date = CameraTiff(1, 250);
  odd_date.replace(384 + 15, 2, "\xC3\xA9");
  EXPECT_EQ(CameraDataOf(odd_date).DateTaken,
            "2003:12:31 23:5\xC3\xA9"
            "59")
      << "another form stays whole";
}

TEST(ExifReader, EveryTruncationOfTheCameraDataYieldsOnlyWholeValues) {
  const std::string tiff = CameraTiff(1, 250);
  const TCameraData full = CameraDataOf(tiff);
  for (size_t size = 0; size <= tiff.size(); ++size) {
    SCOPED_TRACE(size);
    const TCameraData data = CameraDataOf(tiff.substr(0, size));
    for (const auto& [part, whole] : {std::pair{data.Make, full.Make},
                                      {data.Model, full.Model},
                                      {data.Lens, full.Lens},
                                      {data.FocalLength, full.FocalLength},
                                      {data.Aperture, full.Aperture},
                                      {data.ExposureTime, full.ExposureTime},
                                      {data.Iso, full.Iso},
                                      {data.DateTaken, full.DateTaken}})
      EXPECT_TRUE(part.empty() || part == whole) << part;
  }
}

std::string ExifWithDate(const std::string& date) {
  TTiffBuilder t(kLittle);
  return ExifSegment(t.Put(8, t.Directory({t.Entry(kDateTime, kTypeAscii, 20, 100)})).Put(100, date).Bytes());
}

TEST(SegmentScan, FindsMetadataOnlyWhereItIsLookedFor) {
  const std::string xmp = Segment(kApp1, "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>"s);
  const std::string iptc = IptcSegment(Dataset(2, 105, "Headline"));
  const std::string comment = Segment(kComment, "made by hand");
  const std::string dqt = FillerSegment(kDqt);
  const std::vector<std::string> others(126, dqt);
  struct Row {
    const char* why;
    std::string jpeg;
    bool found;
    std::string date_time;  // "-" without an EXIF segment
    bool iptc;
  };
  const Row rows[] = {
      {"plain image segments only: nothing",
       Jpeg({FillerSegment(kApp0), dqt, FillerSegment(kDht), FillerSegment(kSof0)}), false, "-", false},
      {"metadata after three other segments is found",
       Jpeg({FillerSegment(kApp0), dqt, FillerSegment(kDht), ExifWithDate(kTaken)}), true, "2003:12:31 23:59:59",
       false},
      {"metadata after four other segments is found too (colour profiles and MPF come first)",
       Jpeg({FillerSegment(kApp0), FillerSegment(kApp2), FillerSegment(kApp2), dqt, ExifWithDate(kTaken), iptc}), true,
       "2003:12:31 23:59:59", true},
      {"an XMP packet in the first APP1 does not hide the EXIF segment after it",
       Jpeg({xmp, ExifWithDate(kTaken), iptc}), true, "2003:12:31 23:59:59", true},
      {"an APP1 that is neither EXIF nor XMP is passed over", Jpeg({Segment(kApp1, "Other"), ExifWithDate(kTaken)}),
       true, "2003:12:31 23:59:59", false},
      {"the first EXIF segment counts", Jpeg({ExifWithDate(kTaken), ExifWithDate(kModified)}), true,
       "2003:12:31 23:59:59", false},
      {"the first APP13 is the IPTC segment", Jpeg({iptc, IptcSegment(Dataset(2, 105, "Second"))}), true, "-", true},
      {"metadata after the start of scan is never read", Jpeg({comment}) + ExifWithDate(kTaken) + iptc, true, "-",
       false},
      {"not a JPEG", iptc + ExifWithDate(kTaken), false, "-", false},
      {"fill bytes before a marker", "\xFF\xD8\xFF\xFF\xFF" + iptc.substr(1), true, "-", true},
      {"a length of 1 ends the scan", Jpeg({comment, std::string("\xFF\xE2\x00\x01", 4), iptc}), true, "-", false},
      {"a length of 0 ends the scan", Jpeg({comment, std::string("\xFF\xE2\x00\x00", 4), iptc}), true, "-", false},
      {"the 128th segment is the last one read",
       [&] {
         std::vector<std::string> segments = {comment, dqt};
         segments.insert(segments.end(), others.begin(), others.end());
         segments.push_back(iptc);
         return Jpeg(segments);
       }(),
       true, "-", false},
      {"an IPTC segment as the 128th is still found",
       [&] {
         std::vector<std::string> segments = {comment};
         segments.insert(segments.end(), others.begin(), others.end());
         segments.push_back(iptc);
         return Jpeg(segments);
       }(),
       true, "-", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TimgData metadata;
    EXPECT_EQ(metadata.ReadMetadataFromBytes(row.jpeg), row.found);
    EXPECT_EQ(metadata.HasExif() ? metadata.ExifData()->DateTime() : "-", row.date_time);
    EXPECT_EQ(metadata.HasIptc(), row.iptc);
    EXPECT_LE(metadata.Segments().size(), 20u);
  }
}

TEST(SegmentScan, EveryTruncationYieldsOnlyCompleteSegments) {
  const std::string exif = ExifWithDate(kTaken);
  const std::string iptc = IptcSegment(Dataset(2, 105, "Headline") + Dataset(2, 25, "a") + Dataset(2, 25, "b"));
  const std::string prefix = "\xFF\xD8" + FillerSegment(kApp0);
  const std::string jpeg = Jpeg({FillerSegment(kApp0), exif, iptc, Segment(kComment, "note")});
  const size_t exif_end = prefix.size() + exif.size(), iptc_end = exif_end + iptc.size();
  for (size_t size = 0; size <= jpeg.size(); ++size) {
    SCOPED_TRACE(size);
    TimgData metadata;
    metadata.ReadMetadataFromBytes(jpeg.substr(0, size));
    metadata.ParseIptc();
    ASSERT_EQ(metadata.HasExif(), size >= exif_end);
    if (metadata.HasExif()) {
      EXPECT_EQ(metadata.ExifData()->DateTime(), "2003:12:31 23:59:59");
    }
    ASSERT_EQ(metadata.HasIptc(), size >= iptc_end);
    EXPECT_EQ(metadata.ReadDataset("Keywords", "-"), metadata.HasIptc() ? "a,b" : "-");
  }
}

// The datasets parsed from an APP13 segment as "name=data;" items.
std::string ParsedDatasets(const std::string& segment) {
  TimgData metadata;
  metadata.ReadMetadataFromBytes(Jpeg({segment}));
  if (!metadata.HasIptc()) return "<no IPTC segment>";
  metadata.ParseIptc();
  metadata.ParseIptc();  // a second parse replaces the first one's datasets
  std::string result;
  for (const TIptcDataset& dataset : metadata.IptcData()->Datasets()) result += dataset.name + "=" + dataset.data + ";";
  return result;
}

TEST(IptcReader, StoresDatasetsUnderTheirTableNames) {
  struct Row {
    const char* why;
    std::string segment;
    std::string datasets;
  };
  const Row rows[] = {
      {"headline and caption", IptcSegment(Dataset(2, 105, "Head") + Dataset(2, 120, "Cap")),
       "ImageHeadline=Head;ImageCaption=Cap;"},
      {"the record version is read but not stored", IptcSegment(Dataset(2, 0, "\x00\x04"s) + Dataset(2, 5, "Obj")),
       "ObjectName=Obj;"},
      {"a repeated headline is stored twice", IptcSegment(Dataset(2, 105, "First") + Dataset(2, 105, "Second")),
       "ImageHeadline=First;ImageHeadline=Second;"},
      {"repeatable keywords and supplemental categories are joined",
       IptcSegment(Dataset(2, 25, "a") + Dataset(2, 20, "x") + Dataset(2, 25, "b") + Dataset(2, 20, "y")),
       "Keywords=a,b;SuppCategory=x,y;"},
      {"unknown datasets of records 2 and 8 get a Custom_ name",
       IptcSegment(Dataset(2, 200, "two") + Dataset(8, 10, "sub") + Dataset(8, 99, "eight")),
       "Custom_200=two;Subfile=sub;Custom_99=eight;"},
      {"an unknown repeatable dataset is dropped", IptcSegment(Dataset(8, 25, "lost") + Dataset(2, 116, "(c)")),
       "Copyright=(c);"},
      {"other records are walked over",
       IptcSegment(Dataset(1, 90, "\x1B%G") + Dataset(3, 105, "x") + Dataset(2, 105, "Head")), "ImageHeadline=Head;"},
      {"a byte other than the tag marker ends the walk",
       IptcSegment(Dataset(2, 105, "Head") + "X" + Dataset(2, 120, "Cap")), "ImageHeadline=Head;"},
      {"a size beyond the segment takes what is there",
       IptcSegment(Dataset(2, 105, "Head") + "\x1C\x02\x78\x00\x40"s + "Cap"), "ImageHeadline=Head;ImageCaption=Cap;"},
      {"a dataset header cut short is not read", IptcSegment(Dataset(2, 105, "Head") + std::string("\x1C\x02\x78", 3)),
       "ImageHeadline=Head;"},
      {"the search starts after the Photoshop signature",
       Segment(kApp13, "\x1C\x02\x05\x00\x01XPhotoshop 3.0\0"s + Dataset(2, 105, "Head")), "ImageHeadline=Head;"},
      {"without the signature the search starts at the thirteenth byte",
       Segment(kApp13, std::string("\x1C\x02\x05\x00\x01X", 6) + std::string(4, ' ') + Dataset(2, 105, "Head")),
       "ImageHeadline=Head;"},
      {"no dataset marker at all", Segment(kApp13, "Photoshop 3.0\0 8BIM nothing here"s), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(ParsedDatasets(row.segment), row.datasets);
  }
}

TEST(IptcReader, ReadDatasetIgnoresLetterCaseAndReturnsTheFirst) {
  TimgData metadata;
  metadata.ReadMetadataFromBytes(Jpeg({IptcSegment(Dataset(2, 105, "First") + Dataset(2, 105, "Second"))}));
  EXPECT_EQ(metadata.ReadDataset("ImageHeadline", "-"), "-");  // nothing before ParseIptc
  metadata.ParseIptc();
  EXPECT_EQ(metadata.ReadDataset("imageHEADLINE", "-"), "First");
  EXPECT_EQ(metadata.ReadDataset("ImageCaption", "none"), "none");
}

// An APP1 segment holding an XMP packet as photo managers write it around `rdf`.
std::string XmpSegment(std::string_view rdf) {
  return Segment(kApp1,
                 "http://ns.adobe.com/xap/1.0/\0"
                 "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                 "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
                 "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"s +
                     std::string(rdf) + "</rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>");
}

TEST(XmpReader, ReadsTitleDescriptionAndCaptureDate) {
  struct Row {
    const char* why;
    std::string segment;
    std::string title, description, date_time;
  };
  const Row rows[] = {
      {"language alternatives, references resolved, an attribute date with fractions and zone",
       XmpSegment(
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
           " xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:DateTimeOriginal=\"2021-07-14T15:30:12.50+02:00\">"
           "<dc:title><rdf:Alt><rdf:li xml:lang=\"de\">Hafen</rdf:li>"
           "<rdf:li xml:lang=\"x-default\">Harbour</rdf:li></rdf:Alt></dc:title>"
           "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">Fish &amp; &lt;chips&gt;</rdf:li>"
           "</rdf:Alt></dc:description></rdf:Description>"),
       "Harbour", "Fish & <chips>", "2021:07:14 15:30:12"},
      {"other prefixes, the first language without a default, a date in a second Description",
       XmpSegment("<rdf:Description xmlns:d=\"http://purl.org/dc/elements/1.1/\"><d:title><rdf:Alt>"
                  "<rdf:li xml:lang=\"fr\">Port</rdf:li><rdf:li xml:lang=\"en\">Harbour</rdf:li></rdf:Alt>"
                  "</d:title></rdf:Description><rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">"
                  "<xmp:CreateDate>2020-01-02T03:04</xmp:CreateDate></rdf:Description>"),
       "Port", "", "2020:01:02 03:04:00"},
      {"the first date that is one, parts missing from it",
       XmpSegment("<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\""
                  " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\""
                  " exif:DateTimeOriginal=\"yesterday\" photoshop:DateCreated=\"2017\" xmp:CreateDate=\"2018-02\"/>"),
       "", "", "2018:02:01 00:00:00"},
      {"a date cut inside the time is none",
       XmpSegment("<rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:CreateDate=\"2018-02-03T04\"/>"), "",
       "", ""},
      {"another namespace under the usual prefix",
       XmpSegment("<rdf:Description xmlns:dc=\"http://example.org/\"><dc:title>x</dc:title></rdf:Description>"), "", "",
       ""},
      {"a document type, which could declare entities, is refused",
       Segment(kApp1,
               "http://ns.adobe.com/xap/1.0/\0<!DOCTYPE r [<!ENTITY e \"boom\">]>"
               "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
               "<rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>&e;</dc:title>"
               "</rdf:Description></rdf:RDF>"s),
       "", "", ""},
      {"a packet that is not well-formed",
       XmpSegment("<rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>x</rdf:Description>"), "",
       "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TimgData metadata;
    EXPECT_TRUE(metadata.ReadMetadataFromBytes(Jpeg({row.segment})));
    ASSERT_TRUE(metadata.HasXmp());
    EXPECT_FALSE(metadata.HasExif());
    EXPECT_EQ(metadata.XmpData()->Title(), row.title);
    EXPECT_EQ(metadata.XmpData()->Description(), row.description);
    EXPECT_EQ(metadata.XmpData()->DateTime(), row.date_time);
    EXPECT_EQ(metadata.CaptureDate(), row.date_time);
    EXPECT_EQ(metadata.HasCaptureDate(), !row.date_time.empty());
  }
}

TEST(MetadataFile, ExtensionDecidesWhetherTheFileIsScanned) {
  TTempDir dir;
  const std::string jpeg = Jpeg({Segment(kComment, "note")});
  struct Row {
    const char* name;
    bool found;
  };
  const Row rows[] = {{"photo.jpg", true},   {"photo.JPE", true},  {"photo.Jpeg", true},
                      {"photo.jfif", false}, {"photo.tif", false}, {"photo", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TimgData metadata;
    EXPECT_EQ(metadata.ReadMetadata(dir.Write(row.name, jpeg)), row.found);
    EXPECT_EQ(metadata.HasComment(), row.found);
  }
}

TEST(MetadataFile, MissingFileOrFolderForgetsWhatWasRead) {
  TTempDir dir;
  TimgData metadata;
  ASSERT_TRUE(metadata.ReadMetadata(dir.Write("a.jpg", Jpeg({IptcSegment(Dataset(2, 105, "x"))}))));
  EXPECT_FALSE(metadata.ReadMetadata(dir.File("gone.jpg")));
  EXPECT_FALSE(metadata.HasIptc());
  EXPECT_TRUE(metadata.Segments().empty());
  std::filesystem::create_directory(dir.File("folder.jpg"));
  EXPECT_FALSE(metadata.ReadMetadata(dir.File("folder.jpg")));
}

}  // namespace
}  // namespace folivant
