// The optimisation dialog's quality row: fixed compression, "Automatická
// kvalita" with its score, or "Velikost nejvýše" with its size limit.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/bytes/Error.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/Prompts.h"

namespace {

using lumatrim::QualityMode;

// One row per mode, in the order of the combo box and of QualityMode.
struct QualityChoice {
  QualityMode mode;
  const char* title;
  const char* hint;  // beside the target edit; nullptr: no target
};

constexpr QualityChoice kQualityChoices[] = {
    {QualityMode::Fixed,       "Pevná komprese",      nullptr},
    {QualityMode::Automatic,   "Automatická kvalita", "skóre 1–100"},
    {QualityMode::MaxFileSize, "Velikost nejvýše",    "např. 500k, 2M"},
};

}  // namespace

void OptimizeDialog::BuildQualityRow() {
  // Part of "Vlastní": the presets bring their own quality mode.
  qualityModeCombo_ = new QComboBox(customPage_);
  qualityModeCombo_->setObjectName(QStringLiteral("qualityModeCombo"));
  for (const QualityChoice& choice : kQualityChoices) qualityModeCombo_->addItem(QString::fromUtf8(choice.title));
  qualityModeCombo_->setGeometry(8, 110, 161, 22);
  qualityTargetEdit_ = new QLineEdit(customPage_);
  qualityTargetEdit_->setObjectName(QStringLiteral("qualityTargetEdit"));
  qualityTargetEdit_->setGeometry(176, 110, 70, 22);
  qualityTargetEdit_->setMaxLength(12);
  qualityHintLabel_ = new QLabel(customPage_);
  qualityHintLabel_->setObjectName(QStringLiteral("qualityHintLabel"));
  qualityHintLabel_->setGeometry(252, 114, 125, 14);
  connect(qualityModeCombo_, &QComboBox::currentIndexChanged, this, &OptimizeDialog::QualityModeChosen);
}

void OptimizeDialog::QualityModeChosen() {
  // The edit holds the target of the mode shown before; keep it for that mode.
  const QualityMode previous = kQualityChoices[shownQualityMode_].mode;
  if (previous == QualityMode::Automatic) autoQualityScore_ = qualityTargetEdit_->text();
  if (previous == QualityMode::MaxFileSize) maxFileSize_ = qualityTargetEdit_->text();
  shownQualityMode_ = std::max(0, qualityModeCombo_->currentIndex());
  const QualityChoice& choice = kQualityChoices[shownQualityMode_];
  qualityTargetEdit_->setText(choice.mode == QualityMode::Automatic     ? autoQualityScore_
                              : choice.mode == QualityMode::MaxFileSize ? maxFileSize_
                                                                        : QString());
  qualityTargetEdit_->setVisible(choice.hint != nullptr);
  qualityHintLabel_->setText(choice.hint ? QString::fromUtf8(choice.hint) : QString());
  compressionGroup_->setEnabled(choice.mode == QualityMode::Fixed && !running_);
}

bool OptimizeDialog::QualityFromRow(lumatrim::OptimizeSettings& settings) const {
  settings.Quality = kQualityChoices[shownQualityMode_].mode;
  settings.MaxFileBytes = 0;  // the row has no ceiling for automatic quality; none is carried over
  try {
    if (settings.Quality == QualityMode::Automatic) {
      settings.AutoQualityScore = lumatrim::ParseScore(qualityTargetEdit_->text().toStdString());
    } else if (settings.Quality == QualityMode::MaxFileSize) {
      settings.MaxFileBytes = lumatrim::ParseFileSize(qualityTargetEdit_->text().toStdString());
    }
  } catch (const lumatrim::LumatrimError&) {
    return false;
  }
  return true;
}

bool OptimizeDialog::ReadQuality(lumatrim::OptimizeSettings& settings) {
  if (QualityFromRow(settings)) return true;
  Prompts::Message(this, settings.Quality == QualityMode::Automatic
                             ? QStringLiteral("Zadejte skóre kvality od 1 do 100, například 85.")
                             : QStringLiteral("Zadejte největší velikost souboru, například 500k nebo 2M."));
  qualityTargetEdit_->setFocus();
  return false;
}
