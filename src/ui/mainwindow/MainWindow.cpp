#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>

#include "rotation/JpegRotator.h"
#include "ui/layout/AnchorLayout.h"
#include "ui/mainwindow/GroupFrame.h"
#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/mainwindow/TrayList.h"
#include "ui/mainwindow/TrayFolderScan.h"
#include "ui/preview/PhotoPreview.h"
#include "ui/prompts/AppTitle.h"

namespace {

constexpr int kClientWidth = 653;
constexpr int kClientHeight = 509;
constexpr int kStatusHeight = 19;
const QColor kCream(0xFF, 0xFB, 0xF0);

const char* const kSummaryCaptions[12] = {"Fotoaparát", "Model",    "Kvalita",   "Blesk",   "Ohnisko", "Expozice",
                                          "Clona",      "Citlivost", "Program", "Měření", "Software", "Vytvořeno"};

using Share = AnchorLayout::Share;

AnchorLayout* LayoutOf(QWidget* parent) { return static_cast<AnchorLayout*>(parent->layout()); }

// Names a new control and puts it at place: in its parent's anchor layout,
// or at a fixed place where the parent has none.
template <typename Control>
Control* Placed(Control* control, const char* name, QRect place, Share share) {
  control->setObjectName(QString::fromLatin1(name));
  QWidget* parent = control->parentWidget();
  if (parent->layout())
    LayoutOf(parent)->Place(control, place, share);
  else
    control->setGeometry(place);
  return control;
}

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, QRect place, Share share) {
  auto* group = Placed(new GroupFrame(title, parent), name, place, share);
  new AnchorLayout(group, place.size());
  // Opaque, so the frame of moveAllFrame lying beneath shows only below the columns.
  group->setAutoFillBackground(true);
  return group;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect place, bool enabled,
                    Share share = {}) {
  auto* button = Placed(new QPushButton(caption, parent), name, place, share);
  button->setEnabled(enabled);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QRect place, Qt::Alignment align,
              Share share = {}) {
  auto* label = Placed(new QLabel(text, parent), name, place, share);
  label->setAlignment(align | Qt::AlignVCenter);
  return label;
}

QLabel* Icon(QWidget* parent, const char* name, const QPixmap& pixmap, QPoint at, const QString& hint) {
  auto* icon = Placed(new QLabel(parent), name, QRect(at, QSize(32, 32)), {0, 1, 0, 0});
  icon->setPixmap(pixmap);
  icon->setCursor(Qt::PointingHandCursor);
  icon->setToolTip(hint);
  return icon;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setWindowIcon(MainIcons::AppIcon());
  QFont font(QStringLiteral("DejaVu Sans"), 8);
  font.setStyleHint(QFont::SansSerif);
  setFont(font);
  BuildLayout();
  // Opens at the designed size (or where the user left it) and may grow.
  resize(kClientWidth, kClientHeight);
  RestoreWindowPlace();

  // The owned objects, in the order the window makes them.
  rotator_ = std::make_unique<JpegRotator>();
  preview_ = new PhotoPreview(previewPanel_);
  preview_->SetCropControls(cropButton_, cropLabel_);
  connect(preview_, &PhotoPreview::PhotoShown, this, &MainWindow::PreviewShown);
  connect(preview_, &PhotoPreview::PhotoFailed, this, &MainWindow::PreviewFailed);
  // A growing window decodes the photo anew once the size settles.
  refitTimer_ = new QTimer(this);
  refitTimer_->setSingleShot(true);
  refitTimer_->setInterval(60);
  connect(refitTimer_, &QTimer::timeout, this,
          [this] { preview_->RefitAsync(previewPanel_->width(), previewPanel_->height()); });
  previewPanel_->installEventFilter(this);

  // The shown folder is watched: photos copied in or deleted show at once.
  folderWatcher_ = new QFileSystemWatcher(this);
  folderRefreshTimer_ = new QTimer(this);
  folderRefreshTimer_->setSingleShot(true);
  folderRefreshTimer_->setInterval(150);  // a copy of many photos is listed once, not per file
  connect(folderWatcher_, &QFileSystemWatcher::directoryChanged, this, &MainWindow::FolderChangedOnDisk);
  connect(folderRefreshTimer_, &QTimer::timeout, this, &MainWindow::RefreshFolder);
  BuildShortcuts();

  ShowFolder(QDir::currentPath());
  RevealWorkingFolder();
  thumbnailViewButton_->setChecked(QSettings().value(QLatin1String(kThumbnailViewKey), false).toBool());
}

