#include "core/optimize/OutputNames.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "core/heif/HeifKind.h"
#include "core/jpeg/JpegName.h"
#include "core/optimize/NamePattern.h"

namespace lumatrim {
namespace {

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

std::string FittedOutputName(const std::string& name, const std::string& suffix, const std::string& extension,
                             size_t limit) {
  const size_t fixed = suffix.size() + extension.size();
  const size_t room = limit > fixed ? limit - fixed : 1;
  return Utf8Prefix(name, room) + suffix + extension;
}

std::vector<PlannedOutput> PlanOutputs(const std::vector<std::string>& sources, const OptimizeSettings& settings,
                                       size_t nameLimit) {
  std::string folder = settings.TargetFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string shownFolder = folder == "/" ? "" : folder;
  std::string realFolder = Normalized(folder);
  if (realFolder.size() > 1 && realFolder.back() == '/') realFolder.pop_back();

  // Names are compared as the folder's real path plus the folded name.
  std::set<std::string> taken;
  for (const std::string& source : sources) taken.insert(Folded(Normalized(source)));
  const auto subfolderOf = [&](size_t i) {
    std::string sub = i < settings.Subfolders.size() ? settings.Subfolders[i] : std::string();
    while (!sub.empty() && sub.back() == '/') sub.pop_back();
    return sub.empty() ? std::string() : "/" + sub;
  };
  const bool readDates = PatternUsesTime(settings.NamePattern);

  struct Parts {
    std::string name, extension, sub;
  };
  std::vector<Parts> parts(sources.size());
  std::vector<PlannedOutput> plan(sources.size());
  std::vector<bool> placed(sources.size(), false);
  const auto key = [&](size_t i, const std::string& name) { return Folded(realFolder + parts[i].sub + "/" + name); };
  const auto pathOf = [&](size_t i, const std::string& name) { return shownFolder + parts[i].sub + "/" + name; };
  const auto onDisk = [](const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !ec;
  };

  // First every photo whose plain name is free keeps it, so a source named
  // x-2.jpg is never pushed aside by a numbered x.jpg before it.
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::string fileName = std::filesystem::path(sources[i]).filename().string();
    std::string stem = fileName, extension;
    const size_t dot = fileName.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && fileName.size() - dot <= kLongestExtension) {
      stem = fileName.substr(0, dot);
      extension = fileName.substr(dot);
    }
    // A HEIF photo comes out as a JPEG, and its name says so. A photo's name
    // decides; only a file named like no photo is opened to see what it holds.
    if (HasHeifExtension(fileName) || (!HasJpegExtension(fileName) && IsHeifFile(sources[i]))) extension = ".jpg";
    const PhotoTime takenAt = readDates ? PhotoTakenTime(sources[i]) : PhotoTime{};
    const std::string name = ExpandNamePattern(settings.NamePattern, stem, static_cast<int>(i) + 1, takenAt);
    parts[i] = {name, extension, subfolderOf(i)};
    const std::string plain = FittedOutputName(name, "", extension, nameLimit);
    plan[i].Shortened = plain.size() < name.size() + extension.size();
    const bool old = onDisk(pathOf(i, plain));
    if (old && settings.Existing == ExistingOutput::Number) continue;
    if (taken.insert(key(i, plain)).second) {
      plan[i].Path = pathOf(i, plain);
      plan[i].Exists = old;
      plan[i].Skip = old && settings.Existing == ExistingOutput::Skip;
      placed[i] = true;
    }
  }
  for (size_t i = 0; i < sources.size(); ++i) {
    if (placed[i]) continue;
    for (size_t number = 2;; ++number) {
      const std::string suffix = "-" + std::to_string(number);
      const std::string name = FittedOutputName(parts[i].name, suffix, parts[i].extension, nameLimit);
      if (settings.Existing == ExistingOutput::Number && onDisk(pathOf(i, name))) continue;
      if (taken.insert(key(i, name)).second) {
        plan[i].Path = pathOf(i, name);
        plan[i].Numbered = true;
        plan[i].Shortened = name.size() < parts[i].name.size() + suffix.size() + parts[i].extension.size();
        plan[i].Exists = onDisk(plan[i].Path);
        plan[i].Skip = plan[i].Exists && settings.Existing == ExistingOutput::Skip;
        break;
      }
    }
  }
  return plan;
}

int CountExistingOutputs(const std::vector<std::string>& sources, const OptimizeSettings& settings) {
  OptimizeSettings asked = settings;
  asked.Existing = ExistingOutput::Overwrite;
  int count = 0;
  for (const PlannedOutput& output : PlanOutputs(sources, asked, FileNameLimit(settings.TargetFolder))) {
    count += output.Exists ? 1 : 0;
  }
  return count;
}

}  // namespace lumatrim
