// The preset side of the optimisation dialog: the list, saving and deleting
// the user's presets, the options around them, the name preview and the
// size estimate.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include "core/bytes/Error.h"
#include "core/heif/HeifKind.h"
#include "core/optimize/NamePattern.h"
#include "settings/PresetStore.h"
#include "ui/optimize/BatchSummary.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/Prompts.h"
#include "ui/layout/Named.h"

namespace {

constexpr int kEstimateDelayMs = 300;  // typing a side settles before a photo is encoded
constexpr const char* kSuggestedFolder = "Lumatrim";
constexpr int kOptionsTop = 326;  // small photos, privacy, names: below "Vlastní"

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void OptimizeDialog::BuildPresetControls() {
  presetGroup_ = Named(new QGroupBox(QStringLiteral(" Předvolby "), this), "presetGroup");
  presetGroup_->setGeometry(8, 54, 369, 128);
  presetList_ = Named(new QListWidget(presetGroup_), "presetList");
  presetList_->setGeometry(8, 18, 225, 84);
  savePresetButton_ = Named(new QPushButton(QStringLiteral("Uložit jako…"), presetGroup_), "savePresetButton");
  savePresetButton_->setGeometry(239, 18, 122, 23);
  savePresetButton_->setToolTip(QStringLiteral("Uloží nastavení předvolby „Vlastní“ pod vlastním názvem"));
  deletePresetButton_ = Named(new QPushButton(QStringLiteral("Odstranit"), presetGroup_), "deletePresetButton");
  deletePresetButton_->setGeometry(239, 45, 122, 23);
  deletePresetButton_->setEnabled(false);
  estimateLabel_ = Named(new QLabel(presetGroup_), "estimateLabel");
  estimateLabel_->setGeometry(8, 105, 353, 16);

  estimateTimer_ = new QTimer(this);
  estimateTimer_->setSingleShot(true);
  estimateTimer_->setInterval(kEstimateDelayMs);
  connect(estimateTimer_, &QTimer::timeout, this, &OptimizeDialog::StartEstimate);
  connect(presetList_, &QListWidget::itemChanged, this, &OptimizeDialog::PresetTicked);
  connect(presetList_, &QListWidget::currentRowChanged, this, [this] {
    const QListWidgetItem* item = presetList_->currentItem();
    deletePresetButton_->setEnabled(item && item->data(Qt::UserRole).toBool() && !running_);
  });
  connect(savePresetButton_, &QPushButton::clicked, this, &OptimizeDialog::SavePresetClicked);
  connect(deletePresetButton_, &QPushButton::clicked, this, &OptimizeDialog::DeletePresetClicked);
}

void OptimizeDialog::BuildOptionControls() {
  enlargeCheck_ = Named(new QCheckBox(QStringLiteral("Zvětšovat malé fotografie"), this), "enlargeCheck");
  enlargeCheck_->setGeometry(12, kOptionsTop, 365, 18);
  keepIfSmallerCheck_ = Named(
      new QCheckBox(QStringLiteral("Přeskočit, pokud by výsledek nebyl menší"), this), "keepIfSmallerCheck");
  keepIfSmallerCheck_->setGeometry(12, kOptionsTop + 18, 365, 18);
  keepIfSmallerCheck_->setToolTip(QStringLiteral("Fotografie se pak zkopíruje beze změny"));
  removeGpsCheck_ = Named(new QCheckBox(QStringLiteral("Odstranit polohu (GPS)"), this), "removeGpsCheck");
  removeGpsCheck_->setGeometry(12, kOptionsTop + 36, 365, 18);
  convertColoursCheck_ = Named(new QCheckBox(QStringLiteral("Převést barvy do sRGB"), this), "convertColoursCheck");
  convertColoursCheck_->setGeometry(12, kOptionsTop + 54, 365, 18);
  convertColoursCheck_->setChecked(true);
  namePatternLabel_ = Named(new QLabel(QStringLiteral("Názvy:"), this), "namePatternLabel");
  namePatternLabel_->setGeometry(12, kOptionsTop + 80, 44, 14);
  namePatternEdit_ = Named(new QLineEdit(this), "namePatternEdit");
  namePatternEdit_->setGeometry(58, kOptionsTop + 77, 130, 21);
  namePatternEdit_->setToolTip(QStringLiteral("Pole: {název}, {datum}, {čas}, {pořadí}, {pořadí:3}"));
  namePreviewLabel_ = Named(new QLabel(this), "namePreviewLabel");
  namePreviewLabel_->setGeometry(194, kOptionsTop + 80, 183, 14);
  for (QCheckBox* check : {enlargeCheck_, keepIfSmallerCheck_}) {
    connect(check, &QCheckBox::toggled, this, &OptimizeDialog::EstimateLater);
  }
  connect(namePatternEdit_, &QLineEdit::textChanged, this, &OptimizeDialog::NamePatternEdited);
}

// Rows: the default presets, "Vlastní", then the user's (marked in UserRole).
void OptimizeDialog::FillPresetList(const QStringList& ticked) {
  const QSignalBlocker quiet(presetList_);
  presetList_->clear();
  presets_ = AllPresets(*ProgramSettings());
  const size_t defaults = lumatrim::DefaultPresets().size();
  QStringList names;
  for (size_t i = 0; i < presets_.size(); ++i) {
    if (i == defaults) names << QString::fromUtf8(lumatrim::kCustomPresetName);
    names << Q(presets_[i].Name);
  }
  if (presets_.size() == defaults) names << QString::fromUtf8(lumatrim::kCustomPresetName);
  for (int row = 0; row < names.size(); ++row) {
    auto* item = new QListWidgetItem(names[row], presetList_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked.contains(names[row]) ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::UserRole, row > static_cast<int>(defaults));
  }
  customPage_->setEnabled(CustomTicked());
}

QStringList OptimizeDialog::TickedPresets() const {
  QStringList names;
  for (int row = 0; row < presetList_->count(); ++row) {
    if (presetList_->item(row)->checkState() == Qt::Checked) names << presetList_->item(row)->text();
  }
  return names;
}

bool OptimizeDialog::CustomTicked() const {
  return TickedPresets().contains(QString::fromUtf8(lumatrim::kCustomPresetName));
}

void OptimizeDialog::SetPresetTicked(const QString& name, bool ticked) {
  for (int row = 0; row < presetList_->count(); ++row) {
    if (presetList_->item(row)->text() == name) presetList_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void OptimizeDialog::TickOnlyPreset(const QString& name) {
  for (int row = 0; row < presetList_->count(); ++row) SetPresetTicked(presetList_->item(row)->text(), false);
  SetPresetTicked(name, true);
}

void OptimizeDialog::PresetTicked() {
  customPage_->setEnabled(CustomTicked() && !running_);
  UpdateStartButton();
}

lumatrim::OptimizeSettings OptimizeDialog::CustomSettings() const {
  lumatrim::OptimizeSettings settings;
  settings.Compression = compressionSlider_->value();
  settings.KeepSize = originalSizeRadio_->isChecked();
  settings.ShortSide = static_cast<int>(widthEdit_->text().toLong());
  settings.LongSide = static_cast<int>(lengthEdit_->text().toLong());
  // The auto-filled field is only a 4:3 guide; the batch fits the free side to each photo.
  settings.Rule = fixedWidthRadio_->isChecked()    ? lumatrim::SizeRule::ShortSideFixed
                  : fixedLengthRadio_->isChecked() ? lumatrim::SizeRule::LongSideFixed
                                                   : lumatrim::SizeRule::BothSides;
  QualityFromRow(settings);
  return settings;
}

lumatrim::OptimizeSettings OptimizeDialog::SharedSettings() const {
  lumatrim::OptimizeSettings settings;
  settings.TargetFolder = targetFolderEdit_->text().toStdString();
  settings.RemoveGps = removeGpsCheck_->isChecked();
  settings.ConvertToSrgb = convertColoursCheck_->isChecked();
  settings.AllowEnlarge = enlargeCheck_->isChecked();
  settings.KeepIfSmaller = keepIfSmallerCheck_->isChecked();
  settings.NamePattern = namePatternEdit_->text().toStdString();
  for (const QString& subfolder : subfolders_) settings.Subfolders.push_back(subfolder.toStdString());
  return settings;
}

std::vector<lumatrim::OptimizePreset> OptimizeDialog::TickedPresetList() const {
  std::vector<lumatrim::OptimizePreset> ticked;
  for (const QString& name : TickedPresets()) {
    const lumatrim::OptimizePreset* found = lumatrim::FindPreset(presets_, name.toStdString());
    const bool custom = name == QString::fromUtf8(lumatrim::kCustomPresetName) || found == nullptr;
    ticked.push_back(custom ? lumatrim::PresetFromSettings(lumatrim::kCustomPresetName, CustomSettings()) : *found);
  }
  return ticked;
}

std::vector<lumatrim::OptimizeSettings> OptimizeDialog::PlannedRuns() const {
  const std::vector<lumatrim::OptimizePreset> ticked = TickedPresetList();
  std::vector<lumatrim::OptimizeSettings> runs;
  for (const lumatrim::OptimizePreset& preset : ticked) {
    lumatrim::OptimizeSettings run = SharedSettings();
    lumatrim::ApplyPreset(preset, run);
    // Several presets at once: each writes into a folder of its own.
    if (ticked.size() > 1) run.TargetFolder += "/" + preset.Subfolder;
    runs.push_back(std::move(run));
  }
  return runs;
}

QString OptimizeDialog::SubfolderClashText() const {
  const auto clash = lumatrim::FindSubfolderClash(TickedPresetList());
  if (!clash) return QString();
  return QStringLiteral("Předvolby „%1“ a „%2“ by zapsaly do stejné podsložky „%3“; jednu z nich přejmenujte "
                        "nebo ji nezaškrtávejte.")
      .arg(Q(clash->First), Q(clash->Second), Q(clash->Subfolder));
}

void OptimizeDialog::SavePresetClicked() {
  QString name;
  if (!Prompts::Input(this, QStringLiteral("Uložit předvolbu"),
                      QStringLiteral("Název předvolby (nastavení předvolby „Vlastní“):"), name)) {
    return;
  }
  name = name.trimmed();
  if (name.isEmpty()) return;
  // Any letter case counts: "vlastní" would be found instead of the dialog's fields.
  if (const QString reserved = Q(lumatrim::ReservedPresetName(name.toStdString())); !reserved.isEmpty()) {
    Prompts::Error(this, reserved == name
                             ? QStringLiteral("Předvolbu „%1“ nelze přepsat; zvolte jiný název.").arg(name)
                             : QStringLiteral("Název „%1“ se od předvolby „%2“ liší jen velikostí písmen; zvolte "
                                              "jiný název.").arg(name, reserved));
    return;
  }
  const std::unique_ptr<QSettings> file = ProgramSettings();
  std::vector<lumatrim::OptimizePreset> mine = LoadUserPresets(*file);
  std::erase_if(mine, [&](const lumatrim::OptimizePreset& p) { return lumatrim::SamePresetName(p.Name, name.toStdString()); });
  mine.push_back(lumatrim::PresetFromSettings(name.toStdString(), CustomSettings()));
  SaveUserPresets(*file, mine);
  QStringList ticked = TickedPresets();
  ticked << name;
  FillPresetList(ticked);
  UpdateStartButton();
}

void OptimizeDialog::DeletePresetClicked() {
  const QListWidgetItem* item = presetList_->currentItem();
  if (!item || !item->data(Qt::UserRole).toBool()) return;
  const QString name = item->text();
  if (!Prompts::Question(this, QStringLiteral("Odstranit předvolbu „%1“?").arg(name))) return;
  const std::unique_ptr<QSettings> file = ProgramSettings();
  std::vector<lumatrim::OptimizePreset> mine = LoadUserPresets(*file);
  std::erase_if(mine, [&](const lumatrim::OptimizePreset& p) { return Q(p.Name) == name; });
  SaveUserPresets(*file, mine);
  QStringList ticked = TickedPresets();
  ticked.removeAll(name);
  FillPresetList(ticked);
  deletePresetButton_->setEnabled(false);
  UpdateStartButton();
}

void OptimizeDialog::SetSources(const QStringList& paths, const QStringList& subfolders) {
  sources_ = paths;
  subfolders_ = subfolders;
  if (!paths.isEmpty() && !QFileInfo(targetFolderEdit_->text()).isDir()) {
    targetFolderEdit_->setText(QFileInfo(paths.first()).absoluteDir().filePath(QLatin1String(kSuggestedFolder)));
  }
  NamePatternEdited();
  UpdateStartButton();
}

// What the first photo will be called, as the user types the pattern.
void OptimizeDialog::NamePatternEdited() {
  UpdateStartButton();
  if (sources_.isEmpty()) return namePreviewLabel_->clear();
  const QFileInfo first(sources_.first());
  const std::string pattern = namePatternEdit_->text().toStdString();
  try {
    lumatrim::ValidateNamePattern(pattern);
  } catch (const lumatrim::LumatrimError&) {
    return namePreviewLabel_->setText(QStringLiteral("→ neplatný vzor"));
  }
  const lumatrim::PhotoTime taken =
      lumatrim::PatternUsesTime(pattern) ? lumatrim::PhotoTakenTime(sources_.first().toStdString()) : lumatrim::PhotoTime{};
  QString suffix = first.suffix().isEmpty() ? QString() : QStringLiteral(".") + first.suffix();
  if (lumatrim::HasHeifExtension(first.fileName().toStdString())) suffix = QStringLiteral(".jpg");  // as the batch names it
  const QString name = Q(lumatrim::ExpandNamePattern(pattern, first.completeBaseName().toStdString(), 1, taken)) + suffix;
  namePreviewLabel_->setText(QStringLiteral("→ ") + name);
  namePreviewLabel_->setToolTip(name);
}

void OptimizeDialog::EstimateLater() {
  if (estimateTimer_ == nullptr || running_) return;
  if (sources_.isEmpty() || !StartBlocker().isEmpty()) {
    estimateTimer_->stop();
    estimateLabel_->clear();
    return;
  }
  estimateLabel_->setText(QStringLiteral("Odhaduji velikost po optimalizaci…"));
  estimateTimer_->start();
}

void OptimizeDialog::StartEstimate() {
  std::vector<std::string> sources;
  for (const QString& source : sources_) sources.push_back(source.toStdString());
  estimator_->Start(std::move(sources), PlannedRuns());
}

void OptimizeDialog::ShowEstimate(quint64 before, quint64 after) {
  if (running_) return;
  QString text = after == 0 ? QStringLiteral("Velikost po optimalizaci nelze odhadnout.")
                            : QStringLiteral("Odhad: %1 → %2").arg(ByteSizeText(before), ByteSizeText(after));
  // Several presets write every photo several times.
  if (const qsizetype presets = TickedPresets().size(); after != 0 && presets > 1) {
    text += QStringLiteral(" (%1 %2)").arg(presets).arg(presets < 5 ? QStringLiteral("předvolby") : QStringLiteral("předvoleb"));
  }
  estimateLabel_->setText(text);
  emit EstimateShown();
}
