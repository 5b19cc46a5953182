// The selected photo: preview, sizes, EXIF summary, rotation.
#include <QApplication>
#include <QFile>
#include <QColor>
#include <QDateTime>
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
#include "core/exif/CzechTags.h"
#include "core/exif/CzechValues.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/jpeg/JpegImage.h"
#include "rotation/JpegRotator.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/mainwindow/ThumbnailLoader.h"
#include "ui/preview/HeifPhoto.h"
#include "ui/preview/PhotoPreview.h"
#include "ui/prompts/FailureText.h"

namespace {

QString DisplayText(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

// The summary in Czech; "Vytvořeno" without a date in the EXIF block shows
// the file's date in grey, so it is not taken for the moment of the shot.
void FillSummary(QTableWidget* grid, const lumatrim::CzechSummary& summary, const QString& path) {
  for (int row = 0; row < lumatrim::kSummaryRows; ++row) grid->item(row, 1)->setText(DisplayText(summary.Values[row]));
  QTableWidgetItem* created = grid->item(lumatrim::kSummaryDateRow, 1);
  created->setForeground(grid->palette().text());
  created->setToolTip(QString());
  if (summary.Created != lumatrim::DateSource::None) return;
  const QDateTime modified = QFileInfo(path).lastModified();
  if (!modified.isValid()) return;
  created->setText(QString::fromStdString(lumatrim::CzechFileTime(modified.toSecsSinceEpoch())));
  created->setForeground(QColor(Qt::gray));
  created->setToolTip(QStringLiteral("Datum souboru: fotografie neuvádí, kdy byla pořízena"));
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

void MainWindow::ShowSelectedPhoto() {
  previewProblemLabel_->hide();
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
    // Every photo has details: a photo without metadata can be given IPTC there.
    detailsButton_->setEnabled(true);
    lumatrim::CzechSummary summary;
    summary.Values.fill(std::string());
    if (photo.ExifPresent() && photo.exif) {
      lumatrim::ExifData& info = *photo.exif;
      lumatrim::TagEntry entry;
      for (lumatrim::TagGroup group : {lumatrim::TagGroup::Standard, lumatrim::TagGroup::Maker}) {
        info.ResetTagCursor();
        while (info.NextTag(group, entry)) exifTags_.emplace_back(DisplayText(entry.Desc), DisplayText(entry.Data));
      }
      orientation = info.GetTagInt("Orientation");
      summary = lumatrim::MakeCzechSummary(info);
      thumbnail = ExifThumbnailImage(photo);
    }
    FillSummary(summaryGrid_, summary, path);
    // A HEIF picture is upright as libheif gives it, whatever its EXIF says;
    // its own thumbnail item (upright too) shows first.
    if (heif) {
      orientation = 1;
      thumbnail = heifphoto::Thumbnail(path);
    }
  } catch (const std::exception& error) {
    // Said inside the preview area: a box here would swallow the next arrow key.
    const auto* ours = dynamic_cast<const lumatrim::LumatrimError*>(&error);
    PreviewFailed(ours ? ours->Kind() : lumatrim::FailureKind::Other, QString::fromStdString(error.what()));
    return;
  }
  preview_->ShowPhotoAsync(path, orientation, thumbnail, previewPanel_->width(), previewPanel_->height(), true,
                           rotator_->ToolFound());
}

void MainWindow::PreviewShown() {
  dimensionsLabel_->setText(preview_->DimensionsText());
  scaleLabel_->setText(preview_->ScaleText());
}

void MainWindow::ResetSelectionDisplay() {
  previewProblemLabel_->hide();
  preview_->ClearPicture();
  ClearSummaryValues();
  detailsButton_->setEnabled(false);
  dimensionsLabel_->setText(QStringLiteral("0"));
  scaleLabel_->setText(QStringLiteral("0%"));
  fileSizeLabel_->setText(QStringLiteral("0k"));
  rotateLeftButton_->setEnabled(false);
  rotateRightButton_->setEnabled(false);
}
