// Writes the seed inputs of every fuzz target: small photos built with the
// test builders, and pieces cut from the shared photo corpus when present.
//   lumatrim_fuzz_seeds OUT_DIR [CORPUS_DIR]
// Seeds land in OUT_DIR/<target>/; existing files are replaced.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../MakerNoteSeed.h"
#include "core/jpeg/JpegImage.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/xmp/Md5.h"
#include "core/xmp/XmpSegments.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace fs = std::filesystem;
using namespace lumatrim;
using namespace lumatrim::test;

namespace {

// Metadata lives at the start of a photo; the coded picture after it only
// slows the reader targets down.
constexpr size_t kReaderSeedBytes = 64 * 1024;

std::string outDir;
int seedCount = 0;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  const fs::path dir = fs::path(outDir) / target;
  fs::create_directories(dir);
  WriteFile((dir / name).string(), bytes);
  ++seedCount;
}

std::string Coded(int width, int height, int quality, bool progressive) {
  JpegImage image;
  Bitmap bitmap(width, height);
  for (size_t i = 0; i < bitmap.Bytes.size(); ++i) bitmap.Bytes[i] = static_cast<uint8_t>((i * 13) ^ (i >> 5));
  image.Assign(std::move(bitmap));
  image.Compress(quality, progressive);
  return image.Data();
}

std::string Iptc() {
  return PhotoshopIptcPayload(IptcDataset(2, 0, std::string("\x00\x04", 2)) + IptcDataset(2, 5, "Titulek") +
                              IptcDataset(2, 25, "les") + IptcDataset(2, 25, "\"dva stromy\"") +
                              IptcDataset(2, 20, "Příroda") + IptcDataset(2, 120, "Popis fotky") +
                              IptcDataset(2, 116, "(c) 2026"));
}

Ifd RichIfd0(Order order, const std::string& thumbnail) {
  Ifd gps;
  gps.Bytes(0x0000, {2, 2, 0, 0}).Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {1234, 100}})
      .Ascii(0x0003, "E").Rational(0x0004, {{14, 1}, {25, 1}, {0, 1}});
  Ifd interop;
  interop.Ascii(0x0001, "R98").Undefined(0x0002, "0100");
  Ifd exif;
  exif.Undefined(0x9000, "0220").Rational(0x829A, {{1, 125}}).Rational(0x829D, {{28, 10}})
      .Ascii(0x9003, "2026:12:08 08:00:00").SRational(0x9204, {{-1, 3}}).Rational(0x920A, {{50, 1}})
      .Short(0x8827, {200}).Long(0xA002, {24}).Long(0xA003, {16}).Short(0xA217, {2})
      .Undefined(0x9286, std::string("ASCII\0\0\0komentář", 17)).SubIfd(0xA005, interop);
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Long(0x011A, {72});
  if (!thumbnail.empty()) ifd1.Thumbnail(thumbnail);
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 20D").Short(0x0112, {6})
      .Rational(0x011A, {{72, 1}}).Ascii(0x0132, "2026:12:08 08:00:00").SubIfd(0x8769, exif)
      .SubIfd(0x8825, gps).Next(ifd1);
  (void)order;
  return ifd0;
}

// A plain maker directory of a few entries, at dirOffset behind a prefix.
std::string MakerNote(const std::string& prefix, size_t dirOffset, Order order) {
  std::string note = prefix;
  note.resize(dirOffset, '\0');
  note += U16(4, order);
  const auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    note += U16(tag, order) + U16(type, order) + U32(count, order) + U32(value, order);
  };
  entry(0x0001, 3, 2, 0x00010002);
  entry(0x0002, 2, 4, 0x00343331);
  entry(0x0004, 7, 12, static_cast<uint32_t>(dirOffset + 2 + 4 * 12 + 4));
  entry(0x0007, 4, 1, 1);
  note += U32(0, order) + std::string("ABCDEFGHIJKL");
  return note;
}

