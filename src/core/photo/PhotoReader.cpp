#include "core/photo/PhotoReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/bytes/FileSource.h"
#include "core/exif/TagTables.h"
#include "core/heif/HeifKind.h"
#include "core/heif/HeifMetadata.h"
#include "core/jpeg/JpegName.h"
#include "core/jpeg/JpegSegment.h"
#include "core/photo/PhotoXmp.h"

namespace lumatrim {
namespace {

constexpr int kGiveUpSegments = 4;  // without metadata among the first four segments
constexpr int kTiffHeaderSize = 8;

enum class PhotoKind { kJpeg, kTiff, kHeif, kOther };

// The kind a file's first bytes announce: FF D8 for a JPEG, "II*\0" or
// "MM\0*" for a TIFF (NEF files are TIFFs), an ftyp box with a HEIF brand.
PhotoKind KindOfBytes(const std::string& path) {
  FileSource input(path);
  char magic[kHeifProbeBytes];
  const size_t n = input.IsOpen() ? input.Read(magic, sizeof magic) : 0;
  const std::string_view start(magic, n);
  if (start.substr(0, 2) == "\xFF\xD8") return PhotoKind::kJpeg;
  if (start.substr(0, 4) == std::string_view("II*\0", 4) || start.substr(0, 4) == std::string_view("MM\0*", 4)) {
    return PhotoKind::kTiff;
  }
  if (IsHeifStart(start)) return PhotoKind::kHeif;
  return PhotoKind::kOther;
}

// The kind a file's name suggests, for files whose bytes announce none.
PhotoKind KindOfName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return PhotoKind::kOther;
  if (HasJpegExtension(path)) return PhotoKind::kJpeg;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".tif" || ext == ".tiff" || ext == ".nef") return PhotoKind::kTiff;
  return PhotoKind::kOther;
}

std::unique_ptr<ExifData> NewExif(const ReadOptions& options) {
  auto exif = std::make_unique<ExifData>();
  exif->DecimalSeparator = options.decimalSeparator;
  exif->decodeValues = options.depth == ReadDepth::Everything;
  return exif;
}

// An entry that cannot be rendered ends the walk of IFD0, but not the read:
// the segments after the EXIF block (IPTC, comment) must still be found, or a
// rewrite of the photo would lose them.
void WalkIfd0(PhotoMetadata& photo, int64_t offset, int64_t origin, int64_t size) {
  ExifData& exif = *photo.exif;
  try {
    exif.ParseDirectory(offset, origin, DirectoryKind::Main, size);
  } catch (const std::exception& error) {
    exif.failure = ReadOutcome::Error(error.what());
  }
  if (exif.failure.Failed()) photo.outcome = exif.failure;
  exif.AddFocalLength35();
}

// The APP1 block as kept:
//   0: 2 bytes length   2: "Exif\0\0"   8: "II"/"MM"   10: 42
//   12: 4 bytes offset of IFD0 from offset 8 (the TIFF header)
void ParseExifSegment(PhotoMetadata& photo, std::string block) {
  photo.exif = NewExif(photo.options);
  const KeptSegment* segment = photo.Segment(photo.exifSegment);
  if (!segment) return;
  if (block.size() < 6 || block.compare(2, 4, "Exif") != 0) {
    photo.outcome = ReadOutcome::Of(ReadStatus::IncorrectExifHeader);
    return;
  }
  const ByteView header(block, ByteOrder::LittleEndian);
  const uint8_t a = header.U8(8), b = header.U8(9);
  ByteOrder order;
  if (a == 'I' && b == 'I') order = ByteOrder::LittleEndian;
  else if (a == 'M' && b == 'M') order = ByteOrder::BigEndian;
  else {
    photo.outcome = ReadOutcome::Of(ReadStatus::InvalidAlignment);
    return;
  }
  const int64_t ifd0 = header.WithOrder(order).U32(12);
  ExifData& exif = *photo.exif;
  exif.Block = std::move(block);
  exif.Order = order;
  exif.TiffOrigin = ExifData::kJpegTiffOrigin;
  const int64_t size = static_cast<int64_t>(segment->lengthField) - 6;
  WalkIfd0(photo, ifd0 == 0 ? 16 : ifd0 + ExifData::kJpegTiffOrigin, ExifData::kJpegTiffOrigin, size);
}

