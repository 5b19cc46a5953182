#pragma once
#include <cstdint>
#include <string>

namespace lumatrim::test {

// JPEG bytes segment by segment, as a test states them:
//   JpegBuilder().Soi().App1Exif(tiff).Com("hello").Sos().Bytes()
// Payloads are given without the length field; it is computed (or forced).
class JpegBuilder {
 public:
  JpegBuilder& Soi();
  JpegBuilder& Segment(uint8_t marker, const std::string& payload);
  // A segment whose 16-bit length field is given as is (hostile lengths).
  JpegBuilder& SegmentWithLength(uint8_t marker, uint16_t lengthField, const std::string& payload);
  JpegBuilder& App0Jfif();                          // a 16-byte JFIF 1.01 APP0
  JpegBuilder& App1Exif(const std::string& tiff);   // "Exif\0\0" + TIFF block
  JpegBuilder& App13(const std::string& payload);   // payload as stored (e.g. "Photoshop 3.0\0...")
  JpegBuilder& Com(const std::string& text);
  JpegBuilder& Dqt();                               // a plausible quantisation table segment
  // Start of scan with a few bytes of entropy-coded data and EOI.
  JpegBuilder& Sos();
  JpegBuilder& Append(const std::string& raw);      // anything, verbatim
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// An APP13 payload: "Photoshop 3.0\0" + one 8BIM resource 0x0404 holding the
// given IPTC datasets (already encoded).
std::string PhotoshopIptcPayload(const std::string& iptcDatasets);
// One IPTC dataset: 1C, record, dataset, 2-byte big-endian length, value.
std::string IptcDataset(uint8_t record, uint8_t dataset, const std::string& value);

// Writes bytes to a file, creating it; returns the path.
std::string WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A fresh temporary folder per test, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The shared photo corpus, or empty text when it is not on this machine.
std::string CorpusDir();

}  // namespace lumatrim::test
