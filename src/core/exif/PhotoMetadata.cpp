#include "core/exif/PhotoMetadata.h"

#include <sys/stat.h>


#include <algorithm>
#include <cctype>
#include <exception>

#include "core/bytes/Error.h"
#include "core/bytes/FileSource.h"
#include "core/bytes/RandomAccessBytes.h"
#include "core/jpeg/JpegSegment.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"

namespace lumatrim {
namespace {

constexpr int kGiveUpSlot = 5;  // without metadata among the first four segments
constexpr int kTiffHeaderSize = 8;

// Reads on past the kept segments up to the image data for an APP13
// "Photoshop 3.0" segment, into slot. Without it a photo with many segments
// would get a new, empty IPTC record on its next save and lose its own.
bool FindLateIptc(ByteSource& input, KeptSegment& slot) {
  JpegSegmentReader reader(input, JpegSegmentReader::Prefix::Lenient);
  JpegSegment segment;
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete()) {
    if (segment.IsPhotoshop()) {
      slot.Marker = segment.marker;
      slot.SegLength = segment.lengthField;
      slot.Content = std::move(segment.content);
      return true;
    }
  }
  return false;
}

enum class PhotoKind { kJpeg, kTiff, kOther };

// The kind a file's first bytes announce: FF D8 for a JPEG, "II*\0" or
// "MM\0*" for a TIFF (NEF files are TIFFs).
PhotoKind KindOfBytes(const std::string& path) {
  FileSource input(path);
  char magic[4];
  const size_t n = input.IsOpen() ? input.Read(magic, sizeof magic) : 0;
  const std::string_view start(magic, n);
  if (start.substr(0, 2) == "\xFF\xD8") return PhotoKind::kJpeg;
  if (start == std::string_view("II*\0", 4) || start == std::string_view("MM\0*", 4)) return PhotoKind::kTiff;
  return PhotoKind::kOther;
}

// The kind a file's name suggests, for files whose bytes announce none.
PhotoKind KindOfName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return PhotoKind::kOther;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") return PhotoKind::kJpeg;
  if (ext == ".tif" || ext == ".tiff" || ext == ".nef") return PhotoKind::kTiff;
  return PhotoKind::kOther;
}

// Clears ReadingTiff however the TIFF read leaves.
struct TiffReadingFlag {
  bool& flag;
  explicit TiffReadingFlag(bool& f) : flag(f) { flag = true; }
  ~TiffReadingFlag() { flag = false; }
};

}  // namespace

PhotoMetadata::PhotoMetadata() : Sections(kSlotCount + 1), DecimalSeparator(DefaultDecimalSeparator()) {
  ResetContainer();
}

PhotoMetadata::~PhotoMetadata() = default;

KeptSegment* PhotoMetadata::Slot(int ref) {
  return (ref >= 1 && ref <= kSlotCount) ? &Sections[static_cast<size_t>(ref)] : nullptr;
}

const KeptSegment* PhotoMetadata::Slot(int ref) const {
  return (ref >= 1 && ref <= kSlotCount) ? &Sections[static_cast<size_t>(ref)] : nullptr;
}

void PhotoMetadata::ResetContainer() {
  SectionCount = 0;
  ExifSection = IptcSection = CommentSection = JfifSection = 0;
  FilePath.clear();
  ErrorText.clear();
  ExifInfo.reset();
  IptcInfo.reset();
}

void PhotoMetadata::NewExifInfo() {
  ExifInfo = std::make_unique<ExifData>();
  ExifInfo->DecimalSeparator = DecimalSeparator;
}

bool PhotoMetadata::ReadPhoto(const std::string& path) {
  ResetContainer();
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  FilePath = path;
  try {
    ErrorText = "Not an EXIF file";
    // Only regular files are read: a FIFO or device named *.jpg could block or never end.
    if (!S_ISREG(info.st_mode)) {
      ErrorText = "Illegal Exif construction";
      return false;
    }
    // The bytes decide; a file they do not name (damaged, or too short) is
    // tried as its name suggests.
    PhotoKind kind = KindOfBytes(path);
    if (kind == PhotoKind::kOther) kind = KindOfName(path);
    bool found = false;
    if (kind == PhotoKind::kJpeg) found = ScanJpegFile(path);
    else if (kind == PhotoKind::kTiff) found = ScanTiffFile(path);
    else return false;
    if (found) ErrorText = "<none>";
    return found;
  } catch (const std::exception&) {
    ErrorText = "Illegal Exif construction";
    return false;
  }
}

