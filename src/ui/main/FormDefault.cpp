#include "ui/main/FormDefault.h"

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeView>

#include "core/exif/ImgData.h"
#include "rotation/JpegRotator.h"
#include "ui/main/AppTitle.h"
#include "ui/main/FileListBox.h"
#include "ui/main/GroupFrame.h"
#include "ui/main/MainIcons.h"
#include "ui/main/TrayListBox.h"
#include "ui/photoimage/PhotoImage.h"

namespace {

constexpr int kClientWidth = 653;
constexpr int kClientHeight = 509;
constexpr int kStatusHeight = 19;
const QColor kCream(0xFF, 0xFB, 0xF0);

const char* const kSummaryCaptions[12] = {"Fotoaparát", "Model",    "Kvalita",   "Blesk",   "Ohnisko", "Expozice",
                                          "Clona",      "Citlivost", "Program", "Měření", "Software", "Vytvořeno"};

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, QRect place) {
  auto* group = new TGroupFrame(title, parent);
  group->setObjectName(QString::fromLatin1(name));
  group->setGeometry(place);
  // Opaque, so the frame of GroupBox1 lying beneath shows only below the columns.
  group->setAutoFillBackground(true);
  return group;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect place, bool enabled) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setEnabled(enabled);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QRect place, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setAlignment(align | Qt::AlignVCenter);
  return label;
}

QLabel* Icon(QWidget* parent, const char* name, const QPixmap& pixmap, QPoint at, const QString& hint) {
  auto* icon = new QLabel(parent);
  icon->setObjectName(QString::fromLatin1(name));
  icon->setPixmap(pixmap);
  icon->setGeometry(QRect(at, QSize(32, 32)));
  icon->setCursor(Qt::PointingHandCursor);
  icon->setToolTip(hint);
  return icon;
}

}  // namespace

TFormDefault::TFormDefault(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FormDefault"));
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setWindowIcon(MainIcons::AppIcon());
  QFont font(QStringLiteral("DejaVu Sans"), 8);
  font.setStyleHint(QFont::SansSerif);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);
  BuildLayout();

  // The owned objects, in the order the window makes them.
  MetaData = std::make_unique<lumatrim::TimgData>(255);
  Rotator_ = std::make_unique<JpegRotator>();
  Preview_ = new TPhotoImage(ImagePanel);
  Preview_->SetCropControls(btnCrop, Label204);

  ShowFolder(QDir::currentPath());
  RevealWorkingFolder();
}

TFormDefault::~TFormDefault() {
  ListTarget->setAcceptDrops(false);
  MetaData.reset();
  delete Preview_;
}

void TFormDefault::BuildLayout() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  setCentralWidget(client);

  // Beneath the three columns: only its lower part shows, framing ButPresun.
  auto* groupBox1 = new TGroupFrame(QString(), client);
  groupBox1->setObjectName(QStringLiteral("GroupBox1"));
  groupBox1->setGeometry(104, 370, 441, 105);

  BuildBrowser(Group(client, "GroupBox8", QStringLiteral(" Průzkumník "), {8, 8, 214, 445}));
  BuildPreview();
  BuildSummary();
  BuildTray();
  BuildBottom();

  // Every click in the tree counts, also on the selected folder or on an
  // expand arrow; the lists report focus for the status-bar hints.
  for (QObject* watched : std::initializer_list<QObject*>{TreeFiles, TreeFiles->viewport(), ListFile, ListFile->viewport(),
                                                          ListTarget, ImgExit, ImgInfo})
    watched->installEventFilter(this);
}

