// The selected photo: preview, sizes, EXIF summary, rotation.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QImage>
#include <exception>
#include <memory>

#include "core/bytes/Error.h"
#include "core/bytes/TextEncoding.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/jpeg/JpegImage.h"
#include "rotation/JpegRotator.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/preview/HeifPhoto.h"
#include "ui/preview/PhotoPreview.h"
#include "ui/prompts/FailureText.h"

namespace {

// Row by row: the display name looked up, and whether " ISO" follows.
struct SummaryRow {
  const char* key;
  bool iso;
};
constexpr SummaryRow kSummaryRows[12] = {
    {"Make", false},          {"Model", false},         {"JpegQual", false},         {"Flash", false},
    {"Focal Length", false},  {"Exposure Time", false}, {"FNumber", false},          {"ISOSpeed Ratings", true},
    {"Exposure Program", false}, {"Metering Mode", false}, {"Software", false},      {"Date Time", false},
};

QString DisplayText(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

// The EXIF thumbnail as stored (not yet upright), or a null image; a damaged
// thumbnail is simply not shown, the full decode follows anyway.
QImage ThumbnailImage(lumatrim::PhotoMetadata& photo) {
  if (!photo.ThumbnailPresent() || !photo.exif) return {};
  try {
    photo.exif->ParseThumbnailDirectory();  // tells whether it is a JPEG
    const std::unique_ptr<lumatrim::JpegImage> thumb = lumatrim::DecodeThumbnail(photo);
    if (!thumb) return {};
    const lumatrim::Bitmap bitmap = thumb->Decode();
    return QImage(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_RGB888)
        .copy();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

QString MainWindow::SummaryValueIn(const TagList& tags, const QString& name) {
  for (const auto& [tagName, value] : tags) {
    if (tagName.compare(name, Qt::CaseInsensitive) == 0) return value;
  }
  return QStringLiteral("---");
}

void MainWindow::ClearSummaryValues() {
  for (int row = 0; row < summaryGrid_->rowCount(); ++row) summaryGrid_->item(row, 1)->setText(QString());
}

void MainWindow::FillSummary() {
  for (int row = 0; row < 12; ++row) {
    QString value = SummaryValue(QString::fromLatin1(kSummaryRows[row].key));
    if (kSummaryRows[row].iso) value += QStringLiteral(" ISO");
    summaryGrid_->item(row, 1)->setText(value);
  }
}

void MainWindow::ShowSelectedPhoto() {
  ClearSummaryValues();
  detailsButton_->setEnabled(false);
  if (fileList_->count() == 0) return;
  const QString path = SelectedFile();
  fileSizeLabel_->setText(QStringLiteral("%1k").arg(QFileInfo(path).size() / 1024));
  // Turning needs a photo, and a JPEG one; with none selected the buttons stay off.
  const bool heif = !path.isEmpty() && heifphoto::IsHeif(path);
  for (QPushButton* button : {rotateLeftButton_, rotateRightButton_}) {
    button->setEnabled(!path.isEmpty() && !heif);
    button->setToolTip(heif ? heifphoto::RotationRefusal() : QString());
  }
  if (path.isEmpty()) {
    preview_->ShowPhotoAsync(QString(), 1, QImage(), 0, 0, true, false);
    dimensionsLabel_->clear();
    scaleLabel_->clear();
    return;
  }

  // The metadata stops at the start of the picture data, so reading it here
  // costs little; the picture itself is decoded on a worker.
  int orientation = 1;
  QImage thumbnail;
  try {
    lumatrim::PhotoMetadata photo = lumatrim::ReadPhotoMetadata(QFile::encodeName(path).toStdString());
    exifTags_.clear();
    if (photo.ExifPresent() && photo.exif) {
      lumatrim::ExifData& info = *photo.exif;
      lumatrim::TagEntry entry;
      for (lumatrim::TagGroup group : {lumatrim::TagGroup::Standard, lumatrim::TagGroup::Maker}) {
        info.ResetTagCursor();
        while (info.NextTag(group, entry)) exifTags_.emplace_back(DisplayText(entry.Desc), DisplayText(entry.Data));
      }
      orientation = info.GetTagInt("Orientation");
      FillSummary();
      detailsButton_->setEnabled(true);
      thumbnail = ThumbnailImage(photo);
    }
    // A HEIF picture is upright as libheif gives it, whatever its EXIF says;
    // its own thumbnail item (upright too) shows first.
    if (heif) {
      orientation = 1;
      thumbnail = heifphoto::Thumbnail(path);
    }
  } catch (const std::exception& error) {
    ShowMessage(failuretext::Message(QStringLiteral("Chybná EXIF data."), error));
  }
  preview_->ShowPhotoAsync(path, orientation, thumbnail, previewPanel_->width(), previewPanel_->height(), true,
                           rotator_->ToolFound());
}

void MainWindow::PreviewShown() {
  dimensionsLabel_->setText(preview_->DimensionsText());
  scaleLabel_->setText(preview_->ScaleText());
}

void MainWindow::PreviewFailed(lumatrim::FailureKind kind, const QString& detail) {
  ShowMessage(failuretext::Message(QStringLiteral("Chybná EXIF data."), lumatrim::LumatrimError(kind, detail.toStdString())));
}

void MainWindow::ResetSelectionDisplay() {
  preview_->ClearPicture();
  ClearSummaryValues();
  detailsButton_->setEnabled(false);
  dimensionsLabel_->setText(QStringLiteral("0"));
  scaleLabel_->setText(QStringLiteral("0%"));
  fileSizeLabel_->setText(QStringLiteral("0k"));
  rotateLeftButton_->setEnabled(false);
  rotateRightButton_->setEnabled(false);
}

void MainWindow::RotateLeftClicked() { Rotate(true); }

void MainWindow::RotateRightClicked() { Rotate(false); }

void MainWindow::Rotate(bool left) {
  const QString path = SelectedFile();
  if (path.isEmpty()) return;
  // The tool runs to its end before the photo is reloaded; its complaint is
  // shown after the busy cursor is gone.
  QString failure;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (left)
      rotator_->RotateLeft(path, true);
    else
      rotator_->RotateRight(path, true);
  } catch (const lumatrim::LumatrimError& error) {
    failure = failuretext::Message(QStringLiteral("Fotografii se nepodařilo otočit."), error);
  }
  QApplication::restoreOverrideCursor();
  if (!failure.isEmpty()) ShowMessage(failure);
  ShowSelectedPhoto();
}
