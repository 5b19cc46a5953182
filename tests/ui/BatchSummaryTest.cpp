// The one message at the end of a batch, built from what the engine reports.
#include <gtest/gtest.h>

#include "ui/optimize/BatchSummary.h"
#include "ui/prompts/FailureText.h"

using lumatrim::BatchPhotoResult;
using lumatrim::BatchReport;
using lumatrim::FailureKind;
using lumatrim::PhotoOutcome;

namespace {

BatchPhotoResult Photo(const std::string& name, PhotoOutcome outcome, FailureKind failure = FailureKind::Other,
                       const std::string& output = "") {
  BatchPhotoResult photo;
  photo.Source = "/karta/" + name;
  photo.Output = "/cíl/" + (output.empty() ? "opt_" + name : output);
  photo.Outcome = outcome;
  photo.Failure = failure;
  photo.Numbered = !output.empty();
  photo.SourceBytes = 24'100'000;
  photo.OutputBytes = outcome == PhotoOutcome::Written ? 3'050'000 : 0;
  return photo;
}

TEST(BatchSummaryText, SaysWhatBecameOfEveryPhoto) {
  BatchReport clean;
  clean.Photos = {Photo("a.jpg", PhotoOutcome::Written), Photo("b.jpg", PhotoOutcome::Written)};
  EXPECT_EQ(BatchSummary(clean), QStringLiteral("Hotovo: 2 fotografie, 48,2 MB → 6,1 MB"));

  // The same photo written twice (two presets) counts once before, twice after.
  BatchReport renamed = clean;
  renamed.Photos.push_back(Photo("a.jpg", PhotoOutcome::Written, FailureKind::Other, "opt_a-2.jpg"));
  renamed.Photos.back().Copied = true;
  renamed.Photos.push_back(Photo("f.jpg", PhotoOutcome::Skipped));
  EXPECT_EQ(BatchSummary(renamed),
            QStringLiteral("Hotovo: 2 fotografie, 48,2 MB → 9,2 MB\n"
                           "Zkopírováno beze změny (menší by nebyly): 1\nPřeskočeno (už existovaly): 1\n\n"
                           "Fotografie uložené pod jiným názvem (stejný nebo příliš dlouhý název):\n"
                           "„a.jpg“ → „opt_a-2.jpg“"));
  EXPECT_TRUE(PhotosLeftInTray(renamed).isEmpty()) << "a skipped photo is done with";
  EXPECT_EQ(ByteSizeText(640'400), QStringLiteral("640 kB"));

  BatchReport failed = clean;
  failed.Photos.insert(failed.Photos.begin() + 1, Photo("c.jpg", PhotoOutcome::Failed, FailureKind::DamagedData));
  failed.Photos.push_back(Photo("d.jpg", PhotoOutcome::Failed, FailureKind::WriteFailed));
  EXPECT_EQ(BatchSummary(failed),
            QStringLiteral("Optimalizace skončila, ale některé fotografie se nepodařilo zpracovat.\n"
                           "Zapsáno fotografií: 2 z 4. Nezapsané fotografie zůstávají v zásobníku.\n\n"
                           "Nezpracované fotografie:\n"
                           "„c.jpg“: Soubor není fotografie JPEG nebo je poškozený.\n"
                           "„d.jpg“: Výslednou fotografii se nepodařilo zapsat do cílové složky."));
  EXPECT_EQ(PhotosLeftInTray(failed), (QStringList{"/karta/c.jpg", "/karta/d.jpg"}));

  BatchReport cancelled = clean;
  cancelled.Cancelled = true;
  cancelled.Photos.push_back(Photo("e.jpg", PhotoOutcome::NotDone));
  EXPECT_EQ(BatchSummary(cancelled),
            QStringLiteral("Optimalizace byla přerušena.\n"
                           "Zapsáno fotografií: 2 z 3. Nezapsané fotografie zůstávají v zásobníku."));
  EXPECT_EQ(PhotosLeftInTray(cancelled), QStringList{"/karta/e.jpg"});
}

// Three hundred photos from a broken card still give a box that fits.
TEST(BatchSummaryText, LongListsEndWithACount) {
  BatchReport report;
  for (int i = 0; i < 300; ++i) {
    report.Photos.push_back(Photo(std::to_string(i) + ".jpg", PhotoOutcome::Failed, FailureKind::FileMissing));
  }
  const QString text = BatchSummary(report);
  EXPECT_EQ(text.count(QStringLiteral("Soubor nebyl nalezen.")), 12);
  EXPECT_TRUE(text.endsWith(QStringLiteral("„11.jpg“: Soubor nebyl nalezen.\n… a další (288)"))) << text.toStdString();
  const auto sentence = [](FailureKind kind) { return failuretext::Sentence(kind, failuretext::Context::BatchPhoto); };
  for (FailureKind kind : {FailureKind::FileMissing, FailureKind::NoPermission, FailureKind::DamagedData,
                           FailureKind::OutOfMemory, FailureKind::WriteFailed}) {
    EXPECT_FALSE(sentence(kind).isEmpty());
    EXPECT_NE(sentence(kind), sentence(FailureKind::Other)) << "each kind has its own sentence";
  }
}

}  // namespace
