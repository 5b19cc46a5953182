#include "ui/cil/FormCil.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "ui/cil/Prompts.h"

namespace {

// A single folder name: anything that would leave the selected folder or
// create several levels is refused, silently, like every other failed creation.
bool IsPlainFolderName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

}  // namespace

TFormCil::TFormCil(QLineEdit* editCil, QWidget* parent) : QDialog(parent), editCil_(editCil) {
  setObjectName(QStringLiteral("FormCil"));
  setWindowTitle(QStringLiteral("Zvolit cíl..."));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  resize(264, 274);

  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  model_->setReadOnly(false);  // needed for mkdir through the model
  model_->setRootPath(QStringLiteral("/"));

  TreeCil = new QTreeView(this);
  TreeCil->setObjectName(QStringLiteral("TreeCil"));
  TreeCil->setModel(model_);
  TreeCil->setRootIndex(model_->index(QStringLiteral("/")));
  for (int column = 1; column < model_->columnCount(); ++column) TreeCil->hideColumn(column);
  TreeCil->header()->hide();
  TreeCil->setIndentation(19);
  TreeCil->setSelectionMode(QAbstractItemView::SingleSelection);
  TreeCil->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeCil->setGeometry(8, 32, 249, 201);

  ButSlozka = new QPushButton(QStringLiteral("Vytvořit složku"), this);
  ButSlozka->setObjectName(QStringLiteral("ButSlozka"));
  ButSlozka->setGeometry(160, 8, 96, 21);
  ButZav = new QPushButton(QStringLiteral("Zavřít"), this);
  ButZav->setObjectName(QStringLiteral("ButZav"));
  ButZav->setGeometry(8, 240, 60, 21);
  ButOK = new QPushButton(QStringLiteral("OK"), this);
  ButOK->setObjectName(QStringLiteral("ButOK"));
  ButOK->setGeometry(196, 240, 60, 21);
  ButOK->setAutoDefault(false);
  ButZav->setAutoDefault(false);
  ButSlozka->setAutoDefault(false);

  connect(ButOK, &QPushButton::clicked, this, &TFormCil::ButOKClick);
  connect(ButZav, &QPushButton::clicked, this, &TFormCil::ButZavClick);
  connect(ButSlozka, &QPushButton::clicked, this, &TFormCil::ButSlozkaClick);

  // Nothing is selected at start, but the user sees where home is.
  RevealFolder(QDir::homePath());
}

QString TFormCil::SelectedFolder() const {
  const QModelIndexList selected = TreeCil->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {};
  return model_->filePath(selected.first());
}

void TFormCil::SelectFolder(const QString& path) {
  const QModelIndex index = model_->index(path);
  if (!index.isValid()) return;
  RevealFolder(path);
  TreeCil->setCurrentIndex(index);
}

void TFormCil::RevealFolder(const QString& path) {
  QModelIndex index = model_->index(path);
  if (!index.isValid()) return;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) TreeCil->expand(up);
  TreeCil->scrollTo(index);
}

void TFormCil::ButOKClick() {
  if (editCil_ != nullptr) editCil_->setText(SelectedFolder());
  accept();
}

void TFormCil::ButZavClick() { reject(); }

void TFormCil::ButSlozkaClick() {
  const QString parentPath = SelectedFolder();
  if (parentPath.isEmpty()) return;
  QString name;
  if (!Prompts::Input(this, QStringLiteral("Vytvořit složku..."), QStringLiteral("Název složky"), name))
    return;
  // A folder that cannot be created is not reported; the tree simply shows none.
  const QModelIndex parentIndex = model_->index(parentPath);
  if (IsPlainFolderName(name)) model_->mkdir(parentIndex, name);
  TreeCil->expand(parentIndex);
  TreeCil->setFocus();
}
