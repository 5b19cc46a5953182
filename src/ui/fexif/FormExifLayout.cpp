// The fixed layout of the detail window; positions are those of its design.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/fexif/ExifGrid.h"
#include "ui/fexif/FormExif.h"

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

void TFormExif::BuildControls() {
  Page = Named(new QTabWidget(this), "Page");
  Page->setGeometry(0, 0, 385, 409);
  ButZav = Button(QStringLiteral("Zavřít"), this, "ButZav", QRect(304, 418, 75, 25));

  TabEx = Named(new QWidget, "TabEx");
  Page->addTab(TabEx, QStringLiteral("EXIF info"));
  GroupExif = Group(QStringLiteral(" Obecná data "), TabEx, "GroupExif", QRect(4, 10, 369, 188));
  SGrid = MakeExifGrid(GroupExif, "SGrid", QRect(2, 19, 364, 166), 2);
  GroupBox1 = Group(QStringLiteral(" Specifická data výrobce "), TabEx, "GroupBox1", QRect(4, 212, 369, 132));
  GridSp = MakeExifGrid(GroupBox1, "GridSp", QRect(2, 18, 364, 111), 2);
  ButSmaz = Button(QStringLiteral("Odstranit EXIF"), TabEx, "ButSmaz", QRect(8, 352, 99, 22));

  TabMini = Named(new QWidget, "TabMini");
  Page->addTab(TabMini, QStringLiteral("EXIF miniatura"));
  GroupBox3 = Group(QStringLiteral(" Data miniatury "), TabMini, "GroupBox3", QRect(4, 10, 369, 163));
  GridMini = MakeExifGrid(GroupBox3, "GridMini", QRect(2, 19, 364, 142), 2);
  LabMini = Named(new QLabel(QStringLiteral("Miniatura (0 x 0)"), TabMini), "LabMini");
  LabMini->move(8, 178);
  LabMini->adjustSize();
  Bevel1 = Named(new QFrame(TabMini), "Bevel1");
  Bevel1->setGeometry(8, 195, 209, 177);
  Bevel1->setFrameShape(QFrame::Panel);
  Bevel1->setFrameShadow(QFrame::Sunken);
  ImgMini = Named(new QLabel(TabMini), "ImgMini");
  ImgMini->setGeometry(12, 199, 201, 169);
  ImgMini->setAlignment(Qt::AlignCenter);  // centred, never scaled

  TabIP = Named(new QWidget, "TabIP");
  Page->addTab(TabIP, QStringLiteral("IPTC data"));
  GroupBox2 = Group(QStringLiteral(" Editovatelné položky "), TabIP, "GroupBox2", QRect(4, 4, 369, 341));
  GridTC = MakeExifGrid(GroupBox2, "GridTC", QRect(2, 18, 364, 321), 3);
  GridTC->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridTC->setSelectionMode(QAbstractItemView::SingleSelection);
  GridTC->setShowGrid(true);
  ButUlozTC = Button(QStringLiteral("Uložit IPTC"), TabIP, "ButUlozTC", QRect(8, 352, 99, 22));
  ButUlozTC->setEnabled(false);
  ButSmazTC = Button(QStringLiteral("Odstranit IPTC"), TabIP, "ButSmazTC", QRect(114, 352, 99, 22));
  ButSmazTC->hide();

  Page->setCurrentWidget(TabEx);

  connect(ButZav, &QPushButton::clicked, this, &TFormExif::ButZavClick);
  connect(ButSmaz, &QPushButton::clicked, this, &TFormExif::ButSmazClick);
  connect(ButUlozTC, &QPushButton::clicked, this, &TFormExif::ButUlozTCClick);
  connect(ButSmazTC, &QPushButton::clicked, this, &TFormExif::ButSmazTCClick);
  GridTC->viewport()->installEventFilter(this);
  GridTC->installEventFilter(this);
}