MainWindow::~MainWindow() {
  trayList_->setAcceptDrops(false);
  delete preview_;
}

void MainWindow::BuildLayout() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  // Extra width goes a quarter to the browser, half to the preview column and
  // a quarter to the tray; extra height to the lists and the preview.
  new AnchorLayout(client, QSize(kClientWidth, kClientHeight - kStatusHeight));

  // Beneath the three columns: only its lower part shows, framing moveAllButton_.
  Placed(new GroupFrame(QString(), client), "moveAllFrame", {104, 370, 441, 105}, {0.125, 1, 0.75, 0});

  BuildBrowser(Group(client, "explorerGroup", QStringLiteral(" Průzkumník "), {8, 8, 214, 445}, {0, 0, 0.25, 1}));
  BuildPreview();
  BuildSummary();
  BuildTray();
  BuildBottom();

  // Every click in the tree counts, also on the selected folder or on an
  // expand arrow; the lists report focus for the status-bar hints.
  for (QObject* watched : std::initializer_list<QObject*>{folderTree_, folderTree_->viewport(), fileList_,
                                                          fileList_->viewport(), trayList_, exitIcon_, infoIcon_})
    watched->installEventFilter(this);
}

void MainWindow::BuildBrowser(QGroupBox* group) {
  folderModel_ = new QFileSystemModel(this);
  folderModel_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  folderModel_->setRootPath(QStringLiteral("/"));

  folderTree_ = new QTreeView(group);
  folderTree_->setObjectName(QStringLiteral("folderTree"));
  LayoutOf(group)->Place(folderTree_, {6, 18, 200, 200}, {0, 0, 1, 0.5});
  folderTree_->setModel(folderModel_);
  folderTree_->setRootIndex(folderModel_->index(QStringLiteral("/")));
  folderTree_->setHeaderHidden(true);
  for (int column = 1; column < folderModel_->columnCount(); ++column) folderTree_->hideColumn(column);
  folderTree_->setIndentation(19);
  folderTree_->setSelectionMode(QAbstractItemView::SingleSelection);
  folderTree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this, &MainWindow::FolderTreeMoved);

  fileList_ = new PhotoFileList(group);
  LayoutOf(group)->Place(fileList_, {6, 220, 200, 205}, {0, 0.5, 1, 0.5});
  // The selection, not the current row: a mouse press moves the current row
  // before it selects, so the current-row signal would show the old photo.
  connect(fileList_, &QListWidget::itemSelectionChanged, this, [this] {
    selectionHandled_ = true;
    UpdateMoveAllCaption();
    ShowSelectedPhoto();
  });
  connect(fileList_, &QListWidget::itemClicked, this, [this] {
    // A click that changed the row was handled already; a click on the
    // selected file reloads it.
    if (!selectionHandled_) ShowSelectedPhoto();
    selectionHandled_ = false;
  });
  connect(fileList_, &QListWidget::itemDoubleClicked, this, &MainWindow::FileDoubleClicked);
  connect(fileList_, &PhotoFileList::DragRequested, this, &MainWindow::FileDragStarted);

  auto* moveToTrayAction = new QAction(QStringLiteral("Přidat"), fileList_);
  moveToTrayAction->setObjectName(QStringLiteral("moveToTrayAction"));
  moveToTrayAction->setShortcut(Qt::Key_F5);
  moveToTrayAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  fileList_->addAction(moveToTrayAction);
  connect(moveToTrayAction, &QAction::triggered, this, &MainWindow::FileDoubleClicked);

  Label(group, "moveHintLabel", QStringLiteral("F5 - přidání do zásobníku"), {8, 427, 140, 14}, Qt::AlignLeft,
        {0, 1, 0, 0});

  // "Náhledy": the same list as small pictures; the choice is remembered.
  thumbnailViewButton_ = Placed(new QToolButton(group), "thumbnailViewButton", {148, 425, 60, 18}, {1, 1, 0, 0});
  thumbnailViewButton_->setText(QStringLiteral("Náhledy"));
  thumbnailViewButton_->setCheckable(true);
  thumbnailViewButton_->setToolTip(QStringLiteral("Zobrazit fotografie jako náhledy"));
  connect(thumbnailViewButton_, &QToolButton::toggled, this, &MainWindow::ThumbnailViewToggled);
}

