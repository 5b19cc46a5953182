#include "ui/details/IptcFormText.h"

#include <string>
#include <vector>

#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/IptcTagTable.h"
#include "core/iptc/KeywordList.h"

namespace iptcform {

QStringList Values(const lumatrim::TagEntry& item, const QString& text) {
  if (!lumatrim::IsRepeatableDataset(item.Record, item.Tag)) return {text};
  QStringList values;
  for (const std::string& keyword : lumatrim::ReadKeywordList(text.toStdString()))
    values << QString::fromStdString(keyword);
  return values;
}

QString LimitNote(const lumatrim::TagEntry& item, const QString& text) {
  const QStringList values = Values(item, text);
  std::vector<std::string> bytes;
  for (const QString& value : values) bytes.push_back(value.toStdString());
  const bool list = lumatrim::IsRepeatableDataset(item.Record, item.Tag);
  QStringList lines;
  for (const lumatrim::IptcLimitProblem& problem : lumatrim::IptcLimitProblems(item, bytes)) {
    const QString value = values[static_cast<int>(problem.Index)];
    const QString what = !list                       ? QStringLiteral("Text")
                         : item.Name == "Keywords" ? QStringLiteral("Klíčové slovo „%1“").arg(value)
                                                   : QStringLiteral("Položka „%1“").arg(value);
    lines << QStringLiteral("%1 má %2 bajtů, IPTC dovoluje nejvýše %3.")
                 .arg(what)
                 .arg(problem.Bytes)
                 .arg(problem.Limit);
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace iptcform
