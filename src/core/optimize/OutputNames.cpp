#include "core/optimize/OutputNames.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "core/heif/HeifKind.h"

namespace lumatrim {
namespace {

constexpr const char* kPrefix = "opt_";
constexpr size_t kLongestExtension = 10;  // ".jpeg" and the like; a longer tail is part of the name

// A path with links resolved, so that an output reaching a source through a
// symbolic link or "a/../b" is still recognised as that source.
std::string Normalized(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
  if (ec) p = std::filesystem::absolute(path, ec).lexically_normal();
  return p.string();
}

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The first n bytes of text, moved back to the start of a UTF-8 character.
std::string Utf8Prefix(const std::string& text, size_t n) {
  if (n >= text.size()) return text;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return text.substr(0, n);
}

}  // namespace

size_t FileNameLimit(const std::string& folder) {
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<size_t>(limit) : 255;
}

std::string FittedOutputName(const std::string& stem, const std::string& suffix, const std::string& extension,
                             size_t limit) {
  const size_t fixed = std::char_traits<char>::length(kPrefix) + suffix.size() + extension.size();
  const size_t room = limit > fixed ? limit - fixed : 1;
  return kPrefix + Utf8Prefix(stem, room) + suffix + extension;
}

std::vector<PlannedOutput> PlanOutputs(const std::string& targetFolder, const std::vector<std::string>& sources,
                                       size_t nameLimit) {
  std::string folder = targetFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string shownFolder = folder == "/" ? "" : folder;
  std::string realFolder = Normalized(folder);
  if (realFolder.size() > 1 && realFolder.back() == '/') realFolder.pop_back();

  // Names are compared as the folder's real path plus the folded name.
  std::set<std::string> taken;
  for (const std::string& source : sources) taken.insert(Folded(Normalized(source)));
  const auto key = [&](const std::string& name) { return Folded(realFolder + "/" + name); };

  struct Parts {
    std::string stem, extension;
  };
  std::vector<Parts> parts(sources.size());
  std::vector<PlannedOutput> plan(sources.size());
  std::vector<bool> placed(sources.size(), false);

  // First every photo whose plain name is free keeps it, so a source named
  // x-2.jpg is never pushed aside by a numbered x.jpg before it.
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::string name = std::filesystem::path(sources[i]).filename().string();
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kLongestExtension) {
      parts[i] = {name.substr(0, dot), name.substr(dot)};
    } else {
      parts[i] = {name, ""};
    }
    // A HEIF photo comes out as a JPEG, and its name says so.
    if (HasHeifExtension(name) || IsHeifFile(sources[i])) parts[i].extension = ".jpg";
    const std::string plain = FittedOutputName(parts[i].stem, "", parts[i].extension, nameLimit);
    plan[i].Shortened = plain.size() < std::char_traits<char>::length(kPrefix) + parts[i].stem.size() + parts[i].extension.size();
    if (taken.insert(key(plain)).second) {
      plan[i].Path = shownFolder + "/" + plain;
      placed[i] = true;
    }
  }
  for (size_t i = 0; i < sources.size(); ++i) {
    if (placed[i]) continue;
    for (size_t number = 2;; ++number) {
      const std::string suffix = "-" + std::to_string(number);
      const std::string name = FittedOutputName(parts[i].stem, suffix, parts[i].extension, nameLimit);
      if (taken.insert(key(name)).second) {
        plan[i].Path = shownFolder + "/" + name;
        plan[i].Numbered = true;
        plan[i].Shortened = name.size() < std::char_traits<char>::length(kPrefix) + parts[i].stem.size() +
                                              suffix.size() + parts[i].extension.size();
        break;
      }
    }
  }
  return plan;
}

}  // namespace lumatrim