// A packet with GPS at the top and inside a structure, and one whose
// extended packet comes in two chunks (separated as fuzz_xmp expects).
void XmpSeeds() {
  const std::string body =
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
      "<rdf:Description rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" tiff:Orientation=\"6\" exif:GPSLatitude=\"50,5N\">"
      "<dc:subject><rdf:Bag><rdf:li>les</rdf:li></rdf:Bag></dc:subject>"
      "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Les</rdf:li></rdf:Alt></dc:title>"
      "<exif:Flash rdf:parseType=\"Resource\"><exif:Fired>True</exif:Fired><exif:GPSAltitude>1</exif:GPSAltitude></exif:Flash>";
  const std::string end = "</rdf:Description></rdf:RDF></x:xmpmeta>";
  const std::string packet = "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>" + body + end +
                             std::string(100, ' ') + "<?xpacket end=\"w\"?>";
  const std::string length(2, '\0');
  Seed("fuzz_xmp", "gallery", length + StandardXmpPayload(packet));
  const std::string extended = body + "<exif:GPSLongitude>14,25E</exif:GPSLongitude>" + std::string(70000, ' ') + end;
  const std::string guid = Md5Hex(extended);
  std::string input = length + StandardXmpPayload(
      body + "<xmpNote:HasExtendedXMP xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\">" + guid + "</xmpNote:HasExtendedXMP>" + end);
  for (const std::string& chunk : ExtendedXmpPayloads(guid, extended)) input += "XMP!" + length + chunk;
  Seed("fuzz_xmp", "extended", input);
}

void BuilderSeeds() {
  const std::string picture = Coded(24, 16, 85, false);
  const std::string thumb = Coded(16, 12, 75, false);
  for (Order order : {Order::Intel, Order::Motorola}) {
    const std::string o = order == Order::Intel ? "ii" : "mm";
    const std::string tiff = TiffBuilder(order).Bytes(RichIfd0(order, thumb));
    const std::string jpeg = JpegBuilder().Soi().App0Jfif().App1Exif(tiff).App13(Iptc()).Com("komentář").Bytes();
    Seed("fuzz_read_jpeg", "rich-" + o + ".jpg", jpeg + picture.substr(2));
    Seed("fuzz_read_tiff", "rich-" + o + ".tif", tiff);
    Seed("fuzz_rewrite_photo", "rich-" + o + ".jpg", jpeg + picture.substr(2));
    Seed("fuzz_exif_upright", "rich-" + o, std::string("Exif\0\0", 6) + tiff);
    Seed("fuzz_heif_metadata", "rich-" + o, std::string("\0\0\0\x06" "Exif\0\0", 10) + tiff);
    Seed("fuzz_exif_upright", "thumbnail-first-" + o,
         std::string("Exif\0\0", 6) + TiffBuilder(order).WithLayout(Layout::ThumbnailFirst).Bytes(RichIfd0(order, thumb)));

    Ifd loop;
    loop.Ascii(0x010F, "NIKON").WithOffset(0x8769, LONG, 1, 8);
    Seed("fuzz_read_jpeg", "loop-" + o + ".jpg", JpegBuilder().Soi().App1Exif(TiffBuilder(order).Bytes(loop)).Sos().Bytes());

    for (size_t make = 0; make < fuzz::kMakes.size(); ++make) {
      for (const auto& [prefix, offset] : std::vector<std::pair<std::string, size_t>>{
               {"", 0}, {"QVC", 6}, {"OLYMP", 8}, {"FUJIFILM\x0C", 12}, {std::string("Nikon\0\x02\x10\0\0", 10), 18}}) {
        fuzz::MakerNoteSetup setup;
        setup.Make = static_cast<uint8_t>(make);
        setup.Flags = order == Order::Motorola ? 1 : 0;
        setup.Position = 200;
        Seed("fuzz_makernote", "m" + std::to_string(make) + "-" + std::to_string(offset) + "-" + o,
             setup.Header() + MakerNote(prefix, offset, order));
      }
    }
  }
  Seed("fuzz_read_jpeg", "iptc-only.jpg", JpegBuilder().Soi().App13(Iptc()).Sos().Bytes());
  Seed("fuzz_read_jpeg", "truncated.jpg", JpegBuilder().Soi().SegmentWithLength(0xE1, 9000, "Exif\0\0II").Bytes());
  Seed("fuzz_iptc_app13", "builder", std::string("\x00\x00", 2) + Iptc());
  Seed("fuzz_iptc_app13", "latin1", std::string("\x00\x00", 2) + PhotoshopIptcPayload(IptcDataset(2, 80, "Jan Nov\xE1k") + IptcDataset(2, 25, "a,b")));
  XmpSeeds();
  Seed("fuzz_comma_lists", "plain", std::string("les, pole\0pole, \"dva stromy\"", 28));
  Seed("fuzz_comma_lists", "quotes", std::string("\"a,b\" c\0C \"\"\"x\"", 16));
  Seed("fuzz_comma_lists", "case", std::string("Les,LES,les\0les", 15));
  Seed("fuzz_jpeg_decode", "baseline", picture);
  Seed("fuzz_jpeg_decode", "progressive", Coded(33, 17, 60, true));
  Seed("fuzz_jpeg_decode", "thumb", thumb);
  Seed("fuzz_rewrite_photo", "plain.jpg", picture);
  Seed("fuzz_rewrite_photo", "com.jpg", JpegBuilder().Soi().Com("poznámka").Bytes() + picture.substr(2));
}

