// lumatrim-samples [--force] DIR: draws the sample photos the program starts
// on, each with the metadata of a different camera, written through the same
// JPEG image object and container writer the program uses.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "samples/SampleExif.h"
#include "samples/SamplePictures.h"
#include "core/bytes/Error.h"
#include "core/photo/PhotoWriter.h"
#include "core/jpeg/JpegImage.h"

namespace samples {
namespace {

struct IptcItem {
  const char* name;
  const char* value;
};

struct Sample {
  const char* file;
  Scene scene;
  bool exif = true;
  Camera camera;
  Shot shot;
  const char* comment = nullptr;
  std::vector<IptcItem> iptc;
  bool jfif = false;  // an APP0 of its own instead of EXIF
};

Scene Look(int w, int h, Rgb top, Rgb bottom, Rgb ground, Rgb sun, double sunX, double sunY, int houses, bool lake,
           uint32_t seed) {
  return {.width = w, .height = h, .skyTop = top, .skyBottom = bottom, .ground = ground, .sun = sun,
          .lake = {40, 90, 150}, .sunX = sunX, .sunY = sunY, .houses = houses, .lakeShown = lake, .seed = seed};
}

// The shot with its GPS position: degrees north and east, metres above sea level.
Shot Located(Shot shot, double latitude, double longitude, double altitude) {
  shot.gps = true;
  shot.latitude = latitude;
  shot.longitude = longitude;
  shot.altitude = altitude;
  return shot;
}

std::vector<Sample> Samples() {
  const Camera canon{"Canon", "Canon EOS 10D", "Firmware Version 2.0.0", MakerLayout::Canon, false};
  const Camera nikon{"NIKON CORPORATION", "NIKON D70", "Ver.2.00", MakerLayout::NikonNew, true};
  const Camera olympus{"OLYMPUS IMAGING CORP.", "C5060WZ", "v751-75", MakerLayout::Olympus, false};
  const Camera fuji{"FUJIFILM", "FinePix S5600", "Digital Camera FinePix S5600 Ver1.00", MakerLayout::Fujifilm, true};
  const Camera sony{"SONY", "DSC-W55", "DSC-W55 v1.00", MakerLayout::None, false};

  std::vector<Sample> list;
  Sample a{"01_canon_hrad.jpg", Look(1600, 1200, {60, 110, 200}, {190, 215, 240}, {70, 120, 50}, {255, 240, 180}, 0.75, 0.2, 5, false, 1)};
  a.camera = canon;
  a.shot = {"2026:05:14 10:21:33", 1, 250, 80, 100, 180};
  a.comment = "Sample photo made by Lumatrim";
  a.iptc = {{"ObjectName", "Pražský hrad"}, {"Keywords", "Praha,hrad,léto"}, {"City", "Praha"},
            {"Copyright", "© 2026 Jan Novák"}, {"ByLine", "Jan Novák"}};
  list.push_back(a);

  Sample b{"02_nikon_most.jpg", Look(1200, 800, {250, 150, 80}, {255, 220, 160}, {90, 80, 60}, {255, 200, 80}, 0.3, 0.45, 3, true, 2)};
  b.camera = nikon;
  b.shot = Located({"2026:06:02 20:48:05", 1, 60, 45, 400, 320}, 50.0865, 14.4114, 191.5);
  b.iptc = {{"ObjectName", "Praha – Karlův most"}, {"Keywords", "most,večer"}, {"City", "Praha"},
            {"LocationName", "Česká republika"}};
  list.push_back(b);

  Sample c{"03_olympus_zahrada.jpg", Look(1024, 768, {120, 170, 230}, {220, 235, 250}, {60, 140, 60}, {255, 255, 220}, 0.15, 0.15, 0, false, 3)};
  c.camera = olympus;
  c.shot = {"2026:04:21 14:02:11", 1, 320, 40, 64, 71, 0, 16};
  list.push_back(c);

  Sample d{"04_fujifilm_jezero.jpg", Look(768, 1024, {40, 80, 160}, {170, 200, 230}, {50, 100, 70}, {255, 250, 230}, 0.5, 0.12, 1, true, 4)};
  d.camera = fuji;
  d.shot = Located({"2026:08:09 07:15:42", 1, 125, 63, 200, 63}, 48.8637, 13.9890, 726);
  d.comment = "Lipno";
  list.push_back(d);

  Sample e{"05_canon_portret.jpg", Look(900, 1350, {200, 180, 170}, {240, 230, 220}, {120, 100, 90}, {255, 230, 200}, 0.5, 0.35, 0, false, 5)};
  e.camera = canon;
  e.shot = {"2026:03:30 16:40:00", 1, 100, 28, 200, 850, 0, 1};
  e.iptc = {{"ObjectName", "Portrait"}, {"Keywords", "portrait,studio"}};
  list.push_back(e);

  Sample f{"06_nikon_noc.jpg", Look(1600, 1067, {5, 10, 35}, {30, 40, 80}, {20, 25, 30}, {240, 240, 255}, 0.8, 0.2, 6, false, 6)};
  f.camera = nikon;
  f.shot = {"2026:12:01 22:10:09", 2, 1, 35, 1600, 240};
  f.iptc = {{"ObjectName", "Night street"}, {"Keywords", "night,city,lights"}, {"City", "Brno"},
            {"Copyright", "(c) 2026 Lumatrim"}};
  list.push_back(f);

  Sample g{"07_bez_metadat.jpg", Look(640, 480, {100, 150, 210}, {200, 220, 240}, {110, 130, 70}, {255, 245, 200}, 0.6, 0.3, 2, true, 7)};
  g.exif = false;
  list.push_back(g);

  Sample h{"08_sony_louka.jpg", Look(2048, 1365, {80, 140, 220}, {210, 230, 250}, {100, 160, 60}, {255, 250, 210}, 0.2, 0.18, 2, false, 8)};
  h.camera = sony;
  h.shot = Located({"2026:07:19 12:00:41", 1, 500, 80, 80, 63, 38}, 49.1951, 16.6068, 237);
  list.push_back(h);

  Sample i{"09_olympus_makro.jpg", Look(600, 800, {230, 200, 120}, {250, 240, 200}, {160, 110, 40}, {255, 255, 255}, 0.4, 0.3, 0, false, 9)};
  i.camera = olympus;
  i.shot = {"2026:09:12 11:11:11", 1, 200, 32, 100, 200};
  i.iptc = {{"ImageCaption", "Slunečnice v zahradě"}, {"Keywords", "květiny"}};
  list.push_back(i);

  Sample j{"10_jfif_komentar.jpg", Look(800, 600, {150, 160, 180}, {220, 220, 225}, {90, 90, 80}, {250, 250, 240}, 0.5, 0.2, 4, false, 10)};
  j.exif = false;
  j.jfif = true;
  j.comment = "Scanned print, no camera data";
  j.iptc = {{"ObjectName", "Old town square"}, {"SuppCategory", "archive,scan"}};
  list.push_back(j);
  return list;
}

// A camera-style thumbnail: SOI directly followed by the tables (no APP0).
std::string Thumbnail(const lumatrim::Bitmap& picture) {
  const bool portrait = picture.Height > picture.Width;
  lumatrim::Bitmap small(portrait ? 120 : 160, portrait ? 160 : 120);
  lumatrim::StretchDraw(picture, small);
  lumatrim::JpegImage image;
  image.Assign(std::move(small));
  image.Compress(75, false);
  const std::string& data = image.Data();
  size_t at = 2;
  if (data.size() > 6 && static_cast<uint8_t>(data[3]) == 0xE0) {
    at += 2 + (static_cast<uint8_t>(data[4]) << 8 | static_cast<uint8_t>(data[5]));
  }
  return "\xFF\xD8" + data.substr(at);
}

void PutSegment(lumatrim::PhotoMetadata& data, int marker, const std::string& payload, int& index) {
  const size_t n = payload.size() + 2;
  const std::string lengthField{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)};
  data.segments.push_back({lengthField + payload, marker, static_cast<int>(n)});
  index = static_cast<int>(data.segments.size()) - 1;
}

void MakeSample(const Sample& sample, const std::string& path) {
  const lumatrim::Bitmap picture = DrawScene(sample.scene);
  lumatrim::PhotoMetadata data;
  if (sample.exif) {
    PutSegment(data, 225, BuildExifPayload(sample.camera, sample.shot, picture.Width, picture.Height, Thumbnail(picture)),
               data.exifSegment);
  }
  if (sample.jfif) PutSegment(data, 224, std::string("JFIF\0\x01\x01\x01\x00\x96\x00\x96\x00\x00", 14), data.jfifSegment);
  if (sample.comment) PutSegment(data, 254, sample.comment, data.commentSegment);
  if (!sample.iptc.empty()) {
    lumatrim::IptcRecord& record = lumatrim::IptcForEditing(data);
    for (const IptcItem& item : sample.iptc) record.AddByName(item.name, item.value);
    lumatrim::SetIptcSegment(data, record.BuildApp13());
  }
  lumatrim::JpegImage image;
  image.Assign(picture);
  image.Compress(88, false);
  lumatrim::WriteJpegWithMetadata(data, image, path);
}

}  // namespace

int MakeSamples(int argc, char** argv) {
  bool force = false;
  std::string dir;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--force") == 0) force = true;
    else if (dir.empty()) dir = argv[i];
    else dir.clear(), i = argc;
  }
  if (dir.empty()) {
    std::fputs("usage: lumatrim-samples [--force] DIR\n", stderr);
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  int made = 0, kept = 0;
  for (const Sample& sample : Samples()) {
    const std::string path = dir + "/" + sample.file;
    if (!force) {
      // A sample already there and readable is not drawn again.
      try {
        lumatrim::JpegImage existing;
        existing.LoadFromFile(path);
        if (existing.Width() == sample.scene.width && existing.Height() == sample.scene.height) {
          ++kept;
          continue;
        }
      } catch (const lumatrim::LumatrimError&) {
      }
    }
    try {
      MakeSample(sample, path);
      ++made;
    } catch (const lumatrim::LumatrimError& error) {
      std::fprintf(stderr, "lumatrim-samples: %s\n", error.what());
      return 1;
    }
  }
  std::printf("%d sample photos made, %d already there, in %s\n", made, kept, dir.c_str());
  return 0;
}

}  // namespace samples

int main(int argc, char** argv) { return samples::MakeSamples(argc - 1, argv + 1); }
