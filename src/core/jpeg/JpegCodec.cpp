#include "core/jpeg/JpegCodec.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>

#include <jerror.h>

#include "core/bytes/Error.h"
#include "core/jpeg/CodecCancel.h"
#include "core/jpeg/TransformedBlocks.h"

namespace lumatrim::jpeg {
namespace {

// A stream with more scans than this is hostile: each scan can make libjpeg
// walk the whole coefficient buffer again, so it would decode "forever".
constexpr int kMaxScans = 500;

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  JumpBack(cinfo);
}

// Warnings that mean picture data is missing or garbled are errors for us: a
// truncated photo must not turn silently into a half-grey one. Harmless ones
// (extra bytes between segments, odd Adobe markers) are ignored, as real
// cameras write them.
bool IsDamage(int code) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
      return true;
    default:
      return false;
  }
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && IsDamage(cinfo->err->msg_code)) OnError(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
  if (CodecCancelled()) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "stopped");
    JumpBack(cinfo);
  }
  if (!cinfo->is_decompressor) return;
  auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
    JumpBack(cinfo);
  }
}

void InitErrors(ErrorManager& err) {
  std::memset(&err, 0, sizeof err);
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.progress.progress_monitor = OnProgress;
}

}  // namespace

// ---- Decompressor

Decompressor::Decompressor(const std::string& bytes, const std::string& what) : what_(what) {
  InitErrors(err_);
  std::memset(&info_, 0, sizeof info_);
  info_.err = &err_.pub;
  jpeg_create_decompress(&info_);  // only fails on a library/header mismatch
  info_.progress = &err_.progress;
  bytes_ = &bytes;
}

Decompressor::~Decompressor() { jpeg_destroy_decompress(&info_); }

void Decompressor::Fail() {
  throw LumatrimError(FailureKind::DamagedData, what_ + ": damaged or unsupported JPEG data (" + err_.message + ")");
}

void Decompressor::ReadHeader() {
  if (setjmp(err_.jump)) Fail();
  jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(bytes_->data()),
               static_cast<unsigned long>(bytes_->size()));
  if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) {
    std::strcpy(err_.message, "no image in the stream");
    Fail();
  }
}

void Decompressor::KeepIccProfile() {
  if (setjmp(err_.jump)) Fail();
  jpeg_save_markers(&info_, JPEG_APP0 + 2, 0xFFFF);
}

void Decompressor::KeepAllMarkers() {
  if (setjmp(err_.jump)) Fail();
  jpeg_save_markers(&info_, JPEG_COM, 0xFFFF);
  for (int app = 0; app < 16; ++app) jpeg_save_markers(&info_, JPEG_APP0 + app, 0xFFFF);
}

jvirt_barray_ptr* Decompressor::ReadCoefficients() {
  if (setjmp(err_.jump)) Fail();
  jvirt_barray_ptr* arrays = jpeg_read_coefficients(&info_);
  if (arrays == nullptr) {
    std::strcpy(err_.message, "no coefficients in the stream");
    Fail();
  }
  return arrays;
}

std::string Decompressor::IccProfile() {
  JOCTET* data = nullptr;
  unsigned int size = 0;
  if (setjmp(err_.jump)) Fail();
  // A profile whose pieces are missing or numbered wrongly reads as none (libjpeg warns, we do not fail).
  if (!jpeg_read_icc_profile(&info_, &data, &size) || data == nullptr) return {};
  const std::unique_ptr<JOCTET, void (*)(void*)> owned(data, std::free);
  return std::string(reinterpret_cast<const char*>(data), size);
}

bool Decompressor::FourChannels() const {
  return info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
}

void Decompressor::SetOutputScale(int numerator, int denominator) {
  info_.scale_num = static_cast<unsigned int>(numerator);
  info_.scale_denom = static_cast<unsigned int>(denominator);
}

void Decompressor::Start() {
  info_.out_color_space = FourChannels() ? JCS_CMYK : JCS_RGB;
  info_.dct_method = JDCT_ISLOW;
  info_.do_fancy_upsampling = TRUE;
  if (setjmp(err_.jump)) Fail();
  jpeg_start_decompress(&info_);
}

void Decompressor::ReadRow(JSAMPROW row) {
  if (setjmp(err_.jump)) Fail();
  // A suspending source never returns 0 rows from memory, but stay safe
  // against a loop that would not end.
  if (jpeg_read_scanlines(&info_, &row, 1) != 1) {
    std::strcpy(err_.message, "no more rows");
    Fail();
  }
}

// ---- Compressor

Compressor::Compressor(const std::string& what) : what_(what) {
  InitErrors(err_);
  std::memset(&info_, 0, sizeof info_);
  info_.err = &err_.pub;
  jpeg_create_compress(&info_);
  info_.progress = &err_.progress;
  dest_.owner = this;
  dest_.pub.init_destination = InitDestination;
  dest_.pub.empty_output_buffer = GrowDestination;
  dest_.pub.term_destination = TermDestination;
  info_.dest = &dest_.pub;
}

