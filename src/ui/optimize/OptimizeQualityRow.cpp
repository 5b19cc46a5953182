// The optimisation dialog's quality row: fixed compression, "Automatická
// kvalita" with its score and an optional size ceiling, or "Velikost nejvýše"
// with its size limit.
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
    {QualityMode::Automatic,   "Automatická kvalita", "skóre, nejvýše"},
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
  // Automatic quality may also be held under a size, as "E-mail" is.
  autoCeilingEdit_ = new QLineEdit(customPage_);
  autoCeilingEdit_->setObjectName(QStringLiteral("autoCeilingEdit"));
  autoCeilingEdit_->setGeometry(306, 110, 71, 22);
  autoCeilingEdit_->setMaxLength(12);
  autoCeilingEdit_->setPlaceholderText(QStringLiteral("bez limitu"));
  autoCeilingEdit_->setToolTip(QStringLiteral("Fotografie větší než tato velikost dostane nejlepší kvalitu, která se "
                                              "do ní vejde; prázdné pole: bez limitu"));
  connect(qualityModeCombo_, &QComboBox::currentIndexChanged, this, &OptimizeDialog::QualityModeChosen);
  for (QLineEdit* edit : {qualityTargetEdit_, autoCeilingEdit_}) {
    connect(edit, &QLineEdit::textChanged, this, &OptimizeDialog::EstimateLater);
  }
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
  // The score is short: its edit narrows to make room for the ceiling.
  const bool automatic = choice.mode == QualityMode::Automatic;
  qualityTargetEdit_->setGeometry(176, 110, automatic ? 36 : 70, 22);
  qualityHintLabel_->setGeometry(automatic ? 216 : 252, 114, automatic ? 88 : 125, 14);
  autoCeilingEdit_->setVisible(automatic);
  qualityTargetEdit_->setToolTip(automatic ? QStringLiteral("Skóre kvality od 1 do 100; 85 je dobrá kvalita pro web")
                                           : QString());
  EstimateLater();
  compressionGroup_->setEnabled(choice.mode == QualityMode::Fixed && !running_);
}

QLineEdit* OptimizeDialog::QualityFromRow(lumatrim::OptimizeSettings& settings) const {
  settings.Quality = kQualityChoices[shownQualityMode_].mode;
  settings.MaxFileBytes = 0;
  QLineEdit* reading = qualityTargetEdit_;
  try {
    if (settings.Quality == QualityMode::Automatic) {
      settings.AutoQualityScore = lumatrim::ParseScore(reading->text().toStdString());
      reading = autoCeilingEdit_;
      if (!reading->text().trimmed().isEmpty()) settings.MaxFileBytes = lumatrim::ParseFileSize(reading->text().toStdString());
    } else if (settings.Quality == QualityMode::MaxFileSize) {
      settings.MaxFileBytes = lumatrim::ParseFileSize(reading->text().toStdString());
    }
  } catch (const lumatrim::LumatrimError&) {
    return reading;
  }
  return nullptr;
}

bool OptimizeDialog::ReadQuality(lumatrim::OptimizeSettings& settings) {
  QLineEdit* unreadable = QualityFromRow(settings);
  if (unreadable == nullptr) return true;
  Prompts::Message(this, unreadable == autoCeilingEdit_
                             ? QStringLiteral("Zadejte největší velikost souboru, například 500k nebo 2M, "
                                              "nebo pole nechte prázdné.")
                         : settings.Quality == QualityMode::Automatic
                             ? QStringLiteral("Zadejte skóre kvality od 1 do 100, například 85.")
                             : QStringLiteral("Zadejte největší velikost souboru, například 500k nebo 2M."));
  unreadable->setFocus();
  return false;
}