void MainWindow::BuildPreview() {
  QWidget* client = centralWidget();
  auto* previewGroup = Group(client, "previewGroup", QString(), {228, 8, 206, 188}, {0.25, 0, 0.5, 1});

  previewPanel_ = new QFrame(previewGroup);
  previewPanel_->setObjectName(QStringLiteral("previewPanel"));
  LayoutOf(previewGroup)->Place(previewPanel_, {2, 16, 200, 150}, {0, 0, 1, 1});

  cropButton_ = Button(previewPanel_, "cropButton", QString(), {16, 128, 23, 22}, false);
  cropButton_->hide();
  cropLabel_ = Label(previewPanel_, "cropLabel", QString(), {112, 137, 80, 13}, Qt::AlignLeft);
  cropLabel_->hide();
  // Where a photo cannot be shown, the reason stands in its place.
  previewProblemLabel_ = new QLabel(previewPanel_);
  previewProblemLabel_->setObjectName(QStringLiteral("previewProblemLabel"));
  previewProblemLabel_->setAlignment(Qt::AlignCenter);
  previewProblemLabel_->setWordWrap(true);
  previewProblemLabel_->setContentsMargins(6, 6, 6, 6);
  previewProblemLabel_->hide();

  auto* previewInfoPanel = new QFrame(previewGroup);
  previewInfoPanel->setObjectName(QStringLiteral("previewInfoPanel"));
  LayoutOf(previewGroup)->Place(previewInfoPanel, {2, 168, 200, 17}, {0, 1, 1, 0});
  new AnchorLayout(previewInfoPanel, QSize(200, 17));
  previewInfoPanel->setFrameShape(QFrame::StyledPanel);
  previewInfoPanel->setFrameShadow(QFrame::Sunken);
  previewInfoPanel->setAutoFillBackground(true);
  QPalette cream = previewInfoPanel->palette();
  cream.setColor(QPalette::Window, kCream);
  previewInfoPanel->setPalette(cream);
  dimensionsLabel_ = Label(previewInfoPanel, "dimensionsLabel", QStringLiteral("0"), {4, 1, 80, 15}, Qt::AlignLeft);
  scaleLabel_ = Label(previewInfoPanel, "scaleLabel", QStringLiteral("0%"), {86, 1, 33, 15}, Qt::AlignHCenter,
                      {0.5, 0, 0, 0});
  fileSizeLabel_ = Label(previewInfoPanel, "fileSizeLabel", QStringLiteral("0k"), {124, 1, 72, 15}, Qt::AlignRight,
                         {1, 0, 0, 0});

  rotateLeftButton_ = Button(client, "rotateLeftButton", QStringLiteral("< 90°"), {232, 4, 40, 22}, false,
                             {0.25, 0, 0, 0});
  rotateLeftButton_->setToolTip(QStringLiteral("Otočit vlevo (Ctrl+L)"));
  rotateRightButton_ = Button(client, "rotateRightButton", QStringLiteral("90° >"), {390, 4, 40, 22}, false,
                              {0.75, 0, 0, 0});
  rotateRightButton_->setToolTip(QStringLiteral("Otočit vpravo (Ctrl+R)"));
  connect(rotateLeftButton_, &QPushButton::clicked, this, &MainWindow::RotateLeftClicked);
  connect(rotateRightButton_, &QPushButton::clicked, this, &MainWindow::RotateRightClicked);
}

