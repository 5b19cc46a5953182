// The layout of the detail window: at its designed size every control is
// where the design puts it; a larger window gives the extra room to the grids
// and the thumbnail.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/details/DetailsWindow.h"
#include "ui/details/CodePagePicker.h"
#include "ui/details/ExifGrid.h"
#include "ui/layout/AnchorLayout.h"
#include "ui/layout/Named.h"

namespace {

using Share = AnchorLayout::Share;

AnchorLayout* LayoutOf(QWidget* parent) { return static_cast<AnchorLayout*>(parent->layout()); }

template <typename T>
T* Placed(T* widget, const QRect& geometry, Share share) {
  LayoutOf(widget->parentWidget())->Place(widget, geometry, share);
  return widget;
}

QPushButton* Button(const QString& text, QWidget* parent, const char* name, const QRect& geometry,
                    Share share = {0, 1, 0, 0}) {
  auto* button = Placed(Named(new QPushButton(text, parent), name), geometry, share);
  button->setAutoDefault(false);
  return button;
}

QGroupBox* Group(const QString& title, QWidget* parent, const char* name, const QRect& geometry, Share share) {
  auto* group = Placed(Named(new QGroupBox(title, parent), name), geometry, share);
  new AnchorLayout(group, geometry.size());
  return group;
}

// The designed size of the window, which a tab page grows with (the page's
// own size is the tab control less its tab bar, whose height is the style's).
constexpr QSize kWindowSize(385, 453);

}  // namespace

