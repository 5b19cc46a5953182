// A header claiming an absurd picture size is refused with a clear message
// before anything that large is allocated: by the JPEG image object, the
// preview's reduced decode, the EXIF thumbnail and the batch.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>

#include "core/bytes/AddressSanitizer.h"
#include "core/jpeg/LosslessTransform.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "faults/FaultKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

// A coded picture (from its first segment after SOI) whose frame header now
// claims width x height; the tables and the scan stay those of the small one.
std::string ClaimingSize(std::string body, uint16_t width, uint16_t height) {
  size_t at = 0;
  while (at + 9 < body.size() && static_cast<uint8_t>(body[at]) == 0xFF) {
    const uint8_t marker = static_cast<uint8_t>(body[at + 1]);
    if (marker == 0xC0 || marker == 0xC2) {
      body[at + 5] = static_cast<char>(height >> 8);
      body[at + 6] = static_cast<char>(height & 0xFF);
      body[at + 7] = static_cast<char>(width >> 8);
      body[at + 8] = static_cast<char>(width & 0xFF);
      return body;
    }
    at += 2 + (static_cast<uint8_t>(body[at + 2]) << 8 | static_cast<uint8_t>(body[at + 3]));
  }
  ADD_FAILURE() << "no frame header found";
  return body;
}

std::string Jpeg(uint16_t width, uint16_t height) {
  return std::string("\xFF\xD8", 2) + ClaimingSize(CodedBody(16, 16), width, height);
}

// The virtual memory this process uses now, in bytes.
rlim_t VirtualSize() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// Runs attempt in a child whose address space may grow by at most 256 MB, so
// a large allocation fails there instead of passing unnoticed. Under
// AddressSanitizer, whose shadow memory needs a huge address space, the child
// runs without the limit and the refusal before decoding is what is checked.
// Returns the attempt's result; 90 when it ran out of memory.
int WithMemoryLimit(const std::function<int()>& attempt) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (!kUnderAddressSanitizer) {
      const rlim_t limit = VirtualSize() + (rlim_t{256} << 20);
      const rlimit bound{limit, limit};
      if (::setrlimit(RLIMIT_AS, &bound) != 0) ::_exit(99);
    }
    try {
      ::_exit(attempt());
    } catch (const std::bad_alloc&) {
      ::_exit(90);
    } catch (...) {
      ::_exit(91);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 97;
}

// A clear refusal names the claimed size, or the largest side JPEG allows.
bool NamesTheSize(const std::string& message, const std::string& size) {
  return message.find(size) != std::string::npos || message.find("dimension is 65500 pixels") != std::string::npos;
}

// 0 when the work is refused with a clear message; 1 when nothing was refused.
int RefusedNaming(const std::string& size, const std::function<void()>& work) {
  const std::string message = MessageOf(work);
  if (message == "(no error)") return 1;
  if (NamesTheSize(message, size)) return 0;
  std::fprintf(stderr, "unclear message: %s\n", message.c_str());
  return 2;
}

}  // namespace

TEST(SizeLimits, JpegObjectRefusesAbsurdHeadersBeforeDecoding) {
  struct Claim {
    const char* what;
    uint16_t width, height;
    const char* size;
  };
  for (const Claim& claim : {Claim{"65535 x 65535", 65535, 65535, "65535 x 65535"},
                             Claim{"past the pixel limit", 60000, 60000, "60000 x 60000"},
                             Claim{"far more pixels than a small file can code", 8000, 8000, "8000 x 8000"},
                             Claim{"one absurd side", 65535, 1, "65535 x 1"}}) {
    SCOPED_TRACE(claim.what);
    const std::string bytes = Jpeg(claim.width, claim.height);
    TempDir dir;
    const std::string path = WriteFile(dir.File("huge.jpg"), bytes);

    EXPECT_EQ(WithMemoryLimit([&] { return RefusedNaming(claim.size, [&] { JpegImage().LoadFromBytes(bytes); }); }), 0)
        << "1: accepted, 2: the message does not name the size, 90: ran out of memory";
    SCOPED_TRACE("the preview's path: load, pick a reduced scale, decode");
    EXPECT_EQ(WithMemoryLimit([&] {
                return RefusedNaming(claim.size, [&] {
                  JpegImage image;
                  image.LoadFromFile(path);
                  (void)image.Decode(image.PreviewScale(400, 300));
                });
              }),
              0);
    SCOPED_TRACE("a lossless turn, which holds every block of the picture");
    EXPECT_EQ(WithMemoryLimit([&] {
                return RefusedNaming(claim.size, [&] { (void)TransformJpeg(bytes, PixelTransform::Rotate90); });
              }),
              0);
  }
  SCOPED_TRACE("a plausible size still loads");
  JpegImage fine;
  fine.LoadFromBytes(Jpeg(16, 16));
  EXPECT_EQ(fine.Width(), 16);
}

TEST(SizeLimits, ThumbnailClaimingAnAbsurdSizeIsRefused) {
  const auto photoWithThumbnail = [](const std::string& thumbnail) {
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Thumbnail(thumbnail);
    Ifd ifd0;
    ifd0.Ascii(0x010F, "Canon").Next(ifd1);
    return JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).Bytes() + CodedBody(16, 16);
  };
  TempDir dir;
  {
    SCOPED_TRACE("a plausible thumbnail decodes");
    PhotoMetadata data = ReadPhotoMetadata(WriteFile(dir.File("fine.jpg"), photoWithThumbnail(Jpeg(16, 16))));
    ASSERT_TRUE(data.MetadataPresent());
    data.exif->ParseThumbnailDirectory();
    const auto thumbnail = DecodeThumbnail(data);
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_EQ(thumbnail->Decode().Width, 16);
  }
  const std::string path = WriteFile(dir.File("p.jpg"), photoWithThumbnail(Jpeg(65535, 65535)));
  EXPECT_EQ(WithMemoryLimit([&] {
              PhotoMetadata data = ReadPhotoMetadata(path);
              if (!data.MetadataPresent() || !data.ThumbnailPresent()) return 3;
              data.exif->ParseThumbnailDirectory();
              return RefusedNaming("65535 x 65535", [&] { (void)DecodeThumbnail(data); });
            }),
            0)
      << "1: accepted, 2: the message does not name the size, 3: no thumbnail read, 90: out of memory";
}

TEST(SizeLimits, BatchRefusesAbsurdPhotoAndWritesNothing) {
  for (bool keepSize : {true, false}) {
    SCOPED_TRACE(keepSize ? "keeping the photo's size" : "to 1024 x 768");
    TempDir dir;
    const std::string photo =
        WriteFile(dir.File("huge.jpg"), JpegBuilder().Soi().Com("claims 65535 x 65535").Bytes() +
                                            ClaimingSize(CodedBody(16, 16), 65535, 65535));
    OptimizeSettings settings;
    settings.TargetFolder = dir.File("out");
    settings.KeepSize = keepSize;
    settings.ShortSide = 768;
    settings.LongSide = 1024;
    settings.Jobs = 1;
    std::filesystem::create_directory(settings.TargetFolder);
    EXPECT_EQ(WithMemoryLimit([&] {
                const std::string message = MessageOf([&] { BatchOrThrow({photo}, settings); });
                if (message == "(no error)") return 1;
                if (message.find("huge.jpg") == std::string::npos) return 2;
                return NamesTheSize(message, "65535 x 65535") ? 0 : 3;
              }),
              0)
        << "1: accepted, 2: the photo is not named, 3: the size is not named, 90: out of memory";
    EXPECT_TRUE(Snapshot(settings.TargetFolder).empty());
  }
}
