// The selected photo: preview, sizes, EXIF summary, rotation.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <exception>

#include "core/bytes/TextEncoding.h"
#include "core/exif/ImgData.h"
#include "core/bytes/Error.h"
#include "rotation/JpegRotator.h"
#include "ui/main/FileListBox.h"
#include "ui/main/FormDefault.h"
#include "ui/photoimage/PhotoImage.h"

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

}  // namespace

QString TFormDefault::SummaryValue(const QString& name) const {
  for (int row = 0; row < ListP->count(); ++row) {
    if (ListP->item(row)->text().compare(name, Qt::CaseInsensitive) == 0)
      return row < ListH->count() ? ListH->item(row)->text() : QString();
  }
  return QStringLiteral("---");
}

void TFormDefault::ClearSummaryValues() {
  for (int row = 0; row < GridExif->rowCount(); ++row) GridExif->item(row, 1)->setText(QString());
}

void TFormDefault::FillSummary() {
  for (int row = 0; row < 12; ++row) {
    QString value = SummaryValue(QString::fromLatin1(kSummaryRows[row].key));
    if (kSummaryRows[row].iso) value += QStringLiteral(" ISO");
    GridExif->item(row, 1)->setText(value);
  }
}

void TFormDefault::ListFileClick() {
  ClearSummaryValues();
  ButExif->setEnabled(false);
  if (ListFile->count() == 0) return;
  try {
    const QString path = SelectedFile();
    Preview_->LoadPhoto(path);
    LabScale->setText(Preview_->DimensionsText());
    Preview_->ShowFitted(ImagePanel->width(), ImagePanel->height(), true, Rotator_->ToolFound());
    LabMeritko->setText(Preview_->ScaleText());
    LabSize->setText(QStringLiteral("%1k").arg(QFileInfo(path).size() / 1024));
    // Turning needs a photo; with none selected the buttons stay off.
    ButLeva->setEnabled(!path.isEmpty());
    ButPrava->setEnabled(!path.isEmpty());

    MetaData->BuildMode = 255;
    MetaData->ReadPhoto(QFile::encodeName(path).toStdString());
    ListP->clear();
    ListH->clear();
    if (MetaData->ExifPresent() && MetaData->ExifInfo) {
      lumatrim::TImageInfo& info = *MetaData->ExifInfo;
      QStringList names, values;
      lumatrim::TTagEntry entry;
      for (int group : {0, 1}) {
        info.ResetTagCursor();
        while (info.NextTag(group, entry)) {
          names << DisplayText(entry.Desc);
          values << DisplayText(entry.Data);
        }
      }
      ListP->addItems(names);
      ListH->addItems(values);
      FillSummary();
      ButExif->setEnabled(true);
    }
  } catch (const std::exception&) {
    ShowMessage(QStringLiteral("Chybná EXIF data."));
  }
}

void TFormDefault::ResetSelectionDisplay() {
  Preview_->ClearPicture();
  ClearSummaryValues();
  ButExif->setEnabled(false);
  LabScale->setText(QStringLiteral("0"));
  LabMeritko->setText(QStringLiteral("0%"));
  LabSize->setText(QStringLiteral("0k"));
  ButLeva->setEnabled(false);
  ButPrava->setEnabled(false);
}

void TFormDefault::ButLevaClick() { Rotate(true); }

void TFormDefault::ButPravaClick() { Rotate(false); }

void TFormDefault::Rotate(bool left) {
  const QString path = SelectedFile();
  if (path.isEmpty()) return;
  // The tool runs to its end before the photo is reloaded; its complaint is
  // shown after the busy cursor is gone.
  QString failure;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (left)
      Rotator_->RotateLeft(path, true);
    else
      Rotator_->RotateRight(path, true);
  } catch (const lumatrim::LumatrimError& error) {
    failure = QString::fromStdString(error.what());
  }
  QApplication::restoreOverrideCursor();
  if (!failure.isEmpty()) ShowMessage(failure);
  ListFileClick();
}
