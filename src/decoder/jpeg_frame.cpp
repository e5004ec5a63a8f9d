#include "decoder/jpeg_frame.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

// libjpeg's errors end in a jump back to the decode; its warnings are collected by kind.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  bool dataMissing = false;
  bool outOfMemory = false;
};

ErrorManager& Errors(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

[[noreturn]] void JumpBack(j_common_ptr info) {
  const int code = info->err->msg_code;
  if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) Errors(info).outOfMemory = true;
  std::longjmp(Errors(info).jump, 1);
}

void NoteWarning(j_common_ptr info, int level) {
  if (level >= 0) return;  // traces
  // The warnings that mean part of the frame was never in the file, or cannot be read from it:
  // libjpeg goes on and paints those blocks grey, or a bad code's block blank. Others (stray
  // bytes between markers, say) lose nothing.
  const int code = info->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC ||
      code == JWRN_HUFF_BAD_CODE) {
    Errors(info).dataMissing = true;
  }
  ++info->err->num_warnings;
}

void Silent(j_common_ptr) {}

struct Source {
  jpeg_source_mgr pub;
  QIODevice* device;
  JOCTET buffer[4096];
};

void StartSource(j_decompress_ptr) {}
void EndSource(j_decompress_ptr) {}

boolean FillBuffer(j_decompress_ptr info) {
  auto& source = *reinterpret_cast<Source*>(info->src);
  qint64 count = source.device->read(reinterpret_cast<char*>(source.buffer), sizeof source.buffer);
  if (count <= 0) {
    // As libjpeg's own file source does at the end: a warning, and an end-of-image marker.
    WARNMS(info, JWRN_JPEG_EOF);
    source.buffer[0] = 0xFF;
    source.buffer[1] = JPEG_EOI;
    count = 2;
  }
  source.pub.next_input_byte = source.buffer;
  source.pub.bytes_in_buffer = std::size_t(count);
  return TRUE;
}

void SkipData(j_decompress_ptr info, long count) {
  jpeg_source_mgr& source = *info->src;
  while (count > long(source.bytes_in_buffer)) {
    count -= long(source.bytes_in_buffer);
    FillBuffer(info);
  }
  if (count <= 0) return;
  source.next_input_byte += count;
  source.bytes_in_buffer -= std::size_t(count);
}

void CountScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans) {
    (*info->err->error_exit)(info);
  }
}

// What the frame's decode takes beyond the frame itself: a frame of several scans keeps every
// DCT coefficient of every component until the last one.
std::int64_t WorkingMemory(j_decompress_ptr info) {
  if (!jpeg_has_multiple_scans(info)) return 0;
  std::int64_t bytes = 0;
  for (int c = 0; c < info->num_components; ++c) {
    const jpeg_component_info& component = info->comp_info[c];
    const auto roundUp = [](std::int64_t value, std::int64_t step) {
      return (value + step - 1) / step * step;
    };
    bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
             roundUp(component.height_in_blocks, component.v_samp_factor) *
             std::int64_t(sizeof(JBLOCK));
  }
  return bytes;
}

// Inks as Adobe writes them (inverted) to RGB, as Qt's reader turns them.
void InksToRgb(const JSAMPLE* inks, int width, QRgb* out) {
  for (int x = 0; x < width; ++x, inks += 4) {
    const int black = inks[3];
    out[x] = qRgb(black * inks[0] / 255, black * inks[1] / 255, black * inks[2] / 255);
  }
}

// Runs libjpeg on `info`, whose error manager is `errors`, into `image`. Returns false when
// libjpeg gave up. Everything it changes lives in the caller, so nothing is lost to the jump.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, std::int64_t memoryLimit,
            QImage& image, std::vector<JSAMPLE>& inks) {
  if (setjmp(errors.jump)) return false;
  jpeg_read_header(&info, TRUE);
  const bool grey = info.num_components == 1;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = grey   ? JCS_GRAYSCALE
                         : cmyk ? JCS_CMYK
                                : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB);
  jpeg_calc_output_dimensions(&info);
  const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
  const std::int64_t width = info.output_width, height = info.output_height;
  const std::int64_t frame = (width * (grey ? 8 : 32) + 31) / 32 * 4 * height;
  const std::int64_t working = WorkingMemory(&info) + (cmyk ? 4 * width : 0);
  if (frame + working > memoryLimit) {
    errors.outOfMemory = true;
    return false;
  }
  // A backstop for what libjpeg takes beyond the counted coefficients.
  info.mem->max_memory_to_use = long(memoryLimit - frame);
  image = QImage(int(width), int(height), format);
  if (image.isNull()) {
    errors.outOfMemory = true;
    return false;
  }
  if (cmyk) inks.resize(std::size_t(4 * width));
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    const int y = int(info.output_scanline);
    JSAMPROW row = cmyk ? inks.data() : image.scanLine(y);
    if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    if (cmyk) InksToRgb(inks.data(), int(width), reinterpret_cast<QRgb*>(image.scanLine(y)));
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

QImage DecodeJpegFrame(QIODevice& device, std::int64_t memoryLimit) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = JumpBack;
  errors.pub.emit_message = NoteWarning;
  errors.pub.output_message = Silent;
  jpeg_create_decompress(&info);
  struct Destroy {
    jpeg_decompress_struct* info;
    ~Destroy() { jpeg_destroy_decompress(info); }
  } destroy{&info};

  Source source{};
  source.device = &device;
  source.pub.init_source = StartSource;
  source.pub.fill_input_buffer = FillBuffer;
  source.pub.skip_input_data = SkipData;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = EndSource;
  info.src = &source.pub;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = CountScans;
  info.progress = &progress;

  QImage image;
  std::vector<JSAMPLE> inks;
  const bool decoded = Decode(info, errors, memoryLimit, image, inks);
  if (errors.outOfMemory) throw EOutOfMemory();
  if (!decoded || errors.dataMissing) throw EInvalidGraphic();
  return image;
}

}  // namespace pixdraft