void MainWindow::BuildSummary() {
  auto* summaryGroup = Group(centralWidget(), "summaryGroup", QStringLiteral(" EXIF Informace "),
                             {226, 200, 210, 253}, {0.25, 1, 0.5, 0});

  summaryGrid_ = new QTableWidget(12, 2, summaryGroup);
  summaryGrid_->setObjectName(QStringLiteral("summaryGrid"));
  LayoutOf(summaryGroup)->Place(summaryGrid_, {3, 16, 204, 204}, {0, 0, 1, 0});
  summaryGrid_->horizontalHeader()->hide();
  summaryGrid_->verticalHeader()->hide();
  summaryGrid_->verticalHeader()->setMinimumSectionSize(16);
  summaryGrid_->verticalHeader()->setDefaultSectionSize(16);
  summaryGrid_->setColumnWidth(0, 70);
  summaryGrid_->setColumnWidth(1, 132);
  summaryGrid_->horizontalHeader()->setStretchLastSection(true);  // the values take the extra width
  summaryGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  summaryGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  summaryGrid_->setFrameShape(QFrame::NoFrame);
  summaryGrid_->setWordWrap(false);
  summaryGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  summaryGrid_->setSelectionMode(QAbstractItemView::NoSelection);
  summaryGrid_->setFocusPolicy(Qt::NoFocus);
  // Display only; kept enabled so the values are not greyed out.
  summaryGrid_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette cream = summaryGrid_->palette();
  cream.setColor(QPalette::Base, kCream);
  summaryGrid_->setPalette(cream);
  for (int row = 0; row < 12; ++row) {
    summaryGrid_->setItem(row, 0, new QTableWidgetItem(QString::fromUtf8(kSummaryCaptions[row])));
    summaryGrid_->setItem(row, 1, new QTableWidgetItem());
  }

  detailsButton_ = Button(summaryGroup, "detailsButton", QStringLiteral("Podrobnosti"), {118, 224, 81, 22}, false,
                          {1, 0, 0, 0});
  detailsButton_->setToolTip(QStringLiteral("Všechna metadata fotografie (Ctrl+I)"));
  connect(detailsButton_, &QPushButton::clicked, this, &MainWindow::DetailsClicked);
}

void MainWindow::BuildTray() {
  auto* trayGroup = Group(centralWidget(), "trayGroup", QStringLiteral(" Zásobník pro optimalizaci "),
                          {440, 8, 206, 445}, {0.75, 0, 0.25, 1});
  trayList_ = new TrayList(trayGroup);
  LayoutOf(trayGroup)->Place(trayList_, {6, 16, 192, 420}, {0, 0, 1, 1});
  connect(trayList_, &TrayList::Dropped, this, &MainWindow::FileDroppedOnTray);
  connect(trayList_, &TrayList::PathsDropped, this, &MainWindow::PathsDroppedOnTray);

  auto* trayMenu = new QMenu(trayList_);
  trayMenu->setObjectName(QStringLiteral("trayMenu"));
  QAction* removeAction = trayMenu->addAction(QStringLiteral("Odstranit"), this, &MainWindow::RemoveFromTrayChosen);
  removeAction->setObjectName(QStringLiteral("removeAction"));
  QAction* clearAction =
      trayMenu->addAction(QStringLiteral("Odstranit vše"), this, &MainWindow::ClearTrayChosen);
  clearAction->setObjectName(QStringLiteral("clearAction"));
  trayMenu->addAction(QStringLiteral("Doplnit IPTC…"), this, &MainWindow::FillTrayIptcChosen)
      ->setObjectName(QStringLiteral("fillIptcAction"));
  trayMenu->addSeparator();
  QAction* addFolderAction = trayMenu->addAction(QStringLiteral("Přidat složku…"), this, &MainWindow::AddFolderChosen);
  addFolderAction->setObjectName(QStringLiteral("addFolderAction"));
  includeSubfoldersAction_ = trayMenu->addAction(QStringLiteral("Včetně podsložek"));
  includeSubfoldersAction_->setObjectName(QStringLiteral("includeSubfoldersAction"));
  includeSubfoldersAction_->setCheckable(true);
  includeSubfoldersAction_->setChecked(QSettings().value(QStringLiteral("tray/includeSubfolders"), true).toBool());
  connect(includeSubfoldersAction_, &QAction::toggled, this, &MainWindow::SetIncludeSubfolders);
  // Delete takes the selected entries out, as the menu's "Odstranit" does.
  auto* deleteKey = new QAction(trayList_);
  deleteKey->setObjectName(QStringLiteral("deleteKeyAction"));
  deleteKey->setShortcut(QKeySequence::Delete);
  deleteKey->setShortcutContext(Qt::WidgetShortcut);
  trayList_->addAction(deleteKey);
  connect(deleteKey, &QAction::triggered, this, &MainWindow::RemoveFromTrayChosen);
  connect(trayList_, &QWidget::customContextMenuRequested, this,
          [this, trayMenu](const QPoint& at) { trayMenu->exec(trayList_->viewport()->mapToGlobal(at)); });
}