bool PhotoMetadata::ScanJpegFile(const std::string& path) {
  ReadingTiff = false;
  FileSource input(path);
  if (!input.IsOpen()) throw LumatrimError(FailureKindOfErrno(errno, FailureKind::ReadFailed), "Cannot open file " + path);
  try {
    return ScanJpegSegments(input);
  } catch (const std::exception&) {
    return false;
  }
}

// A JPEG file up to its image data:
//   FF D8                     start of image
//   FF m  hi lo  payload...   segments; hi·256 + lo counts the length bytes too
//   FF DA ...                 start of scan: the coded image, never read here
// A segment cut short by the end of the file, or whose length field is below
// 2, still takes a slot; the scan ends with the file.
bool PhotoMetadata::ScanJpegSegments(ByteSource& input) {
  char soi[2];
  if (input.Read(soi, 2) != 2 || soi[0] != '\xFF' || soi[1] != '\xD8') return false;
  JpegSegmentReader reader(input, JpegSegmentReader::Prefix::Lenient, 2);
  SectionCount = 0;
  JpegSegment segment;
  while (SectionCount < kScanSlots && reader.Next(segment)) {
    const bool complete = segment.Complete();
    KeptSegment& s = Sections[static_cast<size_t>(++SectionCount)];
    s.Marker = segment.marker;
    s.SegLength = segment.lengthField;
    s.Content = std::move(segment.content);
    if (!complete) continue;

    if (SectionCount == kGiveUpSlot && !MetadataPresent()) break;
    switch (static_cast<JpegMarker>(segment.marker)) {
      case JpegMarker::Eoi:
      case JpegMarker::Sos:
        return MetadataPresent();
      case JpegMarker::App0:
        JfifSection = SectionCount;
        break;
      case JpegMarker::App1:
        if (SectionCount > kGiveUpSlot || ExifSection != 0) {
          --SectionCount;  // a second APP1 (or a late one) does not keep a slot
        } else {
          ExifSection = SectionCount;
          NewExifInfo();
          ParseExifSegment(s.Content);
        }
        break;
      case JpegMarker::App13:
        if (IptcSection == 0) {
          IptcSection = SectionCount;
          IptcInfo.reset(new IptcRecord(this));
        }
        break;
      case JpegMarker::Com:
        CommentSection = SectionCount;
        break;
      default:
        break;
    }
  }
  if (IptcSection == 0 && SectionCount == kScanSlots && FindLateIptc(input, Sections[kSlotCount])) {
    SectionCount = IptcSection = kSlotCount;
    IptcInfo.reset(new IptcRecord(this));
  }
  return MetadataPresent();
}

// The APP1 block as kept:
//   0: 2 bytes length   2: "Exif\0\0"   8: "II"/"MM"   10: 42
//   12: 4 bytes offset of IFD0 from offset 8 (the TIFF header)
void PhotoMetadata::ParseExifSegment(std::string block) {
  if (!ExifInfo) NewExifInfo();
  const KeptSegment* exif = Slot(ExifSection);
  if (!exif) return;
  if (block.size() < 6 || block.compare(2, 4, "Exif") != 0) {
    ErrorText = "Incorrect Exif header";
    return;
  }
  const ByteView header(block, ByteOrder::LittleEndian);
  const uint8_t a = header.U8(8), b = header.U8(9);
  ByteOrder order;
  if (a == 'I' && b == 'I') order = ByteOrder::LittleEndian;
  else if (a == 'M' && b == 'M') order = ByteOrder::BigEndian;
  else {
    ErrorText = "Invalid Exif alignment marker";
    return;
  }
  const int64_t ifd0 = header.WithOrder(order).U32(12);
  // The parser takes the bytes over; they stay readable in the segment's slot.
  ExifInfo->Block = std::move(block);
  ExifInfo->Order = order;
  ExifInfo->TiffOrigin = ExifData::kJpegTiffOrigin;
  const int64_t size = static_cast<int64_t>(exif->SegLength) - 6;
  WalkIfd0(ifd0 == 0 ? 16 : ifd0 + ExifData::kJpegTiffOrigin, ExifData::kJpegTiffOrigin, size);
}

// An entry that cannot be rendered ends the walk of IFD0, but not the read:
// the segments after the EXIF block (IPTC, comment) must still be found, or a
// rewrite of the photo would lose them.
void PhotoMetadata::WalkIfd0(int64_t offset, int64_t origin, int64_t size) {
  try {
    ExifInfo->ParseDirectory(offset, origin, kDirMain, size);
  } catch (const std::exception& error) {
    ExifInfo->ErrorText = std::string("Error Detected = ") + error.what();
  }
  if (!ExifInfo->ErrorText.empty()) ErrorText = ExifInfo->ErrorText;
  ExifInfo->AddFocalLength35();
}

