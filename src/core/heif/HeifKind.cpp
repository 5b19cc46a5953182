#include "core/heif/HeifKind.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "core/bytes/ByteView.h"
#include "core/bytes/FileSource.h"

namespace lumatrim {
namespace {

constexpr std::array<std::string_view, 10> kHeifBrands{
    "heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis",
};

constexpr std::array<std::string_view, 4> kHeifExtensions{".heic", ".heif", ".hif", ".avif"};

bool IsHeifBrand(std::string_view brand) {
  return std::find(kHeifBrands.begin(), kHeifBrands.end(), brand) != kHeifBrands.end();
}

}  // namespace

// The first box of an ISO media file:
//   0: 4 bytes box size (0 = to the end)   4: "ftyp"
//   8: 4 bytes major brand   12: 4 bytes minor version
//   16: compatible brands, 4 bytes each, to the box's end
bool IsHeifStart(std::string_view firstBytes) {
  const ByteView view(firstBytes, ByteOrder::BigEndian);
  if (view.Clip(4, 4) != "ftyp") return false;
  const int64_t declared = view.U32(0);
  if (declared != 0 && declared < 16) return false;
  const int64_t end = declared == 0 ? view.Size() : std::min(declared, view.Size());
  if (IsHeifBrand(view.Clip(8, 4))) return true;
  for (int64_t offset = 16; view.Contains(offset, 4) && offset + 4 <= end; offset += 4) {
    if (IsHeifBrand(view.Clip(offset, 4))) return true;
  }
  return false;
}

bool IsHeifFile(const std::string& path) {
  // Only regular files: opening a FIFO named *.heic would wait for a writer.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  FileSource input(path);
  if (!input.IsOpen()) return false;
  char start[kHeifProbeBytes];
  const size_t n = input.Read(start, sizeof start);
  return IsHeifStart(std::string_view(start, n));
}

bool HasHeifExtension(std::string_view name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return false;
  std::string extension(name.substr(dot));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::find(kHeifExtensions.begin(), kHeifExtensions.end(), extension) != kHeifExtensions.end();
}

}  // namespace lumatrim
