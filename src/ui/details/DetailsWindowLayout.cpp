// The fixed layout of the detail window; positions are those of its design.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/details/DetailsWindow.h"
#include "ui/details/ExifGrid.h"

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QPushButton* Button(const QString& text, QWidget* parent, const char* name, const QRect& geometry) {
  auto* button = Named(new QPushButton(text, parent), name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QGroupBox* Group(const QString& title, QWidget* parent, const char* name, const QRect& geometry) {
  auto* group = Named(new QGroupBox(title, parent), name);
  group->setGeometry(geometry);
  return group;
}

}  // namespace

void DetailsWindow::BuildControls() {
  tabs_ = Named(new QTabWidget(this), "tabs");
  tabs_->setGeometry(0, 0, 385, 409);
  closeButton_ = Button(QStringLiteral("Zavřít"), this, "closeButton", QRect(304, 418, 75, 25));

  exifTab_ = Named(new QWidget, "exifTab");
  tabs_->addTab(exifTab_, QStringLiteral("EXIF info"));
  generalGroup_ = Group(QStringLiteral(" Obecná data "), exifTab_, "generalGroup", QRect(4, 10, 369, 188));
  generalGrid_ = MakeExifGrid(generalGroup_, "generalGrid", QRect(2, 19, 364, 166), 2);
  makerGroup_ = Group(QStringLiteral(" Specifická data výrobce "), exifTab_, "makerGroup", QRect(4, 212, 369, 132));
  makerGrid_ = MakeExifGrid(makerGroup_, "makerGrid", QRect(2, 18, 364, 111), 2);
  removeExifButton_ = Button(QStringLiteral("Odstranit EXIF"), exifTab_, "removeExifButton", QRect(8, 352, 99, 22));

  thumbnailTab_ = Named(new QWidget, "thumbnailTab");
  tabs_->addTab(thumbnailTab_, QStringLiteral("EXIF miniatura"));
  thumbnailGroup_ = Group(QStringLiteral(" Data miniatury "), thumbnailTab_, "thumbnailGroup", QRect(4, 10, 369, 163));
  thumbnailGrid_ = MakeExifGrid(thumbnailGroup_, "thumbnailGrid", QRect(2, 19, 364, 142), 2);
  thumbnailSizeLabel_ = Named(new QLabel(QStringLiteral("Miniatura (0 x 0)"), thumbnailTab_), "thumbnailSizeLabel");
  thumbnailSizeLabel_->move(8, 178);
  thumbnailSizeLabel_->adjustSize();
  thumbnailFrame_ = Named(new QFrame(thumbnailTab_), "thumbnailFrame");
  thumbnailFrame_->setGeometry(8, 195, 209, 177);
  thumbnailFrame_->setFrameShape(QFrame::Panel);
  thumbnailFrame_->setFrameShadow(QFrame::Sunken);
  thumbnailPicture_ = Named(new QLabel(thumbnailTab_), "thumbnailPicture");
  thumbnailPicture_->setGeometry(12, 199, 201, 169);
  thumbnailPicture_->setAlignment(Qt::AlignCenter);  // centred, never scaled

  iptcTab_ = Named(new QWidget, "iptcTab");
  tabs_->addTab(iptcTab_, QStringLiteral("IPTC data"));
  iptcGroup_ = Group(QStringLiteral(" Editovatelné položky "), iptcTab_, "iptcGroup", QRect(4, 4, 369, 341));
  iptcGrid_ = MakeExifGrid(iptcGroup_, "iptcGrid", QRect(2, 18, 364, 321), 3);
  iptcGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  iptcGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  iptcGrid_->setShowGrid(true);
  saveIptcButton_ = Button(QStringLiteral("Uložit IPTC"), iptcTab_, "saveIptcButton", QRect(8, 352, 99, 22));
  saveIptcButton_->setEnabled(false);
  removeIptcButton_ = Button(QStringLiteral("Odstranit IPTC"), iptcTab_, "removeIptcButton", QRect(114, 352, 99, 22));
  removeIptcButton_->hide();

  tabs_->setCurrentWidget(exifTab_);

  connect(closeButton_, &QPushButton::clicked, this, &DetailsWindow::CloseClicked);
  connect(removeExifButton_, &QPushButton::clicked, this, &DetailsWindow::RemoveExifClicked);
  connect(saveIptcButton_, &QPushButton::clicked, this, &DetailsWindow::SaveIptcClicked);
  connect(removeIptcButton_, &QPushButton::clicked, this, &DetailsWindow::RemoveIptcClicked);
  iptcGrid_->viewport()->installEventFilter(this);
  iptcGrid_->installEventFilter(this);
}