bool PhotoMetadata::ScanTiffFile(const std::string& path) {
  const std::shared_ptr<FileBytes> file = FileBytes::Open(path);
  if (!file) throw LumatrimError(FailureKindOfErrno(errno, FailureKind::ReadFailed), "Cannot open file " + path);
  return ScanTiffBytes(file);
}

// A TIFF file:
//   "II" or "MM"  byte order     2 bytes  42     4 bytes  offset of IFD0
// then directories and their values anywhere in the file. The first
// TiffBlockSize bytes after the header are kept (slot 1); the parser reads
// whatever lies beyond them from the file, directory by directory, so a large
// NEF costs only the bytes its directories use.
bool PhotoMetadata::ScanTiffBytes(const std::shared_ptr<const RandomAccessBytes>& file) {
  TiffReadingFlag reading(ReadingTiff);
  try {
    const std::string header = file->ReadAt(0, kTiffHeaderSize);
    const bool motorola = header.compare(0, 2, "MM") == 0;
    if (!motorola && header.compare(0, 2, "II") != 0) return false;
    if (header.size() != kTiffHeaderSize) return false;
    KeptSegment& s = Sections[1];
    s.Content = file->ReadAt(kTiffHeaderSize, std::max(0, TiffBlockSize));  // a short file gives a short block
    s.Marker = 0;
    s.SegLength = 0;
    SectionCount = 1;
    ExifSection = 1;
    NewExifInfo();
    ExifData& info = *ExifInfo;
    info.IsTiffFile = ReadingTiff;
    const ByteOrder byteOrder = motorola ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    const int64_t origin = ExifData::kTiffFileOrigin;
    info.TiffOrigin = origin;
    info.Block = s.Content;
    info.Order = byteOrder;
    info.Source = file;
    info.SourceOrigin = kTiffHeaderSize;
    // Offset 0 of the block is file offset 8, where IFD0 usually starts. A
    // header naming another offset inside the file is followed; one pointing
    // outside it falls back to offset 8.
    const int64_t ifd0 = ByteView(header, byteOrder).U32(4);
    const int64_t blockSize = info.View().Size();
    const int64_t start = ifd0 > kTiffHeaderSize && ifd0 + origin + 3 <= blockSize ? ifd0 + origin : 0;
    WalkIfd0(start, origin, blockSize);
    // Every value is copied into its entry by now; the file is let go.
    info.Source.reset();
    return true;
  } catch (const std::exception&) {
    if (ExifInfo) ExifInfo->Source.reset();
    return false;
  }
}

void PhotoMetadata::ParseThumbnailDirectory() {
  if (!ExifInfo) return;
  ExifInfo->ErrorText.clear();
  ExifInfo->ParseThumbnailDirectory();
  if (!ExifInfo->ErrorText.empty()) ErrorText = ExifInfo->ErrorText;
}

void PhotoMetadata::UpdateImageSize(int newHeight, int newWidth) {
  if (!ExifInfo) return;
  ExifInfo->WriteImageSize(ExifInfo->Block, newHeight, newWidth);
  if (KeptSegment* exif = Slot(ExifSection)) ExifInfo->WriteImageSize(exif->Content, newHeight, newWidth);
}

bool PhotoMetadata::ThumbnailPresent() const {
  return ExifSection != 0 && ExifInfo && ExifInfo->Ifd1Offset > 21 && ExifInfo->Ifd1Length > 256;
}

std::string PhotoMetadata::CutThumbnail() const {
  if (!ThumbnailPresent()) return {};
  const std::string& exif = ExifInfo->Block;
  const size_t from = static_cast<size_t>(ExifInfo->Ifd1Offset) - 1;
  if (from >= exif.size()) return {};
  const std::string_view area(exif.data() + from, exif.size() - from);
  size_t start = area.find("\xFF\xD8\xFF\xDB");
  if (start == std::string_view::npos) start = area.find("\xFF\xD8\xFF\xC4");
  if (start == std::string_view::npos) return {};
  // Without its end marker the thumbnail is cut off; none is better than a
  // broken one.
  const size_t end = area.find("\xFF\xD9", start + 2);
  if (end == std::string_view::npos) return {};
  return std::string(area.substr(start, end + 2 - start));
}

}  // namespace lumatrim
