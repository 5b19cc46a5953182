#include "ui/targetfolder/TargetFolderDialog.h"

#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "ui/layout/AnchorLayout.h"
#include "ui/prompts/Prompts.h"

namespace {

// A single folder name: anything that would leave the selected folder or
// create several levels is refused, silently, like every other failed creation.
bool IsPlainFolderName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

}  // namespace

TargetFolderDialog::TargetFolderDialog(QLineEdit* targetEdit, QWidget* parent)
    : QDialog(parent), targetEdit_(targetEdit) {
  setObjectName(QStringLiteral("TargetFolderDialog"));
  setWindowTitle(QStringLiteral("Zvolit cíl..."));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  // Room for deep paths; a larger dialog gives the room to the tree and the
  // path field, the buttons keep to their corners.
  resize(kDesignedSize);
  setMinimumSize(kDesignedSize);
  auto* layout = new AnchorLayout(this, kDesignedSize);

  folderModel_ = new QFileSystemModel(this);
  folderModel_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  folderModel_->setReadOnly(false);  // needed for mkdir through the model
  folderModel_->setRootPath(QStringLiteral("/"));

  folderTree_ = new QTreeView(this);
  folderTree_->setObjectName(QStringLiteral("folderTree"));
  folderTree_->setModel(folderModel_);
  folderTree_->setRootIndex(folderModel_->index(QStringLiteral("/")));
  for (int column = 1; column < folderModel_->columnCount(); ++column) folderTree_->hideColumn(column);
  folderTree_->header()->hide();
  folderTree_->setIndentation(19);
  folderTree_->setSelectionMode(QAbstractItemView::SingleSelection);
  folderTree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->Place(folderTree_, {8, 38, 464, 318}, {0, 0, 1, 1});

  // The path typed or pasted, completed from the folders on disk.
  pathEdit_ = new QLineEdit(this);
  pathEdit_->setObjectName(QStringLiteral("pathEdit"));
  pathEdit_->setPlaceholderText(QStringLiteral("Cesta ke složce"));
  pathEdit_->setClearButtonEnabled(true);
  auto* completionModel = new QFileSystemModel(this);
  completionModel->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  completionModel->setRootPath(QStringLiteral("/"));
  auto* completer = new QCompleter(completionModel, this);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  pathEdit_->setCompleter(completer);
  layout->Place(pathEdit_, {8, 8, 352, 23}, {0, 0, 1, 0});

  newFolderButton_ = new QPushButton(QStringLiteral("Vytvořit složku"), this);
  newFolderButton_->setObjectName(QStringLiteral("newFolderButton"));
  layout->Place(newFolderButton_, {366, 8, 106, 23}, {1, 0, 0, 0});
  closeButton_ = new QPushButton(QStringLiteral("Zavřít"), this);
  closeButton_->setObjectName(QStringLiteral("closeButton"));
  layout->Place(closeButton_, {8, 366, 75, 25}, {0, 1, 0, 0});
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  layout->Place(okButton_, {397, 366, 75, 25}, {1, 1, 0, 0});
  okButton_->setAutoDefault(false);
  closeButton_->setAutoDefault(false);
  newFolderButton_->setAutoDefault(false);

  connect(okButton_, &QPushButton::clicked, this, &TargetFolderDialog::OkClicked);
  connect(closeButton_, &QPushButton::clicked, this, &TargetFolderDialog::CloseClicked);
  connect(newFolderButton_, &QPushButton::clicked, this, &TargetFolderDialog::NewFolderClicked);
  connect(folderTree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!typing_) pathEdit_->setText(QDir::toNativeSeparators(SelectedFolder()));
  });
  connect(pathEdit_, &QLineEdit::textEdited, this, &TargetFolderDialog::PathTyped);
  connect(pathEdit_, &QLineEdit::returnPressed, this, &TargetFolderDialog::PathTyped);

  // Opens at the current target, selected so "OK" keeps it; without one
  // nothing is selected, but the user sees where home is.
  const QString current = targetEdit_ ? targetEdit_->text().trimmed() : QString();
  const bool atTarget = !current.isEmpty() && QFileInfo(current).isDir();
  const QString start = atTarget ? QFileInfo(current).absoluteFilePath() : QDir::homePath();
  if (atTarget)
    SelectFolder(start);
  else
    RevealFolder(start);
  // The model lists folders in the background and rows move as they come:
  // the start folder is kept in view for the first moments.
  auto keepInView = [this, start] {
    if (revealing_) folderTree_->scrollTo(folderModel_->index(start), QAbstractItemView::PositionAtCenter);
  };
  connect(folderModel_, &QFileSystemModel::directoryLoaded, this, keepInView);
  connect(folderModel_, &QAbstractItemModel::layoutChanged, this, keepInView);
  connect(folderModel_, &QAbstractItemModel::rowsInserted, this, keepInView);
  QTimer::singleShot(0, this, keepInView);
  QTimer::singleShot(2000, this, [this] { revealing_ = false; });
}

void TargetFolderDialog::PathTyped() {
  // A path naming a folder selects it; a partial one waits for more typing.
  const QString typed = pathEdit_->text().trimmed();
  if (typed.isEmpty() || !QFileInfo(typed).isDir()) return;
  typing_ = true;
  SelectFolder(QFileInfo(typed).absoluteFilePath());
  typing_ = false;
}

QString TargetFolderDialog::SelectedFolder() const {
  const QModelIndexList selected = folderTree_->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {};
  return folderModel_->filePath(selected.first());
}

void TargetFolderDialog::SelectFolder(const QString& path) {
  const QModelIndex index = folderModel_->index(path);
  if (!index.isValid()) return;
  RevealFolder(path);
  folderTree_->setCurrentIndex(index);
  folderTree_->scrollTo(index);
}

void TargetFolderDialog::RevealFolder(const QString& path) {
  QModelIndex index = folderModel_->index(path);
  if (!index.isValid()) return;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) folderTree_->expand(up);
  folderTree_->scrollTo(index);
}

void TargetFolderDialog::OkClicked() {
  if (targetEdit_ != nullptr) targetEdit_->setText(SelectedFolder());
  accept();
}

void TargetFolderDialog::CloseClicked() { reject(); }

void TargetFolderDialog::NewFolderClicked() {
  const QString parentPath = SelectedFolder();
  if (parentPath.isEmpty()) return;
  QString name;
  if (!Prompts::Input(this, QStringLiteral("Vytvořit složku..."), QStringLiteral("Název složky"), name))
    return;
  // A folder that cannot be created is not reported; the tree simply shows none.
  const QModelIndex parentIndex = folderModel_->index(parentPath);
  if (IsPlainFolderName(name)) folderModel_->mkdir(parentIndex, name);
  folderTree_->expand(parentIndex);
  folderTree_->setFocus();
}
