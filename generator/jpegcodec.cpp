#include "generator/jpegcodec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "generator/colorprofile.h"
#include "generator/limits.h"
#include "model/metadata/imgdata.h"
#include "platform/error.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "platform/stoprequest.h"

namespace folivant {

namespace {

// libjpeg's pixel formats whose bytes lie in memory as a raster word does.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr J_COLOR_SPACE kRasterDecodeSpace = kLittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr J_COLOR_SPACE kRasterEncodeSpace = kLittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Rows handed to libjpeg in one call.
constexpr int32_t kRowBatch = 16;

// libjpeg reports errors by calling error_exit, which must not return: it keeps
// the library's message and jumps back to the setjmp of the small function that
// made the failing call.
struct TErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<TErrorManager*>(cinfo->err);
  error->pub.format_message(cinfo, error->message);
  std::longjmp(error->jump, 1);
}

// Warnings stay quiet, except that a file ending early is an error: libjpeg would
// fill the missing part with grey and call it a picture.
void EmitMessage(j_common_ptr cinfo, int msg_level) {
  if (msg_level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
}

void InitErrorManager(TErrorManager& error) {
  jpeg_std_error(&error.pub);
  error.pub.error_exit = ErrorExit;
  error.pub.emit_message = EmitMessage;
}

[[noreturn]] void ThrowEncodeError(const TErrorManager& error) { throw TError(error.message); }

// The functions that call setjmp hold only trivially destructible locals, so the
// jump skips no destructor; their callers destroy the libjpeg object and throw.

// Bytes handed to the library at a time.
constexpr size_t kSourceBuffer = 64 << 10;

// The library's source of bytes: the photograph's one TFileReader, which
// hashes what it reads, so that decoding also fingerprints the file. Every
// marker the library reads (APP segments included) comes through here.
// Errors of the reader (and a stop) cannot pass through the library's C
// frames: they are kept here, the library is made to jump back, and the
// caller rethrows them.
struct TSource {
  jpeg_source_mgr pub{};
  TFileReader* file = nullptr;
  std::exception_ptr error;
  bool started = false;
  JOCTET buffer[kSourceBuffer];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  auto* source = reinterpret_cast<TSource*>(cinfo->src);
  size_t count = 0;
  try {
    StopPoint();
    count = source->file->Read(source->buffer, kSourceBuffer);
  } catch (...) {
    source->error = std::current_exception();
  }
  if (source->error) ERREXIT(cinfo, JERR_FILE_READ);
  if (count == 0) {
    if (!source->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // As libjpeg's own file source does: an end marker in place of the
    // missing data, and the warning that EmitMessage makes an error.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    count = 2;
  }
  source->started = true;
  source->pub.next_input_byte = source->buffer;
  source->pub.bytes_in_buffer = count;
  return TRUE;
}

// Skipped bytes are read all the same: the fingerprint covers every byte.
void SkipInputData(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* source = cinfo->src;
  if (count <= 0) return;
  while (static_cast<size_t>(count) > source->bytes_in_buffer) {
    count -= static_cast<long>(source->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= static_cast<size_t>(count);
}

void InitSourceManager(TSource& source, TFileReader& file) {
  source.file = &file;
  source.pub.init_source = InitSource;
  source.pub.fill_input_buffer = FillInputBuffer;
  source.pub.skip_input_data = SkipInputData;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = TermSource;
}

bool ReadHeader(jpeg_decompress_struct* cinfo, TErrorManager* error, TSource* source, int64_t memory_limit) {
  if (setjmp(error->jump)) return false;
  jpeg_create_decompress(cinfo);
  // Beyond this the library refuses to allocate rather than take it all.
  cinfo->mem->max_memory_to_use = static_cast<long>(memory_limit);
  cinfo->src = &source->pub;
  // The colour profile travels in APP2 segments, which the library otherwise skips.
  jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(cinfo, TRUE);
  return true;
}

// The profile of the APP2 segments kept with the header; a damaged or
// incomplete one reads as none. `*data` is the library's malloc'ed copy.
bool ReadIccProfile(jpeg_decompress_struct* cinfo, TErrorManager* error, JOCTET** data, unsigned int* size) {
  if (setjmp(error->jump)) return false;
  if (!jpeg_read_icc_profile(cinfo, data, size)) *data = nullptr;
  return true;
}

bool CalculateOutputSize(jpeg_decompress_struct* cinfo, TErrorManager* error) {
  if (setjmp(error->jump)) return false;
  jpeg_calc_output_dimensions(cinfo);
  return true;
}

bool StartDecompress(jpeg_decompress_struct* cinfo, TErrorManager* error) {
  if (setjmp(error->jump)) return false;
  jpeg_start_decompress(cinfo);
  return true;
}

bool ReadScanlines(jpeg_decompress_struct* cinfo, TErrorManager* error, JSAMPARRAY rows, JDIMENSION count,
                   JDIMENSION* read) {
  if (setjmp(error->jump)) return false;
  while (*read < count && cinfo->output_scanline < cinfo->output_height) {
    *read += jpeg_read_scanlines(cinfo, rows + *read, count - *read);
  }
  return true;
}

// The encoder's output gathered in a string that C++ owns: a stop or an error
// midway leaves no buffer of the library's behind to free, and a finished
// file is handed over without a copy.
struct TStringDestination {
  jpeg_destination_mgr pub{};
  std::string bytes;
};

// The output's first room, doubled whenever the encoder fills it.
constexpr size_t kFirstOutputRoom = 64 << 10;

void OfferRoom(TStringDestination& destination, size_t filled) {
  destination.pub.next_output_byte = reinterpret_cast<JOCTET*>(destination.bytes.data() + filled);
  destination.pub.free_in_buffer = destination.bytes.size() - filled;
}

void StartStringDestination(j_compress_ptr cinfo) {
  auto& destination = *reinterpret_cast<TStringDestination*>(cinfo->dest);
  destination.bytes.resize(kFirstOutputRoom);
  OfferRoom(destination, 0);
}

// Called when the room is full; an exception must not cross the library, so
// running out of memory ends the encoding as the library's own errors do.
boolean GrowStringDestination(j_compress_ptr cinfo) {
  auto& destination = *reinterpret_cast<TStringDestination*>(cinfo->dest);
  const size_t filled = destination.bytes.size();
  bool grown = true;
  try {
    destination.bytes.resize(filled * 2);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  OfferRoom(destination, filled);
  return TRUE;
}

void EndStringDestination(j_compress_ptr cinfo) {
  auto& destination = *reinterpret_cast<TStringDestination*>(cinfo->dest);
  destination.bytes.resize(destination.bytes.size() - destination.pub.free_in_buffer);
}

struct TCompression {
  jpeg_compress_struct cinfo{};
  TErrorManager error{};
  TStringDestination destination;

  TCompression() {
    InitErrorManager(error);
    cinfo.err = &error.pub;
    destination.pub.init_destination = StartStringDestination;
    destination.pub.empty_output_buffer = GrowStringDestination;
    destination.pub.term_destination = EndStringDestination;
  }
  ~TCompression() { jpeg_destroy_compress(&cinfo); }
  TCompression(const TCompression&) = delete;
  TCompression& operator=(const TCompression&) = delete;
};

bool Compress(TCompression* compression, const TRaster* raster, int quality) {
  jpeg_compress_struct* cinfo = &compression->cinfo;
  if (setjmp(compression->error.jump)) return false;
  jpeg_create_compress(cinfo);
  cinfo->dest = &compression->destination.pub;
  cinfo->image_width = static_cast<JDIMENSION>(raster->Width);
  cinfo->image_height = static_cast<JDIMENSION>(raster->Height);
  cinfo->input_components = 4;
  cinfo->in_color_space = kRasterEncodeSpace;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    // A large picture takes a while: a stop is heeded between bands of rows.
    if (cinfo->next_scanline % kRowBatch == 0) StopPoint();
    // libjpeg only reads the rows it is given.
    auto* row =
        const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(raster->Row(static_cast<int32_t>(cinfo->next_scanline))));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

// Byte x byte / 255, rounded.
uint32_t Product255(uint32_t a, uint32_t b) { return (a * b + 127) / 255; }

// Adobe's CMYK files store the inks inverted (255 is no ink); others store them plainly.
uint32_t CmykToRaster(const uint8_t* cmyk, bool inverted) {
  uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
  if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  return kOpaqueAlpha | Product255(c, k) << 16 | Product255(m, k) << 8 | Product255(y, k);
}

// The reader's errors make the photograph one that cannot be read; a stop stays a stop.
[[noreturn]] void ThrowAsPictureError(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const TStopped&) {
    throw;
  } catch (const TError& reader_error) {
    throw TPictureError(reader_error.what());
  }
}

}  // namespace

struct TJpegReader::TState {
  jpeg_decompress_struct cinfo{};
  TErrorManager error{};
  std::optional<TFileReader> file;
  TSource source;
  bool started = false;
  bool cmyk = false;
  bool inverted_cmyk = false;
  std::vector<uint8_t> cmyk_rows;
  std::string icc_profile;

  TState() {
    InitErrorManager(error);
    cinfo.err = &error.pub;
  }
  ~TState() {
    // Safe on a structure that was never created: libjpeg checks its memory manager.
    jpeg_destroy_decompress(&cinfo);
  }
  TState(const TState&) = delete;
  TState& operator=(const TState&) = delete;

  void Open(const std::string& path) {
    try {
      file.emplace(path);
    } catch (const TError&) {
      ThrowAsPictureError(std::current_exception());
    }
    InitSourceManager(source, *file);
  }

  // After the library jumped back: the reader's error when it was the cause, else the library's message.
  [[noreturn]] void ThrowDecodeError() const {
    if (source.error) ThrowAsPictureError(source.error);
    throw TPictureError(error.message);
  }
};

namespace {

// Rows in flight, generously: a band of rows per component in each of the
// library's buffers (input, upsampling, colour conversion).
constexpr int64_t kRowBytesPerComponent = 128;

}  // namespace

TJpegReader::TJpegReader(const std::string& path, int scale_denom, int64_t memory_limit)
    : state_(std::make_unique<TState>()) {
  TState& state = *state_;
  state.Open(path);
  jpeg_decompress_struct& cinfo = state.cinfo;
  if (!ReadHeader(&cinfo, &state.error, &state.source, memory_limit)) state.ThrowDecodeError();
  JOCTET* icc = nullptr;
  unsigned int icc_size = 0;
  if (!ReadIccProfile(&cinfo, &state.error, &icc, &icc_size)) state.ThrowDecodeError();
  const std::unique_ptr<JOCTET, void (*)(void*)> icc_owner(icc, std::free);
  if (icc) state.icc_profile.assign(reinterpret_cast<const char*>(icc), icc_size);

  const int64_t pixels = static_cast<int64_t>(cinfo.image_width) * cinfo.image_height;
  if (pixels > kMaxPicturePixels) {
    throw TPictureError("The picture is too large: " + std::to_string(cinfo.image_width) + " x " +
                        std::to_string(cinfo.image_height) + " pixels (at most " + MaxPicturePixelsText() + ")");
  }
  state.cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  state.inverted_cmyk = state.cmyk && cinfo.saw_Adobe_marker;
  if (DecodeMemory() > memory_limit)
    throw TPictureError(TooMuchMemoryMessage("to decode", DecodeMemory(), memory_limit));
  cinfo.out_color_space = state.cmyk ? JCS_CMYK : kRasterDecodeSpace;
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned int>(scale_denom);
  // The size only: the library allocates its buffers when the first rows are read.
  if (!CalculateOutputSize(&cinfo, &state.error)) state.ThrowDecodeError();
}

TJpegReader::~TJpegReader() = default;

int32_t TJpegReader::Width() const { return static_cast<int32_t>(state_->cinfo.output_width); }
int32_t TJpegReader::Height() const { return static_cast<int32_t>(state_->cinfo.output_height); }
const std::string& TJpegReader::IccProfile() const { return state_->icc_profile; }

int64_t TJpegReader::DecodeMemory() const {
  const jpeg_decompress_struct& cinfo = state_->cinfo;
  int64_t bytes = int64_t{cinfo.image_width} * cinfo.num_components * kRowBytesPerComponent;
  if (state_->cmyk) bytes += int64_t{kRowBatch} * cinfo.image_width * 4;
  // A file of several scans (progressive, or one component per scan) is held
  // whole as coefficients until its last scan has been read.
  if (cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components) {
    for (int c = 0; c < cinfo.num_components; ++c) {
      const jpeg_component_info& component = cinfo.comp_info[c];
      const auto round_up = [](int64_t value, int64_t to) { return (value + to - 1) / to * to; };
      const int64_t blocks = round_up(component.width_in_blocks, component.h_samp_factor) *
                             round_up(component.height_in_blocks, component.v_samp_factor);
      bytes += blocks * DCTSIZE2 * static_cast<int64_t>(sizeof(JCOEF));
    }
  }
  return bytes;
}

int32_t TJpegReader::ReadRows(uint32_t* rows, int32_t count) {
  StopPoint();
  TState& state = *state_;
  if (!state.started) {
    if (!StartDecompress(&state.cinfo, &state.error)) state.ThrowDecodeError();
    state.started = true;
  }
  const auto width = static_cast<size_t>(Width());
  int32_t done = 0;
  while (done < count && state.cinfo.output_scanline < state.cinfo.output_height) {
    const int32_t batch = std::min(count - done, kRowBatch);
    uint32_t* first_row = rows + static_cast<size_t>(done) * width;
    if (state.cmyk) state.cmyk_rows.resize(static_cast<size_t>(batch) * width * 4);
    JSAMPROW pointers[kRowBatch];
    for (int32_t r = 0; r < batch; ++r) {
      pointers[r] = state.cmyk ? &state.cmyk_rows[static_cast<size_t>(r) * width * 4]
                               : reinterpret_cast<JSAMPROW>(first_row + static_cast<size_t>(r) * width);
    }
    JDIMENSION read = 0;
    if (!ReadScanlines(&state.cinfo, &state.error, pointers, static_cast<JDIMENSION>(batch), &read))
      state.ThrowDecodeError();
    if (read == 0) break;
    if (state.cmyk) {
      for (size_t i = 0; i < read * width; ++i)
        first_row[i] = CmykToRaster(&state.cmyk_rows[i * 4], state.inverted_cmyk);
    }
    done += static_cast<int32_t>(read);
  }
  return done;
}

TFileContent TJpegReader::ReadToEnd() {
  try {
    return state_->file->ReadToEnd();
  } catch (const TError&) {
    ThrowAsPictureError(std::current_exception());
  }
}

void CheckPictureExtension(const std::string& path) {
  if (IsJpegName(path, TJpegEndings::JpgJpegOnly)) return;
  const std::string extension = ExtractFileExt(path);
  throw TPictureError("Unknown picture file extension (." + (extension.empty() ? "" : extension.substr(1)) + ")");
}

TRaster LoadPicture(const std::string& path, int scale_denom) {
  CheckPictureExtension(path);
  TJpegReader reader(path, scale_denom);
  const int64_t need = reader.DecodeMemory() + int64_t{reader.Width()} * reader.Height() * 4;
  if (need > kRunMemoryBudget) throw TPictureError(TooMuchMemoryMessage("to decode", need, kRunMemoryBudget));
  TRaster raster(reader.Width(), reader.Height());
  int32_t y = 0;
  while (y < raster.Height) {
    const int32_t read = reader.ReadRows(raster.Row(y), raster.Height - y);
    if (read == 0) break;
    y += read;
  }
  TSrgbConversion(reader.IccProfile()).Apply(raster);
  return raster;
}

std::string EncodeJpeg(const TRaster& raster, int quality) {
  if (raster.Empty()) return {};
  TCompression compression;
  if (!Compress(&compression, &raster, quality)) ThrowEncodeError(compression.error);
  return std::move(compression.destination.bytes);
}

}  // namespace folivant
