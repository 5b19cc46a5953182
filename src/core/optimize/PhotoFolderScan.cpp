#include "core/optimize/PhotoFolderScan.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "core/heif/HeifKind.h"
#include "core/jpeg/JpegName.h"

namespace lumatrim {
namespace {

constexpr size_t kCountEvery = 200;  // photos between two counted() calls

bool Hidden(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name[0] == '.';
}

}  // namespace

bool IsPhotoFileName(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return false;
  // HEIF names are phone photos the batch writes as JPEGs.
  return HasJpegExtension(name) || HasHeifExtension(name);
}

std::vector<FoundPhoto> FindPhotosInFolder(const std::string& folder, bool recursive,
                                           const std::function<void(size_t found)>& counted,
                                           const std::atomic<bool>* cancel) {
  namespace fs = std::filesystem;
  std::vector<FoundPhoto> found;
  const fs::path root(folder);
  const auto consider = [&](const fs::directory_entry& entry) {
    std::error_code ec;
    if (Hidden(entry.path()) || !entry.is_regular_file(ec) || !IsPhotoFileName(entry.path().filename().string())) {
      return;
    }
    std::string sub = entry.path().parent_path().lexically_relative(root).generic_string();
    if (sub == ".") sub.clear();
    found.push_back({entry.path().string(), sub});
    if (counted && found.size() % kCountEvery == 0) counted(found.size());
  };
  std::error_code ec;
  const auto options = fs::directory_options::skip_permission_denied;
  if (recursive) {
    fs::recursive_directory_iterator it(root, options, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      if (cancel && cancel->load()) break;
      if (Hidden(it->path()) && it->is_directory(ec)) {
        it.disable_recursion_pending();
        continue;
      }
      consider(*it);
    }
  } else {
    fs::directory_iterator it(root, options, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      if (cancel && cancel->load()) break;
      consider(*it);
    }
  }
  std::sort(found.begin(), found.end(), [](const FoundPhoto& a, const FoundPhoto& b) { return a.Path < b.Path; });
  if (counted) counted(found.size());
  return found;
}

}  // namespace lumatrim