void DetailsWindow::BuildControls() {
  new AnchorLayout(this, kWindowSize);
  tabs_ = Placed(Named(new QTabWidget(this), "tabs"), QRect(0, 0, 385, 409), {0, 0, 1, 1});
  closeButton_ = Button(QStringLiteral("Zavřít"), this, "closeButton", QRect(304, 418, 75, 25), {1, 1, 0, 0});
  // Beside "Zavřít": the page in which old non-UTF-8 texts are read; the
  // label as wide as its text in the window's font, the picker after it.
  const QString codePageText = QStringLiteral("Kódová stránka starších textů:");
  const int labelWidth = fontMetrics().horizontalAdvance(codePageText) + 4;
  codePageLabel_ = Placed(Named(new QLabel(codePageText, this), "codePageLabel"), QRect(8, 418, labelWidth, 25),
                          {0, 1, 0, 0});
  const int pickerLeft = 8 + labelWidth + 4;
  codePagePicker_ = Placed(new CodePagePicker(this), QRect(pickerLeft, 419, 298 - pickerLeft, 23), {0, 1, 0, 0});
  codePageLabel_->setBuddy(codePagePicker_);

  exifTab_ = Named(new QWidget, "exifTab");
  new AnchorLayout(exifTab_, kWindowSize, this);
  tabs_->addTab(exifTab_, QStringLiteral("EXIF info"));
  generalGroup_ =
      Group(QStringLiteral(" Obecná data "), exifTab_, "generalGroup", QRect(4, 10, 369, 188), {0, 0, 1, 1});
  generalGrid_ = Placed(MakeExifGrid(generalGroup_, "generalGrid", QRect(2, 19, 364, 166), 2),
                        QRect(2, 19, 364, 166), {0, 0, 1, 1});
  // The maker notes are a few lines at most: the tag table above takes the height.
  makerGroup_ = Group(QStringLiteral(" Specifická data výrobce "), exifTab_, "makerGroup", QRect(4, 212, 369, 132),
                      {0, 1, 1, 0});
  makerGrid_ =
      Placed(MakeExifGrid(makerGroup_, "makerGrid", QRect(2, 18, 364, 111), 2), QRect(2, 18, 364, 111), {0, 0, 1, 1});
  removeExifButton_ = Button(QStringLiteral("Odstranit EXIF"), exifTab_, "removeExifButton", QRect(8, 352, 99, 22));
  removeGpsButton_ = Button(QStringLiteral("Odstranit GPS"), exifTab_, "removeGpsButton", QRect(114, 352, 99, 22));
  technicalBox_ = Placed(Named(new QCheckBox(QStringLiteral("Zobrazit technické údaje"), exifTab_), "technicalBox"),
                         QRect(8, 197, 250, 15), {0, 0.5, 0, 0});
  mapLink_ = Placed(Named(new QLabel(exifTab_), "mapLink"), QRect(222, 352, 150, 22), {0, 1, 0, 0});
  mapLink_->setTextFormat(Qt::RichText);
  mapLink_->setOpenExternalLinks(true);  // mapy.cz in the user's browser

  thumbnailTab_ = Named(new QWidget, "thumbnailTab");
  new AnchorLayout(thumbnailTab_, kWindowSize, this);
  tabs_->addTab(thumbnailTab_, QStringLiteral("EXIF miniatura"));
  thumbnailGroup_ = Group(QStringLiteral(" Data miniatury "), thumbnailTab_, "thumbnailGroup",
                          QRect(4, 10, 369, 163), {0, 0, 1, 0.5});
  thumbnailGrid_ = Placed(MakeExifGrid(thumbnailGroup_, "thumbnailGrid", QRect(2, 19, 364, 142), 2),
                          QRect(2, 19, 364, 142), {0, 0, 1, 1});
  thumbnailSizeLabel_ = Named(new QLabel(QStringLiteral("Miniatura (0 x 0)"), thumbnailTab_), "thumbnailSizeLabel");
  Placed(thumbnailSizeLabel_, QRect(8, 178, 200, 14), {0, 0.5, 0, 0});
  thumbnailFrame_ = Placed(Named(new QFrame(thumbnailTab_), "thumbnailFrame"), QRect(8, 195, 209, 177),
                           {0, 0.5, 1, 0.5});
  thumbnailFrame_->setFrameShape(QFrame::Panel);
  thumbnailFrame_->setFrameShadow(QFrame::Sunken);
  thumbnailPicture_ = Placed(Named(new QLabel(thumbnailTab_), "thumbnailPicture"), QRect(12, 199, 201, 169),
                             {0, 0.5, 1, 0.5});
  thumbnailPicture_->setAlignment(Qt::AlignCenter);  // centred, never scaled

  iptcTab_ = Named(new QWidget, "iptcTab");
  new AnchorLayout(iptcTab_, kWindowSize, this);
  tabs_->addTab(iptcTab_, QStringLiteral("IPTC data"));
  iptcGroup_ =
      Group(QStringLiteral(" Editovatelné položky "), iptcTab_, "iptcGroup", QRect(4, 4, 369, 341), {0, 0, 1, 1});
  iptcGrid_ =
      Placed(MakeExifGrid(iptcGroup_, "iptcGrid", QRect(2, 18, 364, 321), 3), QRect(2, 18, 364, 321), {0, 0, 1, 1});
  iptcGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  iptcGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  iptcGrid_->setShowGrid(true);
  saveIptcButton_ = Button(QStringLiteral("Uložit IPTC"), iptcTab_, "saveIptcButton", QRect(8, 352, 99, 22));
  saveIptcButton_->setEnabled(false);
  removeIptcButton_ = Button(QStringLiteral("Odstranit IPTC"), iptcTab_, "removeIptcButton", QRect(114, 352, 99, 22));
  removeIptcButton_->hide();

  BuildXmpTab();

  tabs_->setCurrentWidget(exifTab_);

  connect(closeButton_, &QPushButton::clicked, this, &DetailsWindow::CloseClicked);
  connect(codePagePicker_, &CodePagePicker::CodePageChanged, this, [this] {
    LoadPhoto();
    emit CodePageChanged();
  });
  connect(removeExifButton_, &QPushButton::clicked, this, &DetailsWindow::RemoveExifClicked);
  connect(removeGpsButton_, &QPushButton::clicked, this, &DetailsWindow::RemoveGpsClicked);
  connect(technicalBox_, &QCheckBox::toggled, this, &DetailsWindow::FillExifGrids);
  connect(saveIptcButton_, &QPushButton::clicked, this, &DetailsWindow::SaveIptcClicked);
  connect(removeIptcButton_, &QPushButton::clicked, this, &DetailsWindow::RemoveIptcClicked);
  iptcGrid_->viewport()->installEventFilter(this);
  iptcGrid_->installEventFilter(this);
}