// The IPTC record of the kept APP13 segment; a writer's read leaves it in its
// bytes (IptcForEditing reads it when asked).
void ReadIptc(PhotoMetadata& photo) {
  if (photo.options.depth != ReadDepth::Everything) return;
  photo.iptc = std::make_unique<IptcRecord>(photo.options.codePage);
  photo.iptc->ParseApp13(photo.Segment(photo.iptcSegment)->content);
}

// Reads on past the kept segments up to the image data for an APP13
// "Photoshop 3.0" segment. Without it a photo with many segments would get a
// new, empty IPTC record on its next save and lose its own.
bool FindLateIptc(JpegSegmentReader& reader, KeptSegment& kept) {
  JpegSegment segment;
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete()) {
    if (segment.IsPhotoshop()) {
      kept = {std::move(segment.content), segment.marker, segment.lengthField};
      return true;
    }
  }
  return false;
}

// Files are read as the whole JPEG scan or TIFF walk; a fault part way
// (a file that cannot be read further) ends the read with what was found.
bool ScanJpeg(PhotoMetadata& photo, ByteSource& input) {
  char soi[2];
  if (input.Read(soi, 2) != 2 || soi[0] != '\xFF' || soi[1] != '\xD8') return false;
  JpegSegmentReader reader(input, JpegSegmentReader::Prefix::Lenient, 2);
  JpegSegment segment;
  auto& kept = photo.segments;
  // XMP segments do not count towards the limit: an extended packet comes in
  // as many chunks as it needs.
  const auto scanned = [&photo] {
    return static_cast<int>(photo.segments.size() - photo.xmpExtensionSegments.size()) - (photo.XmpPresent() ? 1 : 0);
  };
  while (scanned() < PhotoMetadata::kScanSegments && reader.Next(segment)) {
    const bool complete = segment.Complete();
    kept.push_back({std::move(segment.content), segment.marker, segment.lengthField});
    if (!complete) continue;

    const int index = static_cast<int>(kept.size()) - 1;
    if (index == kGiveUpSegments && !photo.MetadataPresent() && !photo.XmpPresent()) break;
    switch (static_cast<JpegMarker>(segment.marker)) {
      case JpegMarker::Eoi:
      case JpegMarker::Sos:
        return photo.MetadataPresent();
      case JpegMarker::App0:
        photo.jfifSegment = index;
        break;
      case JpegMarker::App1:
        if (IsXmpSegment(segment.marker, kept.back().content)) {
          if (photo.XmpPresent()) kept.pop_back();  // a second standard packet is not kept
          else photo.xmpSegment = index;
        } else if (IsXmpExtensionSegment(segment.marker, kept.back().content)) {
          if (static_cast<int>(photo.xmpExtensionSegments.size()) < PhotoMetadata::kMaxXmpExtensionSegments) {
            photo.xmpExtensionSegments.push_back(index);
          } else {
            kept.pop_back();
          }
        } else if (index > kGiveUpSegments || photo.ExifPresent()) {
          kept.pop_back();  // a second APP1 (or a late one) is not kept
        } else {
          photo.exifSegment = index;
          ParseExifSegment(photo, kept.back().content);
        }
        break;
      case JpegMarker::App13:
        if (!photo.IptcPresent()) {
          photo.iptcSegment = index;
          ReadIptc(photo);
        }
        break;
      case JpegMarker::Com:
        photo.commentSegment = index;
        break;
      default:
        break;
    }
  }
  KeptSegment late;
  if (!photo.IptcPresent() && scanned() == PhotoMetadata::kScanSegments && FindLateIptc(reader, late)) {
    kept.push_back(std::move(late));
    photo.iptcSegment = static_cast<int>(kept.size()) - 1;
    ReadIptc(photo);
  }
  return photo.MetadataPresent();
}