Compressor::~Compressor() { jpeg_destroy_compress(&info_); }

void Compressor::ExpectBytes(size_t bytes) {
  if (bytes > out_.size()) out_.resize(bytes);
}

// Called from inside libjpeg: a failed allocation leaves through ERREXIT, not
// an exception.
void Compressor::InitDestination(j_compress_ptr cinfo) {
  Compressor& self = *reinterpret_cast<Destination*>(cinfo->dest)->owner;
  constexpr size_t kFirstSize = 64 * 1024;
  bool failed = false;
  try {
    if (self.out_.size() < kFirstSize) self.out_.resize(kFirstSize);
  } catch (const std::exception&) {
    failed = true;
  }
  if (failed) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  self.outSize_ = 0;
  cinfo->dest->next_output_byte = reinterpret_cast<JOCTET*>(self.out_.data());
  cinfo->dest->free_in_buffer = self.out_.size();
}

// Called when the buffer is full: all of it holds output.
boolean Compressor::GrowDestination(j_compress_ptr cinfo) {
  Compressor& self = *reinterpret_cast<Destination*>(cinfo->dest)->owner;
  const size_t used = self.out_.size();
  bool failed = false;
  try {
    self.out_.resize(used * 2);
  } catch (const std::exception&) {
    failed = true;
  }
  if (failed) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
  cinfo->dest->next_output_byte = reinterpret_cast<JOCTET*>(self.out_.data()) + used;
  cinfo->dest->free_in_buffer = self.out_.size() - used;
  return TRUE;
}

void Compressor::TermDestination(j_compress_ptr cinfo) {
  Compressor& self = *reinterpret_cast<Destination*>(cinfo->dest)->owner;
  self.outSize_ = self.out_.size() - cinfo->dest->free_in_buffer;
}

void Compressor::Fail() {
  throw LumatrimError(what_ + ": cannot encode the picture (" + err_.message + ")");
}

void Compressor::Setup(int width, int height, int quality, bool progressive) {
  info_.image_width = static_cast<JDIMENSION>(width);
  info_.image_height = static_cast<JDIMENSION>(height);
  info_.input_components = 3;
  info_.in_color_space = JCS_RGB;
  if (setjmp(err_.jump)) Fail();
  jpeg_set_defaults(&info_);
  jpeg_set_quality(&info_, quality, TRUE);
  // At high quality the user asks for detail, and halving the colour
  // resolution would cost more than the quantiser does; full-resolution
  // chroma from quality 90 up, as other image tools do.
  if (quality >= kFullChromaQuality) {
    info_.comp_info[0].h_samp_factor = 1;
    info_.comp_info[0].v_samp_factor = 1;
  }
  info_.dct_method = JDCT_ISLOW;
  if (progressive) jpeg_simple_progression(&info_);
}

void Compressor::Start() {
  if (setjmp(err_.jump)) Fail();
  jpeg_start_compress(&info_, TRUE);
}

void Compressor::WriteRows(JSAMPARRAY rows, JDIMENSION count) {
  if (setjmp(err_.jump)) Fail();
  jpeg_write_scanlines(&info_, rows, count);
}

void Compressor::Finish() {
  if (setjmp(err_.jump)) Fail();
  jpeg_finish_compress(&info_);
}

