#pragma once
#include <optional>
#include <string>

namespace lumatrim {

// When a photo was taken, to the second, in the camera's local time.
struct PhotoTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// An output name pattern: text with fields in braces, the extension of the
// source added after it.
//   {název}      the source's name without its extension
//   {datum}      the day it was taken, 2015-02-09
//   {čas}        the time it was taken, 14-30-05 (no colons: memory cards refuse them)
//   {pořadí}     its place in the batch, 1, 2, ...; {pořadí:3} gives 001, 002, ...
// {nazev}, {cas} and {poradi} are the same fields for keyboards without diacritics.
// Throws LumatrimError for an unknown field, an unclosed brace, a "/" or an
// empty pattern.
void ValidateNamePattern(const std::string& pattern);

// True when the pattern has {datum} or {čas}: the photos' dates must be read.
bool PatternUsesTime(const std::string& pattern);

// The name for one photo (without extension); the pattern must be valid.
std::string ExpandNamePattern(const std::string& pattern, const std::string& stem, int sequence,
                              const PhotoTime& taken);

// "2015:02:09 14:30:05" as EXIF writes it; nothing for blanks or a damaged text.
std::optional<PhotoTime> ParseExifDateTime(const std::string& text);

// The photo's EXIF DateTimeOriginal, else its file's modification time (local
// time); all zero when neither can be read.
PhotoTime PhotoTakenTime(const std::string& path);

}  // namespace lumatrim
