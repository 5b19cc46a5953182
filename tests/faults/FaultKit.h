#pragma once
// Photos and folder snapshots for the fault tests.
#include "support/WithoutRootRights.h"
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"
#include "core/optimize/OptimizeBatch.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

// A real coded picture without SOI and the encoder's APP0, to splice behind
// segments of a test's choosing.
inline std::string CodedBody(int width, int height) {
  Bitmap picture(width, height);
  for (size_t i = 0; i < picture.Bytes.size(); ++i) picture.Bytes[i] = static_cast<uint8_t>(i * 29 + i / 7);
  JpegImage image;
  image.Assign(std::move(picture));
  image.Compress(85, false);
  const std::string& jpeg = image.Data();
  size_t at = 2;
  if (static_cast<uint8_t>(jpeg[3]) == 0xE0) at += 2 + (static_cast<uint8_t>(jpeg[4]) << 8 | static_cast<uint8_t>(jpeg[5]));
  return jpeg.substr(at);
}

// A camera-like photo: EXIF with its size, a comment of commentBytes bytes
// (to make it as large as a test needs) and a real picture.
inline std::string CameraPhoto(size_t commentBytes, int width = 32, int height = 24) {
  Ifd exif;
  exif.Long(0xA002, {static_cast<uint32_t>(width)}).Long(0xA003, {static_cast<uint32_t>(height)});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 20D").SubIfd(0x8769, exif);
  std::string comment(commentBytes, '\0');
  for (size_t i = 0; i < comment.size(); ++i) comment[i] = static_cast<char>('a' + (i * 7919) % 26);
  return JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).Com(comment).Bytes() +
         CodedBody(width, height);
}

// Bytes as a short fingerprint (length and FNV-1a hash), so a failed
// comparison of whole photos prints a line, not kilobytes.
inline std::string Fingerprint(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return std::to_string(bytes.size()) + " bytes #" + std::to_string(hash);
}

// Every file of a folder with its fingerprint: what must not change when a write fails.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? Fingerprint(ReadFile(entry.path().string())) : "<folder>";
  }
  return files;
}

// The message of the LumatrimError a write throws, or "(no error)".
inline std::string MessageOf(const std::function<void()>& write) {
  try {
    write();
  } catch (const LumatrimError& error) {
    return error.what();
  }
  return "(no error)";
}

// A batch whose first failed photo is thrown as the other writers throw, so
// the same checks apply to it; returns the number of photos written.
inline int BatchOrThrow(const std::vector<std::string>& sources, const OptimizeSettings& settings) {
  const BatchReport report = RunOptimizeBatch(sources, settings);
  for (const BatchPhotoResult& photo : report.Photos) {
    if (photo.Outcome == PhotoOutcome::Failed) throw LumatrimError(photo.Detail);
  }
  return report.Written();
}

}  // namespace lumatrim::test
