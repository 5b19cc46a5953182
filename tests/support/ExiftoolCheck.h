#pragma once
// What outside readers, exiftool and exiv2, make of a written photo: the
// checks that every output of the rotation and the batch must pass. Tests
// skip when exiftool is not installed; exiv2 is asked where it is.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/jpeg/JpegImage.h"
#include "support/JpegBuilder.h"

namespace lumatrim::test {

inline std::string QuotedForShell(const std::string& path) {
  std::string out = "'";
  for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

inline std::string RunCommand(const std::string& command) {
  std::string result;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.append(buffer, n);
    pclose(pipe);
  }
  return result;
}

inline bool ExiftoolInstalled() { return !RunCommand("exiftool -ver 2>/dev/null").empty(); }
inline bool Exiv2Installed() { return !RunCommand("exiv2 --version 2>/dev/null").empty(); }

// exiv2's complaints about a file, one per line, without the file name.
inline std::set<std::string> Exiv2Warnings(const std::string& path) {
  std::set<std::string> out;
  const std::string text = RunCommand("exiv2 -pa " + QuotedForShell(path) + " 2>&1 >/dev/null");
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    for (size_t at; (at = line.find(path)) != std::string::npos;) line.erase(at, path.size());
    if (!line.empty()) out.insert(line);
    start = end + 1;
  }
  return out;
}

// A warning with its numbers blanked: a broken offset the source already had
// reads other bytes once the block around it changed, and says so in numbers.
inline std::string WithoutNumbers(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c < '0' || c > '9') out += c;
    else if (out.empty() || out.back() != '#') out += '#';
  }
  return out;
}

// One exiftool run over many files: for each file its "Name: value" lines
// (as `exiftool -a -S` prints them), in the order asked.
using ExiftoolLines = std::vector<std::pair<std::string, std::string>>;
inline std::map<std::string, ExiftoolLines> ExiftoolTags(const std::vector<std::string>& files,
                                                         const std::string& tags) {
  std::map<std::string, ExiftoolLines> out;
  if (files.empty()) return out;
  std::string command = "exiftool -a -S " + tags;
  for (const std::string& file : files) command += " " + QuotedForShell(file);
  const std::string text = RunCommand(command + " 2>/dev/null");
  // Several files come each behind a "======== path" line; one comes alone.
  std::string current = files.size() == 1 ? files.front() : "";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.rfind("======== ", 0) == 0) {
      current = line.substr(9);
    } else if (const size_t colon = line.find(": "); colon != std::string::npos && !current.empty()) {
      out[current].emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
  }
  return out;
}

inline std::set<std::string> WarningsIn(const ExiftoolLines& lines) {
  std::set<std::string> out;
  for (const auto& [name, value] : lines) {
    if (name == "Warning" || name == "Error") out.insert(value);
  }
  return out;
}

struct WrittenPhoto {
  std::string output, source;
};

// Everything exiftool (and exiv2) find wrong with outputs that should be
// upright, by output; empty when all is well. Warnings the source already
// had, in other numbers or not, are not counted. Outputs need distinct file
// names; their thumbnails are extracted into a scratch folder.
inline std::map<std::string, std::vector<std::string>> UprightProblems(const std::vector<WrittenPhoto>& photos) {
  const TempDir scratchDir;
  const std::string& scratch = scratchDir.Path();
  std::vector<std::string> outputs, sources;
  for (const WrittenPhoto& photo : photos) {
    outputs.push_back(photo.output);
    sources.push_back(photo.source);
  }
  auto outputTags = ExiftoolTags(outputs, "-IFD0:Orientation -ExifIFD:ExifImageWidth# -ExifIFD:ExifImageHeight# "
                                          "-Warning -Error");
  auto sourceTags = ExiftoolTags(sources, "-Warning -Error");
  std::string extract = "exiftool -q -b -ThumbnailImage -w " + QuotedForShell(scratch + "/%f.thumb");
  for (const std::string& output : outputs) extract += " " + QuotedForShell(output);
  RunCommand(extract + " >/dev/null 2>&1");

  std::map<std::string, std::vector<std::string>> all;
  for (const WrittenPhoto& photo : photos) {
    std::vector<std::string>& problems = all[photo.output];
    JpegImage image;
    try {
      image.LoadFromFile(photo.output);
    } catch (const std::exception& e) {
      problems.push_back(std::string("not a JPEG: ") + e.what());
      continue;
    }
    const int width = image.Width(), height = image.Height();
    for (const auto& [name, value] : outputTags[photo.output]) {
      if (name == "Orientation" && value != "Horizontal (normal)") problems.push_back("Orientation " + value);
      if (name == "ExifImageWidth" && value != std::to_string(width))
        problems.push_back("ExifImageWidth " + value + ", the picture is " + std::to_string(width));
      if (name == "ExifImageHeight" && value != std::to_string(height))
        problems.push_back("ExifImageHeight " + value + ", the picture is " + std::to_string(height));
    }
    const std::string stem = photo.output.substr(photo.output.find_last_of('/') + 1);
    const std::string thumbPath = scratch + "/" + stem.substr(0, stem.find_last_of('.')) + ".thumb";
    if (std::FILE* file = std::fopen(thumbPath.c_str(), "rb")) {
      std::fclose(file);
      try {
        JpegImage thumb;
        thumb.LoadFromFile(thumbPath);
        const double ratio = static_cast<double>(thumb.Width()) / thumb.Height();
        const double want = static_cast<double>(width) / height;
        if (std::abs(ratio - want) > 0.01 * want) {
          problems.push_back("thumbnail " + std::to_string(thumb.Width()) + "x" + std::to_string(thumb.Height()) +
                             " for a picture of " + std::to_string(width) + "x" + std::to_string(height));
        }
      } catch (const std::exception& e) {
        problems.push_back(std::string("thumbnail does not decode: ") + e.what());
      }
    }
    const auto compare = [&](const std::string& reader, const std::set<std::string>& before,
                             const std::set<std::string>& after) {
      std::set<std::string> known;
      for (const std::string& warning : before) known.insert(WithoutNumbers(warning));
      for (const std::string& warning : after) {
        if (!known.count(WithoutNumbers(warning))) problems.push_back(reader + " warns: " + warning);
      }
    };
    compare("exiftool", WarningsIn(sourceTags[photo.source]), WarningsIn(outputTags[photo.output]));
    if (Exiv2Installed()) compare("exiv2", Exiv2Warnings(photo.source), Exiv2Warnings(photo.output));
  }
  return all;
}

// The verdict of the outside readers over a run on UprightCheckSources: no
// problem with any output, and the eight built photos written at least.
inline void ExpectAllUpright(const std::vector<WrittenPhoto>& written) {
  for (const auto& [output, problems] : UprightProblems(written)) {
    EXPECT_EQ(problems, std::vector<std::string>{}) << output;
  }
  EXPECT_GE(written.size(), 8u);
}

}  // namespace lumatrim::test