std::string ReadFilePrefix(const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

void CorpusSeeds(const std::string& corpus) {
  const fs::path photos = fs::path(corpus) / "photos";
  if (!fs::is_directory(photos)) return;
  for (const auto& file : fs::directory_iterator(photos)) {
    const std::string path = file.path().string();
    const std::string name = file.path().filename().string();
    const std::string head = ReadFilePrefix(path, kReaderSeedBytes);
    // The bytes tell the kind, as they do for the reader (a JPEG may be named .nef).
    const bool tiff = head.rfind(std::string("II*\0", 4), 0) == 0 || head.rfind(std::string("MM\0*", 4), 0) == 0;
    Seed(tiff ? "fuzz_read_tiff" : "fuzz_read_jpeg", name, head);

    PhotoMetadata data = ReadPhotoMetadata(path);
    if (ExifData* info = data.exif.get(); info && !info->MakerNoteRaw.empty()) {
      fuzz::MakerNoteSetup setup;
      for (size_t m = 0; m < fuzz::kMakes.size(); ++m) {
        std::string a = fuzz::kMakes[m], b = info->CameraMake;
        a.resize(5);
        b.resize(5);
        for (auto* s : {&a, &b})
          for (char& c : *s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (a == b) setup.Make = static_cast<uint8_t>(m);
      }
      setup.Flags = static_cast<uint8_t>((info->BigEndian() ? 1 : 0) | (info->IsTiffFile ? 2 : 0) |
                                         (info->ExifVersion > "0210" ? 4 : 0) | (info->ExifVersion.empty() ? 8 : 0) |
                                         (info->CameraModel.find(" D") != std::string::npos ? 16 : 0));
      const int64_t position = info->MakerNoteOffset + 1;
      setup.Position = static_cast<uint16_t>(position > 0 && position <= 8192 ? position : 1);
      Seed("fuzz_makernote", name, setup.Header() + info->MakerNoteRaw);
    }
    if (const KeptSegment* iptc = data.Segment(data.iptcSegment)) Seed("fuzz_iptc_app13", name, iptc->content);
    if (const KeptSegment* xmp = data.Segment(data.xmpSegment)) Seed("fuzz_xmp", name, xmp->content);
    if (const KeptSegment* exif = data.Segment(data.exifSegment); exif && exif->content.size() > 2) {
      Seed("fuzz_exif_upright", name, exif->content.substr(2));
    }
    const std::string thumb = data.CutThumbnail();
    if (!thumb.empty()) {
      Seed("fuzz_jpeg_decode", name, thumb);
      if (!tiff) {
        // The photo's own segments around its thumbnail: a small rewritable photo.
        std::string small;
        try {
          EmitMetadataSegments(data, small);
          Seed("fuzz_rewrite_photo", name, small + thumb.substr(2));
        } catch (const std::exception&) {
        }
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR [CORPUS_DIR]\n", argv[0]);
    return 2;
  }
  outDir = argv[1];
  BuilderSeeds();
  const std::string corpus = argc > 2 ? argv[2] : CorpusDir();
  if (!corpus.empty()) CorpusSeeds(corpus);
  std::printf("%d seeds written to %s\n", seedCount, outDir.c_str());
  return 0;
}