// A TIFF file:
//   "II" or "MM"  byte order     2 bytes  42     4 bytes  offset of IFD0
// then directories and their values anywhere in the file. The first
// tiffBlockSize bytes after the header are kept (the one segment); the parser
// reads whatever lies beyond them from the file, directory by directory, so a
// large NEF costs only the bytes its directories use.
bool ScanTiff(PhotoMetadata& photo, const std::shared_ptr<const RandomAccessBytes>& file) {
  const std::string header = file->ReadAt(0, kTiffHeaderSize);
  const bool motorola = header.compare(0, 2, "MM") == 0;
  if (!motorola && header.compare(0, 2, "II") != 0) return false;
  if (header.size() != kTiffHeaderSize) return false;
  // A short file gives a short block.
  photo.segments = {KeptSegment{file->ReadAt(kTiffHeaderSize, std::max(0, photo.options.tiffBlockSize)), 0, 0}};
  photo.exifSegment = 0;
  photo.exif = NewExif(photo.options);
  ExifData& exif = *photo.exif;
  exif.IsTiffFile = true;
  const ByteOrder byteOrder = motorola ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
  const int64_t origin = ExifData::kTiffFileOrigin;
  exif.TiffOrigin = origin;
  exif.Block = photo.segments[0].content;
  exif.Order = byteOrder;
  exif.Source = file;
  exif.SourceOrigin = kTiffHeaderSize;
  // Offset 0 of the block is file offset 8, where IFD0 usually starts. A
  // header naming another offset inside the file is followed; one pointing
  // outside it falls back to offset 8.
  const int64_t ifd0 = ByteView(header, byteOrder).U32(4);
  const int64_t blockSize = exif.View().Size();
  const int64_t start = ifd0 > kTiffHeaderSize && ifd0 + origin + 3 <= blockSize ? ifd0 + origin : 0;
  WalkIfd0(photo, start, origin, blockSize);
  return true;
}

// A TIFF (a scan, a NEF) keeps its XMP packet whole in IFD0's tag 700.
void ReadTiffXmp(PhotoMetadata& photo) {
  constexpr uint16_t kXmpPacketTag = 0x02BC;
  if (photo.options.depth != ReadDepth::Everything || !photo.exif) return;
  for (const TagEntry& entry : photo.exif->TagList) {
    if (entry.Group != static_cast<int32_t>(TagGroup::Standard) || entry.Tag != kXmpPacketTag || entry.Raw.empty()) continue;
    photo.xmp = std::make_unique<XmpBlock>();
    photo.xmp->standard = ParseXmp(entry.Raw);
    return;
  }
}

}  // namespace

PhotoMetadata ReadJpegMetadata(ByteSource& input, const ReadOptions& options) {
  PhotoMetadata photo;
  photo.options = options;
  try {
    ScanJpeg(photo, input);
  } catch (const std::exception&) {
    // What was found before the fault stays.
  }
  if (options.depth == ReadDepth::Everything && photo.XmpPresent()) photo.xmp = std::make_unique<XmpBlock>(ReadPhotoXmp(photo));
  return photo;
}

PhotoMetadata ReadTiffMetadata(const std::shared_ptr<const RandomAccessBytes>& file, const ReadOptions& options) {
  PhotoMetadata photo;
  photo.options = options;
  try {
    if (!ScanTiff(photo, file)) photo.exifSegment = PhotoMetadata::kNoSegment;
  } catch (const std::exception&) {
    photo.exifSegment = PhotoMetadata::kNoSegment;
  }
  ReadTiffXmp(photo);
  // Every value is copied into its entry by now; the file is let go.
  if (photo.exif) photo.exif->Source.reset();
  return photo;
}

PhotoMetadata ReadPhotoMetadata(const std::string& path, const ReadOptions& options) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    PhotoMetadata none;
    none.options = options;
    return none;
  }
  // Only regular files are read: a FIFO or device named *.jpg could block or never end.
  PhotoKind kind = S_ISREG(info.st_mode) ? KindOfBytes(path) : PhotoKind::kOther;
  if (kind == PhotoKind::kHeif) return ReadHeifMetadata(path, options);
  if (kind == PhotoKind::kOther && S_ISREG(info.st_mode)) kind = KindOfName(path);
  PhotoMetadata photo;
  photo.options = options;
  bool opened = false;
  if (kind == PhotoKind::kJpeg) {
    FileSource input(path);
    opened = input.IsOpen();
    if (opened) photo = ReadJpegMetadata(input, options);
  } else if (kind == PhotoKind::kTiff) {
    const std::shared_ptr<FileBytes> file = FileBytes::Open(path);
    opened = file != nullptr;
    if (opened) photo = ReadTiffMetadata(file, options);
  }
  photo.filePath = path;
  const bool found = photo.MetadataPresent();
  if (!S_ISREG(info.st_mode) || (kind != PhotoKind::kOther && !opened)) photo.outcome = ReadOutcome::Of(ReadStatus::IllegalConstruction);
  else if (found) photo.outcome = ReadOutcome::Of(ReadStatus::Read);
  else if (!photo.outcome.Failed()) photo.outcome = ReadOutcome::Of(ReadStatus::NotExif);
  return photo;
}

void ReparseExif(PhotoMetadata& photo) {
  if (const KeptSegment* segment = photo.Segment(photo.exifSegment)) ParseExifSegment(photo, segment->content);
}

}  // namespace lumatrim
