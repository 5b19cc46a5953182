#include "ui/optimize/OptimizeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <cmath>

#include "core/bytes/Error.h"
#include "core/optimize/NamePattern.h"
#include "ui/optimize/BatchRunner.h"
#include "ui/targetfolder/TargetFolderDialog.h"
#include "ui/layout/Named.h"

namespace {

constexpr int kMaxSideDigits = 5;  // 99999 px is more than any camera delivers
constexpr int kCustomTop = 186;    // where today's compression and size controls start
constexpr int kButtonsTop = 437;

// Integer value of a side edit; empty text counts as 0.
long SideValue(const QLineEdit* edit) { return edit->text().toLong(); }

}  // namespace

OptimizeDialog::OptimizeDialog(QWidget* parent, BatchFunction batch)
    : QDialog(parent), runner_(std::make_unique<BatchRunner>(std::move(batch))) {
  setObjectName(QStringLiteral("OptimizeDialog"));
  setWindowTitle(QStringLiteral("Optimalizace"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  // No close button: the dialog ends through "< Zpět" or a finished batch.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(385, kButtonsTop + 31);
  estimator_ = std::make_unique<SizeEstimator>();
  BuildControls();
  const OptimizeMemory memory = OptimizeMemory::Load();
  FillPresetList(memory.TickedPresets);
  Restore(memory);

  connect(runner_.get(), &BatchRunner::PhotoDone, this, &OptimizeDialog::OnPhotoDone,
          Qt::QueuedConnection);
  connect(removeGpsCheck_, &QCheckBox::toggled, this, [this] { Current().Save(); });
  connect(estimator_.get(), &SizeEstimator::Estimated, this, &OptimizeDialog::ShowEstimate, Qt::QueuedConnection);
  connect(convertColoursCheck_, &QCheckBox::toggled, this, [this] { Current().Save(); });
  connect(runner_.get(), &BatchRunner::Finished, this, &OptimizeDialog::OnBatchFinished,
          Qt::QueuedConnection);
}

OptimizeDialog::~OptimizeDialog() = default;

void OptimizeDialog::BuildControls() {
  targetGroup_ = Named(new QGroupBox(QStringLiteral(" Optimalizované uložit do "), this), "targetGroup");
  targetGroup_->setGeometry(8, 4, 369, 46);
  targetFolderEdit_ = Named(new QLineEdit(targetGroup_), "targetFolderEdit");
  targetFolderEdit_->setGeometry(8, 18, 321, 21);
  chooseTargetButton_ = Named(new QPushButton(QStringLiteral("..."), targetGroup_), "chooseTargetButton");
  chooseTargetButton_->setGeometry(335, 18, 26, 21);

  BuildPresetControls();
  // "Vlastní": the controls the dialog always had, used when that preset is ticked.
  customPage_ = Named(new QWidget(this), "customPage");
  customPage_->setGeometry(0, kCustomTop, 385, 136);
  compressionGroup_ = Named(new QGroupBox(QStringLiteral(" Komprese v % "), customPage_), "compressionGroup");
  compressionGroup_->setGeometry(8, 0, 161, 62);
  compressionSlider_ = Named(new QSlider(Qt::Horizontal, compressionGroup_), "compressionSlider");
  compressionSlider_->setGeometry(6, 18, 149, 20);
  compressionSlider_->setRange(0, 100);
  compressionSlider_->setSingleStep(1);
  compressionSlider_->setPageStep(10);
  compressionSlider_->setTickPosition(QSlider::NoTicks);
  compressionSlider_->setValue(20);
  compressionMinLabel_ = Named(new QLabel(QStringLiteral("0"), compressionGroup_), "compressionMinLabel");
  compressionMinLabel_->setGeometry(10, 42, 24, 14);
  compressionMaxLabel_ = Named(new QLabel(QStringLiteral("100"), compressionGroup_), "compressionMaxLabel");
  compressionMaxLabel_->setGeometry(127, 42, 26, 14);
  compressionMaxLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  compressionValueLabel_ = Named(new QLabel(QStringLiteral("20"), compressionGroup_), "compressionValueLabel");
  compressionValueLabel_->setGeometry(60, 42, 41, 14);
  compressionValueLabel_->setAlignment(Qt::AlignCenter);

  notePanel_ = Named(new QFrame(customPage_), "notePanel");
  notePanel_->setGeometry(8, 66, 161, 44);
  notePanel_->setAutoFillBackground(true);
  QPalette red = notePanel_->palette();
  red.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
  red.setColor(QPalette::WindowText, Qt::white);
  notePanel_->setPalette(red);
  noteLabel_ = Named(new QLabel(QStringLiteral("Optimalizace bude provedena u všech souborů umístěných v zásobníku"),
                            notePanel_),
                 "noteLabel");
  noteLabel_->setGeometry(4, 2, 153, 40);
  noteLabel_->setWordWrap(true);
  noteLabel_->setAlignment(Qt::AlignCenter);

  sizeGroup_ = Named(new QGroupBox(QStringLiteral(" Požadované rozměry (px) "), customPage_), "sizeGroup");
  sizeGroup_->setGeometry(176, 0, 201, 110);
  fixedWidthRadio_ =
      Named(new QRadioButton(QStringLiteral("Pevná šířka / volná délka"), sizeGroup_), "fixedWidthRadio");
  fixedWidthRadio_->setGeometry(8, 16, 185, 17);
  fixedWidthRadio_->setChecked(true);
  fixedLengthRadio_ =
      Named(new QRadioButton(QStringLiteral("Pevná délka / volná šířka"), sizeGroup_), "fixedLengthRadio");
  fixedLengthRadio_->setGeometry(8, 33, 185, 17);
  customSizeRadio_ = Named(new QRadioButton(QStringLiteral("Vlastní"), sizeGroup_), "customSizeRadio");
  customSizeRadio_->setGeometry(8, 50, 185, 17);
  originalSizeRadio_ =
      Named(new QRadioButton(QStringLiteral("Původní (bez změny)"), sizeGroup_), "originalSizeRadio");
  originalSizeRadio_->setGeometry(8, 67, 185, 17);

  // Sides are whole pixels: digits only, so no sign and no fractions get in.
  const QRegularExpression digits(QStringLiteral("[0-9]{0,%1}").arg(kMaxSideDigits));
  widthLabel_ = Named(new QLabel(QStringLiteral("Š."), sizeGroup_), "widthLabel");
  widthLabel_->setGeometry(10, 87, 14, 14);
  widthEdit_ = Named(new QLineEdit(QStringLiteral("0"), sizeGroup_), "widthEdit");
  widthEdit_->setGeometry(26, 84, 60, 21);
  widthEdit_->setValidator(new QRegularExpressionValidator(digits, widthEdit_));
  lengthLabel_ = Named(new QLabel(QStringLiteral("D."), sizeGroup_), "lengthLabel");
  lengthLabel_->setGeometry(104, 87, 14, 14);
  lengthEdit_ = Named(new QLineEdit(QStringLiteral("0"), sizeGroup_), "lengthEdit");
  lengthEdit_->setGeometry(120, 84, 60, 21);
  lengthEdit_->setValidator(new QRegularExpressionValidator(digits, lengthEdit_));
  lengthEdit_->setEnabled(false);

  BuildQualityRow();
  BuildOptionControls();

  progressBar_ = Named(new QProgressBar(this), "progressBar");
  progressBar_->setGeometry(8, kButtonsTop + 3, 190, 18);
  progressBar_->setRange(0, 0);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(true);
  progressBar_->hide();
  backButton_ = Named(new QPushButton(QStringLiteral("< Zpět"), this), "backButton");
  backButton_->setGeometry(206, kButtonsTop, 80, 25);
  startButton_ = Named(new QPushButton(QStringLiteral("Optimalizovat"), this), "startButton");
  startButton_->setGeometry(292, kButtonsTop, 85, 25);
  startButton_->setEnabled(false);
  for (QPushButton* button : {chooseTargetButton_, backButton_, startButton_, savePresetButton_, deletePresetButton_})
    button->setAutoDefault(false);

  connect(chooseTargetButton_, &QPushButton::clicked, this, &OptimizeDialog::ChooseTargetClicked);
  connect(compressionSlider_, &QSlider::valueChanged, this, &OptimizeDialog::CompressionChanged);
  connect(targetFolderEdit_, &QLineEdit::textChanged, this, &OptimizeDialog::UpdateStartButton);
  for (const SizeChoice& choice : SizeChoices()) connect(choice.radio, &QRadioButton::clicked, this, choice.chosen);
  connect(widthEdit_, &QLineEdit::textChanged, this, &OptimizeDialog::WidthEdited);
  connect(lengthEdit_, &QLineEdit::textChanged, this, &OptimizeDialog::LengthEdited);
  connect(startButton_, &QPushButton::clicked, this, &OptimizeDialog::StartClicked);
  connect(backButton_, &QPushButton::clicked, this, &OptimizeDialog::BackClicked);
}

void OptimizeDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  HideCloseButton();
}

void OptimizeDialog::HideCloseButton() {
  // The title bar's close button must stay away even if a window manager
  // re-added it; Esc and the window manager's close are refused in reject()
  // and closeEvent().
  if (windowFlags().testFlag(Qt::WindowCloseButtonHint))
    setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void OptimizeDialog::reject() {
  if (leaving_) QDialog::reject();
}

void OptimizeDialog::closeEvent(QCloseEvent* event) {
  if (leaving_) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

void OptimizeDialog::ChooseTargetClicked() {
  if (sources_.isEmpty()) return;
  auto* chooser = new TargetFolderDialog(targetFolderEdit_, this);
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  chooser->exec();
}

void OptimizeDialog::CompressionChanged() {
  compressionValueLabel_->setText(QString::number(compressionSlider_->value()));
  EstimateLater();
}

// The mode handlers set both texts to "0" (their change handlers run and
// disable the button), then the button gets the mode's own state.
void OptimizeDialog::SetSizeMode(bool widthEditable, bool lengthEditable) {
  widthEdit_->setEnabled(widthEditable);
  lengthEdit_->setEnabled(lengthEditable);
  widthEdit_->setText(QStringLiteral("0"));
  lengthEdit_->setText(QStringLiteral("0"));
  UpdateStartButton();
}

std::array<OptimizeDialog::SizeChoice, 4> OptimizeDialog::SizeChoices() const {
  using Mode = OptimizeMemory::SizeMode;
  return {{{Mode::FixedWidth, fixedWidthRadio_, &OptimizeDialog::FixedWidthChosen},
           {Mode::FixedLength, fixedLengthRadio_, &OptimizeDialog::FixedLengthChosen},
           {Mode::Custom, customSizeRadio_, &OptimizeDialog::CustomSizeChosen},
           {Mode::Original, originalSizeRadio_, &OptimizeDialog::OriginalSizeChosen}}};
}

void OptimizeDialog::FixedWidthChosen() { SetSizeMode(true, false); }
void OptimizeDialog::FixedLengthChosen() { SetSizeMode(false, true); }
void OptimizeDialog::CustomSizeChosen() { SetSizeMode(true, true); }
void OptimizeDialog::OriginalSizeChosen() { SetSizeMode(false, false); }

// Every mode but "Původní" needs both sides, so the button is never enabled
// while one of them is 0 or empty; its tool tip says what is missing.
void OptimizeDialog::UpdateStartButton() {
  if (running_) return;
  const QString blocker = StartBlocker();
  startButton_->setEnabled(blocker.isEmpty());
  startButton_->setToolTip(blocker);
  EstimateLater();
}

QString OptimizeDialog::StartBlocker() const {
  if (TickedPresets().isEmpty()) return QStringLiteral("Zaškrtněte alespoň jednu předvolbu.");
  if (CustomTicked() && !originalSizeRadio_->isChecked() && (SideValue(widthEdit_) <= 0 || SideValue(lengthEdit_) <= 0)) {
    return QStringLiteral("Zadejte požadované rozměry („Š.“ a „D.“) předvolby „Vlastní“.");
  }
  if (const QString clash = SubfolderClashText(); !clash.isEmpty()) return clash;
  if (targetFolderEdit_->text().trimmed().isEmpty()) return QStringLiteral("Zadejte cílovou složku.");
  try {
    lumatrim::ValidateNamePattern(namePatternEdit_->text().toStdString());
  } catch (const lumatrim::LumatrimError&) {
    return QStringLiteral("Vzor názvů není platný; pole jsou {název}, {datum}, {čas}, {pořadí} a {pořadí:3}.");
  }
  return QString();
}

void OptimizeDialog::WidthEdited() {
  // Only the user's typing fills the other side; text set by the program
  // (mode change, auto-fill) never does, since that edit has no focus.
  if (fixedWidthRadio_->isChecked() && widthEdit_->hasFocus()) {
    shortSide_ = static_cast<double>(SideValue(widthEdit_));
    // Long side of a 4:3 picture, halves rounded to even.
    const double longSide = std::nearbyint(shortSide_ + shortSide_ / 3.0);
    lengthEdit_->setText(QString::number(static_cast<long long>(longSide)));
  }
  UpdateStartButton();
}

void OptimizeDialog::LengthEdited() {
  if (fixedLengthRadio_->isChecked() && lengthEdit_->hasFocus()) {
    longSide_ = static_cast<double>(SideValue(lengthEdit_));
    const double shortSide = std::nearbyint(longSide_ - longSide_ / 4.0);
    widthEdit_->setText(QString::number(static_cast<long long>(shortSide)));
  }
  UpdateStartButton();
}

OptimizeMemory OptimizeDialog::Current() const {
  OptimizeMemory memory;
  memory.TargetFolder = targetFolderEdit_->text();
  memory.Compression = compressionSlider_->value();
  for (const SizeChoice& choice : SizeChoices())
    if (choice.radio->isChecked()) memory.Mode = choice.mode;
  memory.ShortSide = widthEdit_->text();
  memory.LongSide = lengthEdit_->text();
  memory.RemoveGps = removeGpsCheck_->isChecked();
  memory.TickedPresets = TickedPresets();
  memory.AllowEnlarge = enlargeCheck_->isChecked();
  memory.KeepIfSmaller = keepIfSmallerCheck_->isChecked();
  memory.NamePattern = namePatternEdit_->text();
  memory.Quality = static_cast<lumatrim::QualityMode>(qualityModeCombo_->currentIndex());
  const bool automatic = memory.Quality == lumatrim::QualityMode::Automatic;
  const bool limited = memory.Quality == lumatrim::QualityMode::MaxFileSize;
  memory.AutoQualityScore = automatic ? qualityTargetEdit_->text() : autoQualityScore_;
  memory.MaxFileSize = limited ? qualityTargetEdit_->text() : maxFileSize_;
  memory.AutoQualityCeiling = autoCeilingEdit_->text();
  memory.ConvertToSrgb = convertColoursCheck_->isChecked();
  return memory;
}

// The mode is chosen as a click would choose it (edits enabled, texts "0"),
// then the remembered sides are put back; no edit has the focus, so neither
// fills the other.
void OptimizeDialog::Restore(const OptimizeMemory& memory) {
  targetFolderEdit_->setText(memory.TargetFolder);
  compressionSlider_->setValue(memory.Compression);
  removeGpsCheck_->setChecked(memory.RemoveGps);
  enlargeCheck_->setChecked(memory.AllowEnlarge);
  keepIfSmallerCheck_->setChecked(memory.KeepIfSmaller);
  namePatternEdit_->setText(memory.NamePattern);
  autoQualityScore_ = memory.AutoQualityScore;
  maxFileSize_ = memory.MaxFileSize;
  autoCeilingEdit_->setText(memory.AutoQualityCeiling);
  shownQualityMode_ = 0;
  qualityModeCombo_->setCurrentIndex(static_cast<int>(memory.Quality));
  QualityModeChosen();
  convertColoursCheck_->setChecked(memory.ConvertToSrgb);
  for (const SizeChoice& choice : SizeChoices()) {
    if (choice.mode != memory.Mode) continue;
    choice.radio->setChecked(true);
    (this->*choice.chosen)();
  }
  if (memory.Mode == OptimizeMemory::SizeMode::Original) return;  // its sides stay "0"
  widthEdit_->setText(memory.ShortSide);
  lengthEdit_->setText(memory.LongSide);
  UpdateStartButton();
}
