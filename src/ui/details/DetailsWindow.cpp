#include "ui/details/DetailsWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QStringList>
#include <QPushButton>
#include <QTableWidget>
#include <exception>

#include "core/bytes/TextEncoding.h"
#include "core/exif/GpsRemoval.h"
#include "core/jpeg/JpegImage.h"
#include "ui/details/ExifGrid.h"
#include "ui/preview/Orientation.h"
#include "ui/prompts/FailureText.h"
#include "ui/prompts/Prompts.h"

using lumatrim::PhotoMetadata;
using lumatrim::TagEntry;

namespace {

// Value texts are bytes; shown as UTF-8 when they are, else in the chosen code page.
QString Shown(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The four items offered on a photo without IPTC, in this order.
constexpr const char* kDefaultIptcItems[] = {"ObjectName", "Copyright", "Contact", "DateCreated"};

// Upright, as the photo's EXIF Orientation says (the thumbnail is stored
// turned the same way as the photo).
QPixmap ThumbnailPixmap(const lumatrim::JpegImage& thumb, int orientation) {
  const lumatrim::Bitmap bitmap = thumb.Decode();
  const QImage image(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                     QImage::Format_RGB888);
  return QPixmap::fromImage(orientation::Upright(image.copy(), orientation));  // the bitmap goes when this returns
}

}  // namespace

DetailsWindow::DetailsWindow(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
  setObjectName(QStringLiteral("DetailsWindow"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  resize(385, 453);  // the designed size; it may grow, never shrink (see BuildControls)
  BuildControls();
  LoadPhoto();
}

DetailsWindow::~DetailsWindow() = default;

void DetailsWindow::LoadPhoto() {
  iptcGrid_->setColumnWidth(0, 150);
  iptcGrid_->setColumnWidth(1, 150);
  iptcGrid_->setColumnWidth(2, 30);

  exifPhoto_ = std::make_unique<PhotoMetadata>();
  exifPhoto_->ReadPhoto(LocalPath(path_));
  removeGpsButton_->setEnabled(lumatrim::HasGps(*exifPhoto_));
  if (exifPhoto_->ExifPresent() && exifPhoto_->ExifInfo) {
    lumatrim::ExifData& info = *exifPhoto_->ExifInfo;
    TagEntry entry;
    QStringList generalNames, generalValues, makerNames, makerValues;
    info.ResetTagCursor();
    while (info.NextTag(0, entry)) {
      generalNames << Shown(entry.Desc);
      generalValues << Shown(entry.Data);
    }
    info.ResetTagCursor();
    while (info.NextTag(1, entry)) {
      makerNames << Shown(entry.Desc);
      makerValues << Shown(entry.Data);
    }
    FillExifGrid(generalGrid_, {generalNames, generalValues});
    FillExifGrid(makerGrid_, {makerNames, makerValues});
  }

  iptcPhoto_ = std::make_unique<PhotoMetadata>();
  iptcPhoto_->ReadPhoto(LocalPath(path_));
  if (iptcPhoto_->IptcPresent() && iptcPhoto_->IptcInfo) iptcPhoto_->IptcInfo->ReadFromOwner();
  if (iptcPhoto_->IptcPresent() && iptcPhoto_->IptcInfo && iptcPhoto_->IptcInfo->Count() > 0) {
    removeIptcButton_->show();
  } else {
    iptcPhoto_->StartEmptyIptc();
    for (const char* name : kDefaultIptcItems) iptcPhoto_->IptcInfo->SetValue(name, "");
  }
  QStringList names, values, sizes;
  for (int i = 0; i < iptcPhoto_->IptcInfo->Count(); ++i) {
    const TagEntry item = iptcPhoto_->IptcInfo->GetItem(i);
    names << Shown(item.Desc);
    values << Shown(item.Data);
    sizes << QString::number(item.Size);
  }
  FillExifGrid(iptcGrid_, {names, values, sizes});

  if (exifPhoto_->ThumbnailPresent() && exifPhoto_->ExifInfo) {
    exifPhoto_->ExifInfo->ParseThumbnailDirectory();
    QPixmap picture;
    try {
      if (const std::unique_ptr<lumatrim::JpegImage> thumb = exifPhoto_->DecodeThumbnail()) {
        picture = ThumbnailPixmap(*thumb, exifPhoto_->ExifInfo->GetTagInt("Orientation"));
      }
    } catch (const std::exception&) {
      picture = QPixmap();  // a damaged thumbnail shows as none
    }
    thumbnailPicture_->setPixmap(picture);
    if (!picture.isNull()) {
      thumbnailSizeLabel_->setText(QStringLiteral("Miniatura (%1 x %2)").arg(picture.width()).arg(picture.height()));
      thumbnailSizeLabel_->adjustSize();
    }
    lumatrim::ExifData& info = *exifPhoto_->ExifInfo;
    TagEntry entry;
    QStringList thumbnailNames, thumbnailValues;
    info.ResetThumbTagCursor();
    while (info.NextThumbTag(0, entry)) {
      thumbnailNames << Shown(entry.Desc);
      thumbnailValues << Shown(entry.Data);
    }
    FillExifGrid(thumbnailGrid_, {thumbnailNames, thumbnailValues});
  }
}

bool DetailsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == iptcGrid_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    IptcGridClicked(static_cast<QMouseEvent*>(event)->position().toPoint());
  } else if (watched == iptcGrid_ && event->type() == QEvent::KeyPress) {
    // The keyboard's way to the same edit: Enter or F2 on the current row.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && iptcGrid_->currentRow() >= 0) {
      EditIptcRow(iptcGrid_->currentRow());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DetailsWindow::IptcGridClicked(const QPoint& pos) {
  const QModelIndex cell = iptcGrid_->indexAt(pos);
  if (!cell.isValid()) return;  // below the last row or beside the columns
  iptcGrid_->setCurrentCell(cell.row(), cell.column());
  EditIptcRow(cell.row());
}

void DetailsWindow::EditIptcRow(int row) {
  if (!iptcPhoto_ || !iptcPhoto_->IptcInfo || row < 0 || row >= iptcPhoto_->IptcInfo->Count()) return;
  const QTableWidgetItem* nameCell = iptcGrid_->item(row, 0);
  const QTableWidgetItem* valueCell = iptcGrid_->item(row, 1);
  QString text = valueCell != nullptr ? valueCell->text() : QString();
  if (!Prompts::Input(this, nameCell != nullptr ? nameCell->text() : QString(), QStringLiteral("Zadejte hodnotu "),
                      text))
    return;
  iptcGrid_->setItem(row, 1, new QTableWidgetItem(text));
  iptcPhoto_->IptcInfo->SetItemValue(row, text.toStdString());  // UTF-8; a list item as comma text
  saveIptcButton_->setEnabled(true);
}

void DetailsWindow::ReportWriteFailure(const QString& action, const std::exception& error) {
  Prompts::Error(this, failuretext::Message(
                           QStringLiteral("%1 se nepodařilo uložit do souboru „%2“. Fotografie zůstala beze změny.")
                               .arg(action, path_),
                           error));
}

void DetailsWindow::SaveIptcClicked() {
  try {
    iptcPhoto_->IptcInfo->SaveToFile(iptcPhoto_->FilePath, "");
  } catch (const std::exception& error) {
    // The edits stay in the grid, so the user can try again.
    ReportWriteFailure(QStringLiteral("IPTC data"), error);
    return;
  }
  LoadPhoto();
}

void DetailsWindow::RemoveIptcClicked() {
  if (!Prompts::Question(this, QStringLiteral("Opravdu chcete IPTC data odstranit?"))) return;
  try {
    iptcPhoto_->DropIptc();
    iptcPhoto_->RewritePhoto(iptcPhoto_->FilePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(QStringLiteral("Fotografii bez IPTC dat"), error);
    LoadPhoto();  // the container was changed; show the file as it is
    return;
  }
  removeIptcButton_->hide();
  LoadPhoto();
}

void DetailsWindow::RemoveExifClicked() {
  if (!Prompts::Question(this, QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?"))) return;
  try {
    exifPhoto_->DropExif();
    exifPhoto_->RewritePhoto(exifPhoto_->FilePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(QStringLiteral("Fotografii bez EXIF dat"), error);
    LoadPhoto();
    return;
  }
  emit ExifRemoved();
  close();
}

// Only the position goes; every other tag and the thumbnail stay, so the
// window stays open and shows the photo again.
void DetailsWindow::RemoveGpsClicked() {
  if (!Prompts::Question(this, QStringLiteral("Opravdu chcete polohu (GPS) odstranit?"))) return;
  try {
    if (lumatrim::DropGps(*exifPhoto_)) exifPhoto_->RewritePhoto(exifPhoto_->FilePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(QStringLiteral("Fotografii bez polohy (GPS)"), error);
    LoadPhoto();  // the container was changed; show the file as it is
    return;
  }
  LoadPhoto();
  emit GpsRemoved();
}

void DetailsWindow::CloseClicked() { close(); }

void DetailsWindow::done(int result) {
  ReleasePhoto();
  QDialog::done(result);
}

void DetailsWindow::ReleasePhoto() {
  iptcPhoto_.reset();
  exifPhoto_.reset();
}
