#include "ui/optimal/FormOpti.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <cmath>

#include "ui/cil/FormCil.h"
#include "ui/cil/Prompts.h"
#include "ui/optimal/OptiBatchRunner.h"

namespace {

constexpr int kMaxSideDigits = 5;  // 99999 px is more than any camera delivers

// Integer value of a side edit; empty text counts as 0.
long SideValue(const QLineEdit* edit) { return edit->text().toLong(); }

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

TFormOpti::TFormOpti(QWidget* parent, OptiBatchFunction batch)
    : QDialog(parent), runner_(std::make_unique<OptiBatchRunner>(std::move(batch))) {
  setObjectName(QStringLiteral("FormOpti"));
  setWindowTitle(QStringLiteral("Optimalizace"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  // No close button: the dialog ends through "< Zpět" or a finished batch.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(385, 199);
  BuildControls();

  connect(runner_.get(), &OptiBatchRunner::PhotoDone, this, &TFormOpti::OnPhotoDone,
          Qt::QueuedConnection);
  connect(runner_.get(), &OptiBatchRunner::Finished, this, &TFormOpti::OnBatchFinished,
          Qt::QueuedConnection);
}

TFormOpti::~TFormOpti() = default;

void TFormOpti::BuildControls() {
  GroupUloz = Named(new QGroupBox(QStringLiteral(" Optimalizované uložit do "), this), "GroupUloz");
  GroupUloz->setGeometry(8, 4, 369, 46);
  EditCil = Named(new QLineEdit(GroupUloz), "EditCil");
  EditCil->setGeometry(8, 18, 321, 21);
  ButCil = Named(new QPushButton(QStringLiteral("..."), GroupUloz), "ButCil");
  ButCil->setGeometry(335, 18, 26, 21);

  GroupKom = Named(new QGroupBox(QStringLiteral(" Komprese v % "), this), "GroupKom");
  GroupKom->setGeometry(8, 54, 161, 62);
  Track = Named(new QSlider(Qt::Horizontal, GroupKom), "Track");
  Track->setGeometry(6, 18, 149, 20);
  Track->setRange(0, 100);
  Track->setSingleStep(1);
  Track->setPageStep(10);
  Track->setTickPosition(QSlider::NoTicks);
  Track->setValue(20);
  Label3 = Named(new QLabel(QStringLiteral("0"), GroupKom), "Label3");
  Label3->setGeometry(10, 42, 24, 14);
  Label2 = Named(new QLabel(QStringLiteral("100"), GroupKom), "Label2");
  Label2->setGeometry(127, 42, 26, 14);
  Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LabTrack = Named(new QLabel(QStringLiteral("20"), GroupKom), "LabTrack");
  LabTrack->setGeometry(60, 42, 41, 14);
  LabTrack->setAlignment(Qt::AlignCenter);

  Panel3 = Named(new QFrame(this), "Panel3");
  Panel3->setGeometry(8, 120, 161, 44);
  Panel3->setAutoFillBackground(true);
  QPalette red = Panel3->palette();
  red.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
  red.setColor(QPalette::WindowText, Qt::white);
  Panel3->setPalette(red);
  Label8 = Named(new QLabel(QStringLiteral("Optimalizace bude provedena u všech souborů umístěných v zásobníku"),
                            Panel3),
                 "Label8");
  Label8->setGeometry(4, 2, 153, 40);
  Label8->setWordWrap(true);
  Label8->setAlignment(Qt::AlignCenter);

  GroupVel = Named(new QGroupBox(QStringLiteral(" Požadované rozměry (px) "), this), "GroupVel");
  GroupVel->setGeometry(176, 54, 201, 110);
  RadSirka = Named(new QRadioButton(QStringLiteral("Pevná šířka / volná délka"), GroupVel), "RadSirka");
  RadSirka->setGeometry(8, 16, 185, 17);
  RadSirka->setChecked(true);
  RadDelka = Named(new QRadioButton(QStringLiteral("Pevná délka / volná šířka"), GroupVel), "RadDelka");
  RadDelka->setGeometry(8, 33, 185, 17);
  RadVlast = Named(new QRadioButton(QStringLiteral("Vlastní"), GroupVel), "RadVlast");
  RadVlast->setGeometry(8, 50, 185, 17);
  RadPuvod = Named(new QRadioButton(QStringLiteral("Původní (bez změny)"), GroupVel), "RadPuvod");
  RadPuvod->setGeometry(8, 67, 185, 17);

  // Sides are whole pixels: digits only, so no sign and no fractions get in.
  const QRegularExpression digits(QStringLiteral("[0-9]{0,%1}").arg(kMaxSideDigits));
  Label4 = Named(new QLabel(QStringLiteral("Š."), GroupVel), "Label4");
  Label4->setGeometry(10, 87, 14, 14);
  EditSir = Named(new QLineEdit(QStringLiteral("0"), GroupVel), "EditSir");
  EditSir->setGeometry(26, 84, 60, 21);
  EditSir->setValidator(new QRegularExpressionValidator(digits, EditSir));
  Label5 = Named(new QLabel(QStringLiteral("D."), GroupVel), "Label5");
  Label5->setGeometry(104, 87, 14, 14);
  EditDel = Named(new QLineEdit(QStringLiteral("0"), GroupVel), "EditDel");
  EditDel->setGeometry(120, 84, 60, 21);
  EditDel->setValidator(new QRegularExpressionValidator(digits, EditDel));
  EditDel->setEnabled(false);

  Gauge = Named(new QProgressBar(this), "Gauge");
  Gauge->setGeometry(8, 172, 190, 18);
  Gauge->setRange(0, 0);
  Gauge->setValue(0);
  Gauge->setTextVisible(true);
  Gauge->hide();
  ButZav = Named(new QPushButton(QStringLiteral("< Zpět"), this), "ButZav");
  ButZav->setGeometry(206, 169, 80, 25);
  ButProces = Named(new QPushButton(QStringLiteral("Optimalizovat"), this), "ButProces");
  ButProces->setGeometry(292, 169, 85, 25);
  ButProces->setEnabled(false);
  for (QPushButton* button : {ButCil, ButZav, ButProces}) button->setAutoDefault(false);

  ListZdroj = Named(new QListWidget(this), "ListZdroj");
  ListZdroj->hide();

  connect(ButCil, &QPushButton::clicked, this, &TFormOpti::ButCilClick);
  connect(Track, &QSlider::valueChanged, this, &TFormOpti::TrackChange);
  connect(RadSirka, &QRadioButton::clicked, this, &TFormOpti::RadSirkaClick);
  connect(RadDelka, &QRadioButton::clicked, this, &TFormOpti::RadDelkaClick);
  connect(RadVlast, &QRadioButton::clicked, this, &TFormOpti::RadVlastClick);
  connect(RadPuvod, &QRadioButton::clicked, this, &TFormOpti::RadPuvodClick);
  connect(EditSir, &QLineEdit::textChanged, this, &TFormOpti::EditSirChange);
  connect(EditDel, &QLineEdit::textChanged, this, &TFormOpti::EditDelChange);
  connect(ButProces, &QPushButton::clicked, this, &TFormOpti::ButProcesClick);
  connect(ButZav, &QPushButton::clicked, this, &TFormOpti::ButZavClick);
}

void TFormOpti::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormOpti::FormShow() {
  // The title bar's close button must stay away even if a window manager
  // re-added it; Esc and the window manager's close are refused in reject()
  // and closeEvent().
  if (windowFlags().testFlag(Qt::WindowCloseButtonHint))
    setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void TFormOpti::reject() {
  if (leaving_) QDialog::reject();
}

void TFormOpti::closeEvent(QCloseEvent* event) {
  if (leaving_) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

void TFormOpti::ButCilClick() {
  if (ListZdroj->count() == 0) return;
  auto* chooser = new TFormCil(EditCil, this);
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  chooser->exec();
}

void TFormOpti::TrackChange() { LabTrack->setText(QString::number(Track->value())); }

// The mode handlers set both texts to "0" (their change handlers run and
// disable the button), then the button gets the mode's own state.
void TFormOpti::SetMode(bool sir, bool del, bool procesEnabled) {
  EditSir->setEnabled(sir);
  EditDel->setEnabled(del);
  EditSir->setText(QStringLiteral("0"));
  EditDel->setText(QStringLiteral("0"));
  ButProces->setEnabled(procesEnabled);
}

void TFormOpti::RadSirkaClick() { SetMode(true, false, false); }
void TFormOpti::RadDelkaClick() { SetMode(false, true, false); }
void TFormOpti::RadVlastClick() { SetMode(true, true, false); }
void TFormOpti::RadPuvodClick() { SetMode(false, false, true); }

// Every mode but "Původní" needs both sides, so the button is never enabled
// while one of them is 0 or empty.
void TFormOpti::UpdateProcesState() {
  if (running_) return;
  ButProces->setEnabled(RadPuvod->isChecked() || (SideValue(EditSir) > 0 && SideValue(EditDel) > 0));
}

void TFormOpti::EditSirChange() {
  // Only the user's typing fills the other side; text set by the program
  // (mode change, auto-fill) never does, since that edit has no focus.
  if (RadSirka->isChecked() && EditSir->hasFocus()) {
    ShortSide = static_cast<double>(SideValue(EditSir));
    // Long side of a 4:3 picture, halves rounded to even.
    const double longSide = std::nearbyint(ShortSide + ShortSide / 3.0);
    EditDel->setText(QString::number(static_cast<long long>(longSide)));
  }
  UpdateProcesState();
}

void TFormOpti::EditDelChange() {
  if (RadDelka->isChecked() && EditDel->hasFocus()) {
    LongSide = static_cast<double>(SideValue(EditDel));
    const double shortSide = std::nearbyint(LongSide - LongSide / 4.0);
    EditSir->setText(QString::number(static_cast<long long>(shortSide)));
  }
  UpdateProcesState();
}

void TFormOpti::ButZavClick() {
  if (running_) return;
  leaving_ = true;
  done(QDialog::Rejected);
}

void TFormOpti::SetRunning(bool running) {
  running_ = running;
  ButZav->setVisible(!running);
  GroupUloz->setEnabled(!running);
  GroupKom->setEnabled(!running);
  GroupVel->setEnabled(!running);
  if (running) {
    ButProces->setEnabled(false);
  } else {
    UpdateProcesState();
  }
}

void TFormOpti::ButProcesClick() {
  if (running_) return;
  if (EditCil->text().isEmpty()) {
    Prompts::Message(this, QStringLiteral("Zadejte cestu k uložení!"));
    return;
  }
  OptiBatchSettings settings;
  for (int i = 0; i < ListZdroj->count(); ++i) settings.Sources.push_back(ListZdroj->item(i)->text());
  settings.TargetFolder = EditCil->text();
  settings.Compression = Track->value();
  settings.KeepSize = RadPuvod->isChecked();
  settings.ShortSide = static_cast<int>(SideValue(EditSir));
  settings.LongSide = static_cast<int>(SideValue(EditDel));
  // The auto-filled field is only a 4:3 guide; the batch fits the free side to each photo.
  settings.Rule = RadSirka->isChecked()   ? lumatrim::SizeRule::ShortSideFixed
                  : RadDelka->isChecked() ? lumatrim::SizeRule::LongSideFixed
                                          : lumatrim::SizeRule::BothSides;

  Gauge->setRange(0, std::max(1, static_cast<int>(settings.Sources.size())));
  Gauge->setValue(0);
  Gauge->show();
  SetRunning(true);
  // The photos are processed off this thread; progress and the end come
  // back as queued signals, so the window keeps repainting.
  runner_->Start(std::move(settings));
}

void TFormOpti::OnPhotoDone(int done) {
  if (done > Gauge->value()) Gauge->setValue(done);
}

void TFormOpti::OnBatchFinished(bool success, const QString& message) {
  if (success) {
    Gauge->setValue(Gauge->maximum());
    Prompts::Message(this, QStringLiteral("Optimalizace byla úspěšně dokončena."));
    running_ = false;
    emit BatchCompleted();
    emit BatchEnded(true);
    leaving_ = true;
    done(QDialog::Accepted);
    return;
  }
  // The failure's own message, then the dialog is usable again: the user can
  // correct the target or the sizes and start again, or go back.
  Prompts::Error(this, message);
  Gauge->hide();
  Gauge->setValue(0);
  SetRunning(false);
  emit BatchEnded(false);
}
