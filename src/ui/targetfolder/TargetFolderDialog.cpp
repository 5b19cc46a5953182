#include "ui/targetfolder/TargetFolderDialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

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
  resize(264, 274);

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
  folderTree_->setGeometry(8, 32, 249, 201);

  newFolderButton_ = new QPushButton(QStringLiteral("Vytvořit složku"), this);
  newFolderButton_->setObjectName(QStringLiteral("newFolderButton"));
  newFolderButton_->setGeometry(160, 8, 96, 21);
  closeButton_ = new QPushButton(QStringLiteral("Zavřít"), this);
  closeButton_->setObjectName(QStringLiteral("closeButton"));
  closeButton_->setGeometry(8, 240, 60, 21);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  okButton_->setGeometry(196, 240, 60, 21);
  okButton_->setAutoDefault(false);
  closeButton_->setAutoDefault(false);
  newFolderButton_->setAutoDefault(false);

  connect(okButton_, &QPushButton::clicked, this, &TargetFolderDialog::OkClicked);
  connect(closeButton_, &QPushButton::clicked, this, &TargetFolderDialog::CloseClicked);
  connect(newFolderButton_, &QPushButton::clicked, this, &TargetFolderDialog::NewFolderClicked);

  // Nothing is selected at start, but the user sees where home is.
  RevealFolder(QDir::homePath());
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
