// The optimisation dialog's quality row: the three modes, each target kept
// while the other shows, remembered for the next dialog, and a target the
// batch could not read refused with a Czech sentence before anything starts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/optimize/OptimizeDialog.h"

namespace {

enum Mode { kFixed, kAutomatic, kMaxFileSize };  // the combo box's rows

TEST(OptimisationQuality, ModesTargetsAndTheirMemory) {
  lumatrim::test::PromptRecorder prompts;
  lumatrim::test::TempDir dir;
  {
    OptimizeDialog first{nullptr, [](const std::vector<std::string>&, const lumatrim::OptimizeSettings&,
                                     const std::function<void(int)>&, const std::atomic<bool>&) {
                           ADD_FAILURE() << "the batch must not start";
                           return lumatrim::BatchReport();
                         }};
    first.TickOnlyPreset(QStringLiteral("Vlastní"));  // the row belongs to the custom settings
    QComboBox* mode = first.QualityModeCombo();
    EXPECT_EQ(mode->currentIndex(), kFixed);
    EXPECT_EQ(mode->itemText(kAutomatic), QStringLiteral("Automatická kvalita"));
    EXPECT_EQ(mode->itemText(kMaxFileSize), QStringLiteral("Velikost nejvýše"));
    EXPECT_TRUE(first.CompressionSlider()->parentWidget()->isEnabled());
    mode->setCurrentIndex(kAutomatic);
    EXPECT_FALSE(first.CompressionSlider()->parentWidget()->isEnabled()) << "the slider counts only when fixed";
    EXPECT_EQ(first.QualityTargetEdit()->text(), QStringLiteral("85"));
    first.QualityTargetEdit()->setText(QStringLiteral("90"));
    mode->setCurrentIndex(kMaxFileSize);
    EXPECT_EQ(first.QualityTargetEdit()->text(), QStringLiteral("500k"));
    first.QualityTargetEdit()->setText(QStringLiteral("pět set"));
    first.TargetFolderEdit()->setText(QString::fromStdString(dir.Path()));
    first.OriginalSizeRadio()->click();
    first.SetSources({QStringLiteral("/nikde/foto.jpg")});
    first.StartButton()->click();
    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("Zadejte největší velikost souboru, například 500k nebo 2M.")});
    EXPECT_FALSE(first.BatchRunning());
    first.QualityTargetEdit()->setText(QStringLiteral("300k"));
    EXPECT_EQ(first.PlannedRuns().at(0).MaxFileBytes, 300u * 1024) << "the custom target reaches the run";
    // Automatic quality's ceiling: none, a size, or a text that is refused.
    mode->setCurrentIndex(kAutomatic);
    for (const auto& [typed, ceiling] : {std::pair{"", std::uint64_t{0}}, {"400k", std::uint64_t{400} * 1024}}) {
      first.AutoCeilingEdit()->setText(QString::fromUtf8(typed));
      EXPECT_EQ(first.PlannedRuns().at(0).MaxFileBytes, ceiling) << typed;
    }
    prompts.messages.clear();
    first.AutoCeilingEdit()->setText(QStringLiteral("moc"));
    first.StartButton()->click();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral(
                                    "Zadejte největší velikost souboru, například 500k nebo 2M, nebo pole nechte prázdné.")});
    first.AutoCeilingEdit()->setText(QStringLiteral("450k"));
    mode->setCurrentIndex(kMaxFileSize);
    first.BackClicked();
  }
  OptimizeDialog second;
  EXPECT_EQ(second.QualityModeCombo()->currentIndex(), kMaxFileSize);
  EXPECT_EQ(second.QualityTargetEdit()->text(), QStringLiteral("300k"));
  second.QualityModeCombo()->setCurrentIndex(kAutomatic);
  EXPECT_EQ(second.QualityTargetEdit()->text(), QStringLiteral("90")) << "each mode keeps its own target";
  EXPECT_EQ(second.AutoCeilingEdit()->text(), QStringLiteral("450k")) << "the ceiling is remembered";
  second.QualityModeCombo()->setCurrentIndex(kFixed);
  EXPECT_TRUE(second.QualityTargetEdit()->isHidden()) << "fixed compression has no target";
  second.BackClicked();
}

}  // namespace