void TFormDefault::BuildBrowser(QGroupBox* group) {
  treeModel_ = new QFileSystemModel(this);
  treeModel_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  treeModel_->setRootPath(QStringLiteral("/"));

  TreeFiles = new QTreeView(group);
  TreeFiles->setObjectName(QStringLiteral("TreeFiles"));
  TreeFiles->setGeometry(6, 18, 200, 200);
  TreeFiles->setModel(treeModel_);
  TreeFiles->setRootIndex(treeModel_->index(QStringLiteral("/")));
  TreeFiles->setHeaderHidden(true);
  for (int column = 1; column < treeModel_->columnCount(); ++column) TreeFiles->hideColumn(column);
  TreeFiles->setIndentation(19);
  TreeFiles->setSelectionMode(QAbstractItemView::SingleSelection);
  TreeFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(TreeFiles->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFormDefault::TreeFilesChange);

  ListFile = new TFileListBox(group);
  ListFile->setGeometry(6, 220, 200, 205);
  // The selection, not the current row: a mouse press moves the current row
  // before it selects, so the current-row signal would show the old photo.
  connect(ListFile, &QListWidget::itemSelectionChanged, this, [this] {
    selectionHandled_ = true;
    ListFileClick();
  });
  connect(ListFile, &QListWidget::itemClicked, this, [this] {
    // A click that changed the row was handled already; a click on the
    // selected file reloads it.
    if (!selectionHandled_) ListFileClick();
    selectionHandled_ = false;
  });
  connect(ListFile, &QListWidget::itemDoubleClicked, this, &TFormDefault::ListFileDblClick);
  connect(ListFile, &TFileListBox::DragRequested, this, &TFormDefault::ListFileMouseMove);

  auto* presun1 = new QAction(QStringLiteral("Presun"), ListFile);
  presun1->setObjectName(QStringLiteral("Presun1"));
  presun1->setShortcut(Qt::Key_F5);
  presun1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  ListFile->addAction(presun1);
  connect(presun1, &QAction::triggered, this, &TFormDefault::ListFileDblClick);

  Label(group, "Label1", QStringLiteral("F5 - přesun souboru do zásobníku"), {24, 427, 186, 14}, Qt::AlignLeft);
}

void TFormDefault::BuildPreview() {
  QWidget* client = centralWidget();
  auto* groupNahled = Group(client, "GroupNahled", QString(), {228, 8, 206, 188});

  ImagePanel = new QFrame(groupNahled);
  ImagePanel->setObjectName(QStringLiteral("ImagePanel"));
  ImagePanel->setGeometry(2, 16, 200, 150);

  btnCrop = Button(ImagePanel, "btnCrop", QString(), {16, 128, 23, 22}, false);
  btnCrop->hide();
  Label204 = Label(ImagePanel, "Label204", QString(), {112, 137, 80, 13}, Qt::AlignLeft);
  Label204->hide();

  auto* panel1 = new QFrame(groupNahled);
  panel1->setObjectName(QStringLiteral("Panel1"));
  panel1->setGeometry(2, 168, 200, 17);
  panel1->setFrameShape(QFrame::StyledPanel);
  panel1->setFrameShadow(QFrame::Sunken);
  panel1->setAutoFillBackground(true);
  QPalette cream = panel1->palette();
  cream.setColor(QPalette::Window, kCream);
  panel1->setPalette(cream);
  LabScale = Label(panel1, "LabScale", QStringLiteral("0"), {4, 1, 80, 15}, Qt::AlignLeft);
  LabMeritko = Label(panel1, "LabMeritko", QStringLiteral("0%"), {86, 1, 33, 15}, Qt::AlignHCenter);
  LabSize = Label(panel1, "LabSize", QStringLiteral("0k"), {124, 1, 72, 15}, Qt::AlignRight);

  ButLeva = Button(client, "ButLeva", QStringLiteral("< 90°"), {232, 4, 40, 22}, false);
  ButLeva->setToolTip(QStringLiteral("Otočit vlevo"));
  ButPrava = Button(client, "ButPrava", QStringLiteral("90° >"), {390, 4, 40, 22}, false);
  ButPrava->setToolTip(QStringLiteral("Otočit vpravo"));
  connect(ButLeva, &QPushButton::clicked, this, &TFormDefault::ButLevaClick);
  connect(ButPrava, &QPushButton::clicked, this, &TFormDefault::ButPravaClick);
}

void TFormDefault::BuildSummary() {
  auto* groupBox9 = Group(centralWidget(), "GroupBox9", QStringLiteral(" EXIF Informace "), {226, 200, 210, 253});

  GridExif = new QTableWidget(12, 2, groupBox9);
  GridExif->setObjectName(QStringLiteral("GridExif"));
  GridExif->setGeometry(3, 16, 204, 204);
  GridExif->horizontalHeader()->hide();
  GridExif->verticalHeader()->hide();
  GridExif->verticalHeader()->setMinimumSectionSize(16);
  GridExif->verticalHeader()->setDefaultSectionSize(16);
  GridExif->setColumnWidth(0, 70);
  GridExif->setColumnWidth(1, 132);
  GridExif->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  GridExif->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  GridExif->setFrameShape(QFrame::NoFrame);
  GridExif->setWordWrap(false);
  GridExif->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridExif->setSelectionMode(QAbstractItemView::NoSelection);
  GridExif->setFocusPolicy(Qt::NoFocus);
  // Display only; kept enabled so the values are not greyed out.
  GridExif->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette cream = GridExif->palette();
  cream.setColor(QPalette::Base, kCream);
  GridExif->setPalette(cream);
  for (int row = 0; row < 12; ++row) {
    GridExif->setItem(row, 0, new QTableWidgetItem(QString::fromUtf8(kSummaryCaptions[row])));
    GridExif->setItem(row, 1, new QTableWidgetItem());
  }

  ButExif = Button(groupBox9, "ButExif", QStringLiteral("Podrobnosti"), {118, 224, 81, 22}, false);
  connect(ButExif, &QPushButton::clicked, this, &TFormDefault::ButExifClick);
}

