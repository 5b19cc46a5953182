#include "ui/optimize/BatchSummary.h"

#include <QFileInfo>

#include "ui/prompts/FailureText.h"

using lumatrim::BatchPhotoResult;
using lumatrim::BatchReport;
using lumatrim::PhotoOutcome;

namespace {

constexpr int kListedAtMost = 12;  // longer lists end with a count, so the box fits the screen

QString Name(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

void AppendList(QString& text, const QString& heading, const QStringList& lines) {
  if (lines.isEmpty()) return;
  text += QStringLiteral("\n\n") + heading;
  for (qsizetype i = 0; i < lines.size() && i < kListedAtMost; ++i) text += QStringLiteral("\n") + lines[i];
  if (lines.size() > kListedAtMost) text += QStringLiteral("\n… a další (%1)").arg(lines.size() - kListedAtMost);
}

}  // namespace

QString BatchSummary(const BatchReport& report) {
  QStringList failed, renamed;
  for (const BatchPhotoResult& photo : report.Photos) {
    if (photo.Outcome == PhotoOutcome::Failed) {
      // The Czech cause first; the engine's technical words below it, for whoever must dig further.
      const QString cause = failuretext::Sentence(photo.Failure, failuretext::Context::BatchPhoto);
      QString line = QStringLiteral("„%1“: %2").arg(Name(photo.Source), cause);
      if (!photo.Detail.empty()) line += QStringLiteral("\n    ") + QString::fromStdString(photo.Detail);
      failed << line;
    } else if (photo.Outcome == PhotoOutcome::Written && (photo.Numbered || photo.Shortened)) {
      renamed << QStringLiteral("„%1“ → „%2“").arg(Name(photo.Source), Name(photo.Output));
    }
  }
  const int total = static_cast<int>(report.Photos.size());
  const QString count = QStringLiteral("Zapsáno fotografií: %1 z %2.").arg(report.Written()).arg(total);
  QString text;
  if (report.Cancelled) {
    text = QStringLiteral("Optimalizace byla přerušena.\n") + count +
           QStringLiteral(" Nezapsané fotografie zůstávají v zásobníku.");
  } else if (!failed.isEmpty()) {
    text = QStringLiteral("Optimalizace skončila, ale některé fotografie se nepodařilo zpracovat.\n") + count +
           QStringLiteral(" Nezapsané fotografie zůstávají v zásobníku.");
  } else {
    text = QStringLiteral("Optimalizace byla úspěšně dokončena.");
    if (!renamed.isEmpty()) text += QStringLiteral("\n") + count;
  }
  if (const int fromXmp = report.XmpGpsRemoved(); fromXmp > 0) {
    text += QStringLiteral("\nPoloha (GPS) byla odstraněna také z dat XMP (fotografií: %1).").arg(fromXmp);
  }
  AppendList(text, QStringLiteral("Nezpracované fotografie:"), failed);
  AppendList(text, QStringLiteral("Fotografie uložené pod jiným názvem (stejný nebo příliš dlouhý název):"), renamed);
  return text;
}

QStringList PhotosLeftInTray(const BatchReport& report) {
  QStringList left;
  for (const BatchPhotoResult& photo : report.Photos) {
    if (photo.Outcome != PhotoOutcome::Written) left << QString::fromStdString(photo.Source);
  }
  return left;
}
