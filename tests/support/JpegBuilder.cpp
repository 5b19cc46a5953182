#include "support/JpegBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lumatrim::test {

namespace {
std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
}  // namespace

JpegBuilder& JpegBuilder::Soi() { return Append("\xFF\xD8"); }

JpegBuilder& JpegBuilder::Segment(uint8_t marker, const std::string& payload) {
  return SegmentWithLength(marker, static_cast<uint16_t>(payload.size() + 2), payload);
}

JpegBuilder& JpegBuilder::SegmentWithLength(uint8_t marker, uint16_t lengthField, const std::string& payload) {
  bytes_ += '\xFF';
  bytes_ += static_cast<char>(marker);
  bytes_ += Be16(lengthField);
  bytes_ += payload;
  return *this;
}

JpegBuilder& JpegBuilder::App0Jfif() {
  return Segment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
}

JpegBuilder& JpegBuilder::App1Exif(const std::string& tiff) {
  return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

JpegBuilder& JpegBuilder::App13(const std::string& payload) { return Segment(0xED, payload); }

JpegBuilder& JpegBuilder::Com(const std::string& text) { return Segment(0xFE, text); }

JpegBuilder& JpegBuilder::Dqt() {
  std::string table(1, '\0');
  for (int i = 0; i < 64; ++i) table += static_cast<char>(1 + i % 16);
  return Segment(0xDB, table);
}

JpegBuilder& JpegBuilder::Sos() {
  Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  return Append(std::string("\x12\x34\x56\x78\xFF\x00\x9A", 7) + "\xFF\xD9");
}

JpegBuilder& JpegBuilder::Append(const std::string& raw) {
  bytes_ += raw;
  return *this;
}

std::string PhotoshopIptcPayload(const std::string& iptc) {
  std::string out("Photoshop 3.0\0", 14);
  out += "8BIM";
  out += Be16(0x0404);
  out += std::string("\0\0", 2);  // empty Pascal name, padded to even
  out += static_cast<char>(iptc.size() >> 24);
  out += static_cast<char>(iptc.size() >> 16 & 0xFF);
  out += Be16(static_cast<uint16_t>(iptc.size() & 0xFFFF));
  out += iptc;
  if (iptc.size() % 2) out += '\0';
  return out;
}

std::string IptcDataset(uint8_t record, uint8_t dataset, const std::string& value) {
  std::string out = "\x1C";
  out += static_cast<char>(record);
  out += static_cast<char>(dataset);
  out += Be16(static_cast<uint16_t>(value.size()));
  return out + value;
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumatrim-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may make files read-only; give the owner rights back before removing.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string CorpusDir() {
  if (const char* env = std::getenv("LUMATRIM_CORPUS")) return std::filesystem::exists(env) ? env : "";
  const std::string dir = LUMATRIM_DEFAULT_CORPUS;
  return std::filesystem::exists(dir + "/photos") ? dir : "";
}

}  // namespace lumatrim::test
