#include "ui/optimize/BatchSummary.h"

#include <QFileInfo>
#include <QLocale>
#include <QSet>

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

// "1 fotografie", "3 fotografie", "9 fotografií".
QString PhotoCount(int n) {
  const bool few = n % 100 < 10 || n % 100 > 20 ? (n % 10 >= 2 && n % 10 <= 4) : false;
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? QStringLiteral("fotografie")
                                            : few  ? QStringLiteral("fotografie")
                                                   : QStringLiteral("fotografií"));
}

}  // namespace

QString ByteSizeText(std::uint64_t bytes) {
  const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
  if (bytes < 1'000'000) return czech.toString(static_cast<qulonglong>((bytes + 500) / 1000)) + QStringLiteral(" kB");
  return czech.toString(static_cast<double>(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
}

QString BatchSummary(const BatchReport& report) {
  QStringList failed, renamed;
  // Several presets write each photo more than once; the count and the
  // size before are of the photos, the size after of every file written.
  QSet<QString> photosDone;
  std::uint64_t before = 0, after = 0;
  for (const BatchPhotoResult& photo : report.Photos) {
    if (photo.Outcome == PhotoOutcome::Written) {
      const QString source = QString::fromStdString(photo.Source);
      if (!photosDone.contains(source)) before += photo.SourceBytes;
      photosDone.insert(source);
      after += photo.OutputBytes;
    }
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
    text = QStringLiteral("Hotovo: %1, %2 → %3")
               .arg(PhotoCount(static_cast<int>(photosDone.size())), ByteSizeText(before), ByteSizeText(after));
  }
  if (const int copied = report.Copied(); copied > 0) {
    text += QStringLiteral("\nZkopírováno beze změny (menší by nebyly): %1").arg(copied);
  }
  if (const int skipped = report.Skipped(); skipped > 0) {
    text += QStringLiteral("\nPřeskočeno (už existovaly): %1").arg(skipped);
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
    const QString source = QString::fromStdString(photo.Source);
    const bool unfinished = photo.Outcome == PhotoOutcome::Failed || photo.Outcome == PhotoOutcome::NotDone;
    if (unfinished && !left.contains(source)) left << source;
  }
  return left;
}
