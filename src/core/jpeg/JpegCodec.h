#pragma once
// Internal to the JPEG image object: the only place that talks to libjpeg.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace lumatrim::jpeg {

class TransformedBlocks;
struct ComponentPlan;

// libjpeg reports fatal errors by calling error_exit, which must not return.
// Each wrapper below owns one setjmp: every libjpeg call goes through a member
// function that sets the jump point, makes the one call, and turns a jump back
// into a LumatrimError thrown from plain C++ code. No C++ object with a
// destructor lives between a setjmp and the libjpeg call it guards.
struct ErrorManager {
  jpeg_error_mgr pub;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX + 64];
};

// A decompressor over bytes in memory. The bytes must outlive it.
class Decompressor {
 public:
  Decompressor(const std::string& bytes, const std::string& what);
  ~Decompressor();
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  jpeg_decompress_struct& Info() { return info_; }

  // Asks libjpeg to keep the APP2 segments, before ReadHeader, so that
  // IccProfile can put the colour profile back together.
  void KeepIccProfile();
  // Asks libjpeg to keep every APP and COM segment, before ReadHeader.
  void KeepAllMarkers();
  void ReadHeader();
  // The whole picture's quantised coefficients, one array per component,
  // read into the decompressor's arrays (after ReadHeader).
  jvirt_barray_ptr* ReadCoefficients();
  // The embedded ICC profile (after ReadHeader), empty when there is none or
  // its pieces do not fit together.
  std::string IccProfile();
  void Start();
  // Reads exactly one output row into row.
  void ReadRow(JSAMPROW row);
  // Plain RGB output: gray and YCbCr/RGB streams give RGB directly, four-channel
  // streams give CMYK (converted by the caller).
  bool FourChannels() const;
  // Decode straight into numerator / denominator of the size (DCT scaling).
  void SetOutputScale(int numerator, int denominator);

 private:
  [[noreturn]] void Fail();

  jpeg_decompress_struct info_;
  ErrorManager err_;
  std::string what_;
  const std::string* bytes_ = nullptr;
};

// From this quality up the encoder keeps the colour at full resolution (4:4:4).
constexpr int kFullChromaQuality = 90;

// One component of a picture already quantised: its sampling factors, its
// quantiser steps (natural order) and its values, 64 per block in natural
// order, blocks row by row.
struct CoefficientPlane {
  int HorizontalSampling = 1;
  int VerticalSampling = 1;
  int WidthInBlocks = 0;
  int HeightInBlocks = 0;
  const uint16_t* QuantSteps = nullptr;
  const int16_t* Values = nullptr;
};

// The header of a losslessly transformed picture: its size and each
// component's sampling factors (horizontal, vertical). When the blocks'
// axes swap, so do the quantisers'.
struct TransformedHeader {
  int width = 0;
  int height = 0;
  bool transposed = false;
  std::vector<std::pair<int, int>> sampling;
};

// A compressor into memory; TakeBytes() hands over the stream after Finish().
class Compressor {
 public:
  explicit Compressor(const std::string& what);
  ~Compressor();
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  // Sets up a 24-bit RGB input of that size with the standard tables scaled to
  // quality (baseline-compatible) and, when progressive, the simple script.
  void Setup(int width, int height, int quality, bool progressive);
  void Start();
  void WriteRows(JSAMPARRAY rows, JDIMENSION count);
  void Finish();
  // The stream, once: the compressor gives it up.
  std::string TakeBytes();
  // Room for a stream of about this many bytes, before the encode starts.
  void ExpectBytes(size_t bytes);

  // The whole encode of a quantised YCbCr picture (three planes, the first
  // luma): the given tables (kept within 1..255, baseline), Huffman tables
  // optimised for the picture, the scan script given (progressive or not as
  // the script says). Afterwards TakeBytes() hands over the stream.
  void WriteCoefficients(int width, int height, std::span<const CoefficientPlane> planes,
                         std::span<const jpeg_scan_info> script);

  // The whole encode of a lossless transform: the source's tables and colour
  // space under the new header, the coefficients as blocks makes them (they
  // must have the sizes plans give), the source's APP and COM segments when
  // asked (those KeepAllMarkers kept), sequential or progressive scans.
  void WriteTransformed(jpeg_decompress_struct& source, const TransformedHeader& header, TransformedBlocks& blocks,
                        std::span<const ComponentPlan> plans, bool copyMarkers, bool progressive);

 private:
  [[noreturn]] void Fail();

  // The destination: one string of ours, grown by doubling. (libjpeg's own
  // memory destination frees its first buffer when it grows and hands the
  // new one back only at the end, so an encode stopped part way left us a
  // pointer already freed.) The finished stream is moved out, not copied.
  struct Destination {
    jpeg_destination_mgr pub;  // first, so libjpeg's pointer is ours
    Compressor* owner;
  };
  static void InitDestination(j_compress_ptr cinfo);
  static boolean GrowDestination(j_compress_ptr cinfo);
  static void TermDestination(j_compress_ptr cinfo);

  jpeg_compress_struct info_;
  ErrorManager err_;
  Destination dest_{};
  std::string what_;
  std::string out_;
  size_t outSize_ = 0;
};

}  // namespace lumatrim::jpeg