void TFormDefault::BuildTray() {
  auto* groupBox6 =
      Group(centralWidget(), "GroupBox6", QStringLiteral(" Zásobník pro optimalizaci "), {440, 8, 206, 445});
  ListTarget = new TTrayListBox(groupBox6);
  ListTarget->setGeometry(6, 16, 192, 420);
  connect(ListTarget, &TTrayListBox::Dropped, this, &TFormDefault::DropTDrop);

  auto* popupSmaz = new QMenu(ListTarget);
  popupSmaz->setObjectName(QStringLiteral("PopupSmaz"));
  QAction* odstranit1 = popupSmaz->addAction(QStringLiteral("Odstranit"), this, &TFormDefault::Odstranit1Click);
  odstranit1->setObjectName(QStringLiteral("Odstranit1"));
  QAction* odstranitve1 =
      popupSmaz->addAction(QStringLiteral("Odstranit vše"), this, &TFormDefault::Odstranitve1Click);
  odstranitve1->setObjectName(QStringLiteral("Odstranitve1"));
  connect(ListTarget, &QWidget::customContextMenuRequested, this,
          [this, popupSmaz](const QPoint& at) { popupSmaz->exec(ListTarget->viewport()->mapToGlobal(at)); });

  // Two hidden parallel lists: display names and values of the selected photo.
  ListP = new QListWidget(groupBox6);
  ListP->setObjectName(QStringLiteral("ListP"));
  ListP->hide();
  ListH = new QListWidget(groupBox6);
  ListH->setObjectName(QStringLiteral("ListH"));
  ListH->hide();
}

void TFormDefault::BuildBottom() {
  QWidget* client = centralWidget();
  ButPresun = Button(client, "ButPresun", QStringLiteral(">>   Přesunout vše   >>"), {267, 463, 126, 22}, true);
  connect(ButPresun, &QPushButton::clicked, this, &TFormDefault::ButPresunClick);
  // The caption with its wide blanks needs the condensed face to fit 126 pixels.
  QFont condensed = ButPresun->font();
  condensed.setFamily(QStringLiteral("DejaVu Sans Condensed"));
  ButPresun->setFont(condensed);

  ButPokrac = Button(client, "ButPokrac", QStringLiteral("Pokračovat >"), {560, 458, 83, 25}, false);
  connect(ButPokrac, &QPushButton::clicked, this, &TFormDefault::ButPokracClick);
  ButZav = Button(client, "ButZav", QStringLiteral("Zavřít"), {400, 464, 75, 25}, true);
  ButZav->hide();
  connect(ButZav, &QPushButton::clicked, this, &TFormDefault::ButZavClick);

  ImgExit = Icon(client, "ImgExit", MainIcons::ExitIcon(), {11, 456}, QStringLiteral("Ukončit aplikaci"));
  ImgInfo = Icon(client, "ImgInfo", MainIcons::InfoIcon(), {50, 456}, QStringLiteral("Info autora"));

  QStatusBar* status = statusBar();
  status->setObjectName(QStringLiteral("Status"));
  status->setFixedHeight(kStatusHeight);
  status->setSizeGripEnabled(false);
  statusHint_ = new QLabel(status);
  statusHint_->setObjectName(QStringLiteral("StatusPanel0"));
  statusHint_->setFixedWidth(400);
  statusHint_->setAlignment(Qt::AlignCenter);
  statusFixed_ = new QLabel(QStringLiteral("v 1.5"), status);
  statusFixed_->setObjectName(QStringLiteral("StatusPanel1"));
  statusFixed_->setFixedWidth(50);
  statusFixed_->setAlignment(Qt::AlignCenter);
  status->addWidget(statusHint_);
  status->addWidget(statusFixed_);
}
