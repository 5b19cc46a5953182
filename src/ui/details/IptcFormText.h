#pragma once
#include <QString>
#include <QStringList>

#include "core/exif/TagEntry.h"

// The Czech texts of the IPTC form: the note that tells as the user types
// which values are longer than the standard allows.
namespace iptcform {

// The values the user's text stands for: a keyword list for a repeatable
// item, else the text itself.
QStringList Values(const lumatrim::TagEntry& item, const QString& text);

// "Klíčové slovo „…“ má 70 bajtů, IPTC dovoluje nejvýše 64." for each value too
// long, one a line; empty when all fit.
QString LimitNote(const lumatrim::TagEntry& item, const QString& text);

}  // namespace iptcform
