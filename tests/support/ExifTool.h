#pragma once
// exiftool and exiv2 as outside judges of written photos; tests skip their
// checks when the tools are not installed.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

namespace lumatrim::test {

inline bool HaveTool(const std::string& versionCommand) {
  return std::system((versionCommand + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a shell command (standard error too when asked).
inline std::string Output(const std::string& command, bool withErrors = false) {
  std::string result;
  if (FILE* pipe = popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r")) {
    char buffer[1024];
    while (fgets(buffer, sizeof buffer, pipe)) result += buffer;
    pclose(pipe);
  }
  return result;
}

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Every EXIF tag exiftool finds, one "[group] Name: value" line each; the
// thumbnail's place in the file (which moves with the segments before the
// EXIF block) is left out.
inline std::set<std::string> ExifLines(const std::string& path) {
  std::set<std::string> lines;
  std::istringstream text(Output("exiftool -a -u -s -G1 -EXIF:all -MakerNotes:all --ThumbnailOffset " + Quoted(path)));
  for (std::string line; std::getline(text, line);) lines.insert(line);
  return lines;
}

// exiftool's warnings about the file's structure, one per line.
inline std::set<std::string> ValidationWarnings(const std::string& path) {
  std::set<std::string> lines;
  std::istringstream text(Output("exiftool -a -validate -warning -s " + Quoted(path)));
  for (std::string line; std::getline(text, line);) lines.insert(line);
  return lines;
}

// What exiv2 says on standard error while printing all tags.
inline std::string Exiv2Complaints(const std::string& path) {
  return Output("exiv2 -q -pa " + Quoted(path) + " 2>&1 >/dev/null", false);
}

}  // namespace lumatrim::test