void MainWindow::BuildBottom() {
  QWidget* client = centralWidget();
  moveAllButton_ =
      Button(client, "moveAllButton", QStringLiteral(">>   Přidat vše   >>"), {267, 463, 126, 22}, true,
                          {0.5, 1, 0, 0});
  moveAllButton_->setToolTip(QStringLiteral("Přidat do zásobníku vybrané fotografie; je-li vybrána nejvýš jedna, celou složku"));
  connect(moveAllButton_, &QPushButton::clicked, this, &MainWindow::MoveAllClicked);
  // The caption with its wide blanks needs the condensed face to fit 126 pixels.
  QFont condensed = moveAllButton_->font();
  condensed.setFamily(QStringLiteral("DejaVu Sans Condensed"));
  moveAllButton_->setFont(condensed);

  continueButton_ = Button(client, "continueButton", QStringLiteral("Pokračovat >"), {560, 458, 83, 25}, false,
                           {1, 1, 0, 0});
  continueButton_->setToolTip(QStringLiteral("Optimalizovat fotografie zásobníku (Ctrl+O)"));
  connect(continueButton_, &QPushButton::clicked, this, &MainWindow::ContinueClicked);
  closeButton_ = Button(client, "closeButton", QStringLiteral("Zavřít"), {400, 464, 75, 25}, true,
                        {0.5, 1, 0, 0});
  closeButton_->hide();
  connect(closeButton_, &QPushButton::clicked, this, &MainWindow::CloseClicked);

  exitIcon_ = Icon(client, "exitIcon", MainIcons::ExitIcon(), {11, 456}, QStringLiteral("Ukončit aplikaci (Ctrl+Q)"));
  infoIcon_ = Icon(client, "infoIcon", MainIcons::InfoIcon(), {50, 456}, QStringLiteral("Info autora"));

  QStatusBar* status = statusBar();
  status->setObjectName(QStringLiteral("statusBar"));
  status->setFixedHeight(kStatusHeight);
  status->setSizeGripEnabled(false);
  hintLabel_ = new QLabel(status);
  hintLabel_->setObjectName(QStringLiteral("hintLabel"));
  hintLabel_->setFixedWidth(400);
  hintLabel_->setAlignment(Qt::AlignCenter);
  versionLabel_ = new QLabel(QStringLiteral("v 1.5"), status);
  versionLabel_->setObjectName(QStringLiteral("versionLabel"));
  versionLabel_->setFixedWidth(50);
  versionLabel_->setAlignment(Qt::AlignCenter);
  status->addWidget(hintLabel_);
  status->addWidget(versionLabel_);
}

void MainWindow::BuildShortcuts() {
  // Window-wide keys; each works only while its button could be clicked.
  struct Key {
    const char* name;
    QKeySequence keys;
    QPushButton* button;
  };
  const Key keys[] = {
      {"rotateLeftKey", QKeySequence(Qt::CTRL | Qt::Key_L), rotateLeftButton_},
      {"rotateRightKey", QKeySequence(Qt::CTRL | Qt::Key_R), rotateRightButton_},
      {"detailsKey", QKeySequence(Qt::CTRL | Qt::Key_I), detailsButton_},
      {"continueKey", QKeySequence(Qt::CTRL | Qt::Key_O), continueButton_},
  };
  for (const Key& key : keys) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(key.name));
    action->setShortcut(key.keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    QPushButton* button = key.button;
    connect(action, &QAction::triggered, button, [button] {
      if (button->isEnabled()) button->click();
    });
  }
  auto* quit = new QAction(this);
  quit->setObjectName(QStringLiteral("quitKey"));
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  addAction(quit);
  connect(quit, &QAction::triggered, this, &MainWindow::CloseClicked);
}

QSize MainWindow::PreviewBox() const { return previewPanel_->size(); }

void MainWindow::RestoreWindowPlace() {
  const QByteArray saved = QSettings().value(QLatin1String(kGeometryKey)).toByteArray();
  if (!saved.isEmpty() && restoreGeometry(saved)) centred_ = true;
}

void MainWindow::SaveWindowPlace() const { QSettings().setValue(QLatin1String(kGeometryKey), saveGeometry()); }
