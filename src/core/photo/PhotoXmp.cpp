#include "core/photo/PhotoXmp.h"

#include <memory>

#include "core/bytes/Error.h"
#include "core/xmp/Md5.h"

namespace lumatrim {
namespace {

constexpr XmpName kHasExtendedXmp{kXmpNoteNamespace, "xmpNote", "HasExtendedXMP"};
constexpr XmpName kThumbnails{kXmpBasicNamespace, "xmp", "Thumbnails"};
constexpr XmpName kOrientation{kTiffNamespace, "tiff", "Orientation"};
constexpr XmpName kImageWidth{kTiffNamespace, "tiff", "ImageWidth"};
constexpr XmpName kImageLength{kTiffNamespace, "tiff", "ImageLength"};
constexpr XmpName kPixelXDimension{kExifNamespace, "exif", "PixelXDimension"};
constexpr XmpName kPixelYDimension{kExifNamespace, "exif", "PixelYDimension"};

// The standard packet of a block too large for one segment, when all of it
// moves into the extended packet.
constexpr char kPointerPacketStart[] =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
    "<rdf:Description rdf:about=\"\" xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\" xmpNote:HasExtendedXMP=\"";
constexpr char kPointerPacketEnd[] = "\"/></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";

bool IsGpsName(std::string_view local) { return local.substr(0, 3) == "GPS"; }

KeptSegment Segment(const std::string& payload) {
  const size_t n = payload.size() + 2;
  return {std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload, kXmpMarker, static_cast<int>(n)};
}

// The packet without the whitespace before its <?xpacket end?>.
std::string WithoutPadding(const std::string& packet) {
  const size_t tail = packet.rfind("<?xpacket");
  if (tail == std::string::npos) return packet;
  size_t end = tail;
  while (end > 0 && std::string_view(" \t\r\n").find(packet[end - 1]) != std::string_view::npos) --end;
  return packet.substr(0, end) + "\n" + packet.substr(tail);
}

void PlaceStandard(PhotoMetadata& photo, const std::string& packet) {
  KeptSegment segment = Segment(StandardXmpPayload(packet));
  if (KeptSegment* old = photo.Segment(photo.xmpSegment)) {
    *old = std::move(segment);
  } else {
    photo.segments.push_back(std::move(segment));
    photo.xmpSegment = static_cast<int>(photo.segments.size()) - 1;
  }
}

// The chunks take the places of the old ones, further ones go to the end.
void PlaceExtended(PhotoMetadata& photo, const std::string& extended) {
  const std::vector<std::string> payloads = extended.empty() ? std::vector<std::string>() : ExtendedXmpPayloads(Md5Hex(extended), extended);
  std::vector<int> places;
  for (size_t i = 0; i < payloads.size(); ++i) {
    if (i < photo.xmpExtensionSegments.size()) {
      const int index = photo.xmpExtensionSegments[i];
      *photo.Segment(index) = Segment(payloads[i]);
      places.push_back(index);
    } else {
      photo.segments.push_back(Segment(payloads[i]));
      places.push_back(static_cast<int>(photo.segments.size()) - 1);
    }
  }
  photo.xmpExtensionSegments = std::move(places);
}

bool MentionsGps(std::string_view bytes) { return bytes.find("GPS") != std::string_view::npos; }

// Extended chunks that do not join, or join into a damaged packet, cannot be
// edited: only kept as they are, or dropped.
bool ExtensionUnusable(const XmpBlock& block) { return !block.problem.empty() || block.extended.damaged; }

bool ExtensionMentionsGps(const PhotoMetadata& photo) {
  for (int index : photo.xmpExtensionSegments) {
    if (const KeptSegment* segment = photo.Segment(index); segment && MentionsGps(segment->content)) return true;
  }
  return false;
}

}  // namespace

XmpBlock ReadPhotoXmp(const PhotoMetadata& photo) {
  const KeptSegment* standard = photo.Segment(photo.xmpSegment);
  if (!standard) return {};
  std::vector<std::string_view> extensions;
  for (int index : photo.xmpExtensionSegments) {
    if (const KeptSegment* segment = photo.Segment(index)) extensions.push_back(segment->content);
  }
  return ReadXmpBlock(standard->content, extensions);
}

void SetXmp(PhotoMetadata& photo, const std::string& standard, const std::string& extended) {
  std::string packet = standard.size() > kMaxStandardXmp ? WithoutPadding(standard) : standard;
  std::string rest = extended;
  if (packet.size() > kMaxStandardXmp) {
    if (!rest.empty()) {
      throw LumatrimError(FailureKind::TooLarge, "XMP packet of " + std::to_string(packet.size()) +
                                                     " bytes does not fit one segment (at most " +
                                                     std::to_string(kMaxStandardXmp) + " bytes).");
    }
    rest = std::move(packet);
    packet = std::string(kPointerPacketStart) + Md5Hex(rest) + kPointerPacketEnd;
  }
  PlaceStandard(photo, packet);
  PlaceExtended(photo, rest);
  if (photo.xmp) *photo.xmp = ReadPhotoXmp(photo);
}

bool EditXmp(PhotoMetadata& photo, const std::function<void(XmpEditor&)>& edit) {
  return EditXmp(photo, [&edit](XmpEditor& packet, XmpPacketRole) { edit(packet); });
}

bool EditXmp(PhotoMetadata& photo, const std::function<void(XmpEditor&, XmpPacketRole)>& edit) {
  if (!photo.XmpPresent()) return false;
  const XmpBlock block = ReadPhotoXmp(photo);
  XmpEditor standard(block.standard.bytes);
  std::unique_ptr<XmpEditor> extended;
  if (!block.extended.Empty()) extended = std::make_unique<XmpEditor>(block.extended.bytes);
  edit(standard, XmpPacketRole::Standard);
  if (extended) edit(*extended, XmpPacketRole::Extended);
  const bool extendedChanged = extended && extended->Changed();
  if (!standard.Changed() && !extendedChanged) return false;
  if (extendedChanged) {
    const std::string packet = extended->Serialise();
    standard.SetExisting(kHasExtendedXmp, Md5Hex(packet));
    PlaceExtended(photo, packet);
  }
  std::string packet = standard.Serialise();
  if (packet.size() > kMaxStandardXmp) packet = WithoutPadding(packet);
  if (packet.size() > kMaxStandardXmp) {
    throw LumatrimError(FailureKind::TooLarge, "edited XMP packet of " + std::to_string(packet.size()) +
                                                   " bytes does not fit one segment.");
  }
  PlaceStandard(photo, packet);
  if (photo.xmp) *photo.xmp = ReadPhotoXmp(photo);
  return true;
}

void SetXmpPictureSize(PhotoMetadata& photo, int width, int height) {
  EditXmp(photo, [&](XmpEditor& packet) {
    packet.SetExisting(kImageWidth, std::to_string(width));
    packet.SetExisting(kImageLength, std::to_string(height));
    packet.SetExisting(kPixelXDimension, std::to_string(width));
    packet.SetExisting(kPixelYDimension, std::to_string(height));
  });
}

void MakeXmpUpright(PhotoMetadata& photo) {
  EditXmp(photo, [](XmpEditor& packet) {
    packet.SetExisting(kOrientation, "1");
    packet.RemoveTop(kThumbnails);
  });
}

bool HasXmpGps(const PhotoMetadata& photo) {
  if (!photo.XmpPresent()) return false;
  const XmpBlock block = ReadPhotoXmp(photo);
  if (block.standard.damaged) return MentionsGps(block.standard.bytes);
  // The removal itself, on a copy, tells best what it would find.
  const auto holdsGps = [](const XmpPacket& packet) {
    XmpEditor copy(packet.bytes);
    return copy.RemoveEverywhere(kExifNamespace, IsGpsName);
  };
  if (holdsGps(block.standard) || (!block.extended.Empty() && holdsGps(block.extended))) return true;
  return ExtensionUnusable(block) && ExtensionMentionsGps(photo);
}

bool DropXmpGps(PhotoMetadata& photo) {
  if (!photo.XmpPresent()) return false;
  const XmpBlock block = ReadPhotoXmp(photo);
  if (block.standard.damaged) {
    if (!MentionsGps(block.standard.bytes)) return false;
    photo.xmpSegment = PhotoMetadata::kNoSegment;
    photo.xmpExtensionSegments.clear();
    photo.xmp.reset();
    return true;
  }
  const bool droppedChunks = ExtensionUnusable(block) && ExtensionMentionsGps(photo);
  if (droppedChunks) photo.xmpExtensionSegments.clear();
  const bool edited = EditXmp(photo, [](XmpEditor& packet) { packet.RemoveEverywhere(kExifNamespace, IsGpsName); });
  if (droppedChunks && !edited && photo.xmp) *photo.xmp = ReadPhotoXmp(photo);
  return droppedChunks || edited;
}

}  // namespace lumatrim