void Compressor::WriteCoefficients(int width, int height, std::span<const CoefficientPlane> planes,
                                   std::span<const jpeg_scan_info> script) {
  if (planes.size() != 3 || script.empty()) throw LumatrimError(what_ + ": cannot encode the picture (bad plan)");
  jvirt_barray_ptr arrays[3] = {};
  if (setjmp(err_.jump)) Fail();
  info_.image_width = static_cast<JDIMENSION>(width);
  info_.image_height = static_cast<JDIMENSION>(height);
  info_.input_components = 3;
  info_.in_color_space = JCS_YCbCr;
  jpeg_set_defaults(&info_);
  for (int c = 0; c < 3; ++c) {
    const CoefficientPlane& plane = planes[static_cast<size_t>(c)];
    unsigned int steps[DCTSIZE2];
    for (int i = 0; i < DCTSIZE2; ++i) steps[i] = plane.QuantSteps[i];
    // Luma gets table 0, the colour components table 1 (they share steps).
    const int table = c == 0 ? 0 : 1;
    jpeg_add_quant_table(&info_, table, steps, 100, TRUE);
    jpeg_component_info& component = info_.comp_info[c];
    component.quant_tbl_no = table;
    component.h_samp_factor = plane.HorizontalSampling;
    component.v_samp_factor = plane.VerticalSampling;
    const JDIMENSION columns = static_cast<JDIMENSION>(
        (plane.WidthInBlocks + plane.HorizontalSampling - 1) / plane.HorizontalSampling * plane.HorizontalSampling);
    const JDIMENSION rows = static_cast<JDIMENSION>(
        (plane.HeightInBlocks + plane.VerticalSampling - 1) / plane.VerticalSampling * plane.VerticalSampling);
    arrays[c] = (*info_.mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(&info_), JPOOL_IMAGE, TRUE,
                                                  columns, rows, rows);
  }
  info_.optimize_coding = TRUE;
  info_.scan_info = script.data();
  info_.num_scans = static_cast<int>(script.size());
  jpeg_write_coefficients(&info_, arrays);
  // The arrays are realised now; fill them before the scans are coded.
  for (int c = 0; c < 3; ++c) {
    const CoefficientPlane& plane = planes[static_cast<size_t>(c)];
    if (static_cast<JDIMENSION>(plane.WidthInBlocks) != info_.comp_info[c].width_in_blocks ||
        static_cast<JDIMENSION>(plane.HeightInBlocks) != info_.comp_info[c].height_in_blocks) {
      std::snprintf(err_.message, sizeof err_.message, "component %d has the wrong number of blocks", c);
      jpeg_abort_compress(&info_);
      Fail();
    }
    JBLOCKARRAY rows = (*info_.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info_), arrays[c], 0,
                                                         static_cast<JDIMENSION>(plane.HeightInBlocks), TRUE);
    for (int y = 0; y < plane.HeightInBlocks; ++y) {
      const int16_t* from = plane.Values + static_cast<size_t>(y) * plane.WidthInBlocks * DCTSIZE2;
      std::memcpy(rows[y][0], from, sizeof(JCOEF) * DCTSIZE2 * static_cast<size_t>(plane.WidthInBlocks));
    }
  }
  jpeg_finish_compress(&info_);
}

namespace {

// libjpeg writes its own JFIF and Adobe segments from the copied parameters;
// the source's would come twice.
bool WrittenByLibjpeg(const jpeg_compress_struct& info, const jpeg_marker_struct& marker) {
  const auto starts = [&](const char* tag, unsigned int length) {
    return marker.data_length >= length && std::memcmp(marker.data, tag, length) == 0;
  };
  return (info.write_JFIF_header && marker.marker == JPEG_APP0 && starts("JFIF", 5)) ||
         (info.write_Adobe_marker && marker.marker == JPEG_APP0 + 14 && starts("Adobe", 5));
}

void TransposeQuantisers(jpeg_compress_struct& info) {
  for (JQUANT_TBL* table : info.quant_tbl_ptrs) {
    if (table == nullptr) continue;
    for (int v = 0; v < DCTSIZE; ++v) {
      for (int u = v + 1; u < DCTSIZE; ++u) std::swap(table->quantval[v * DCTSIZE + u], table->quantval[u * DCTSIZE + v]);
    }
  }
}

}  // namespace

void Compressor::WriteTransformed(jpeg_decompress_struct& source, const TransformedHeader& header,
                                  TransformedBlocks& blocks, std::span<const ComponentPlan> plans, bool copyMarkers,
                                  bool progressive) {
  if (setjmp(err_.jump)) Fail();
  jpeg_copy_critical_parameters(&source, &info_);
  if (header.sampling.size() != static_cast<size_t>(info_.num_components) || plans.size() != header.sampling.size()) {
    std::strcpy(err_.message, "a plan for other components than the stream's");
    Fail();
  }
  info_.image_width = static_cast<JDIMENSION>(header.width);
  info_.image_height = static_cast<JDIMENSION>(header.height);
  for (int c = 0; c < info_.num_components; ++c) {
    info_.comp_info[c].h_samp_factor = header.sampling[static_cast<size_t>(c)].first;
    info_.comp_info[c].v_samp_factor = header.sampling[static_cast<size_t>(c)].second;
  }
  if (header.transposed) TransposeQuantisers(info_);
  if (progressive) jpeg_simple_progression(&info_);
  blocks.InstallOn(info_);
  jpeg_write_coefficients(&info_, blocks.Handles());
  for (int c = 0; c < info_.num_components; ++c) {
    const ComponentPlan& plan = plans[static_cast<size_t>(c)];
    if (info_.comp_info[c].width_in_blocks != plan.widthInBlocks ||
        info_.comp_info[c].height_in_blocks != plan.heightInBlocks) {
      std::snprintf(err_.message, sizeof err_.message, "component %d has the wrong number of blocks", c);
      jpeg_abort_compress(&info_);
      Fail();
    }
  }
  if (copyMarkers) {
    for (jpeg_saved_marker_ptr marker = source.marker_list; marker != nullptr; marker = marker->next) {
      if (!WrittenByLibjpeg(info_, *marker)) jpeg_write_marker(&info_, marker->marker, marker->data, marker->data_length);
    }
  }
  jpeg_finish_compress(&info_);
}

std::string Compressor::TakeBytes() {
  out_.resize(outSize_);
  outSize_ = 0;
  return std::move(out_);
}

}  // namespace lumatrim::jpeg
