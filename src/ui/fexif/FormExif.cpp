#include "ui/fexif/FormExif.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <exception>

#include "core/bytes/TextEncoding.h"
#include "core/jpeg/JpegImage.h"
#include "ui/cil/Prompts.h"
#include "ui/fexif/ExifGrid.h"

using lumatrim::TimgData;
using lumatrim::TTagEntry;

namespace {

// Value texts are bytes; shown as UTF-8 when they are, else in the chosen code page.
QString Shown(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The four items offered on a photo without IPTC, in this order.
constexpr const char* kDefaultIptcItems[] = {"ObjectName", "Copyright", "Contact", "DateCreated"};

QPixmap ThumbnailPixmap(const lumatrim::JpegImage& thumb) {
  const lumatrim::Bitmap bitmap = thumb.Decode();
  const QImage image(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                     QImage::Format_RGB888);
  return QPixmap::fromImage(image.copy());  // the bitmap goes when this returns
}

}  // namespace

TFormExif::TFormExif(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
  setObjectName(QStringLiteral("FormExif"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  setModal(true);
  setFixedSize(385, 453);
  BuildControls();
  FormCreate();
}

TFormExif::~TFormExif() = default;

void TFormExif::FormCreate() {
  ListExif.clear();
  ListHod.clear();
  ListCusP.clear();
  ListCusH.clear();
  GridTC->setColumnWidth(0, 150);
  GridTC->setColumnWidth(1, 150);
  GridTC->setColumnWidth(2, 30);

  ExifData = std::make_unique<TimgData>(255);
  ExifData->BuildMode = 255;
  ExifData->ReadPhoto(LocalPath(path_));
  if (ExifData->ExifPresent() && ExifData->ExifInfo) {
    lumatrim::TImageInfo& info = *ExifData->ExifInfo;
    TTagEntry entry;
    info.ResetTagCursor();
    while (info.NextTag(0, entry)) {
      ListExif << Shown(entry.Desc);
      ListHod << Shown(entry.Data);
    }
    info.ResetTagCursor();
    while (info.NextTag(1, entry)) {
      ListCusP << Shown(entry.Desc);
      ListCusH << Shown(entry.Data);
    }
    FillExifGrid(SGrid, {ListExif, ListHod});
    FillExifGrid(GridSp, {ListCusP, ListCusH});
  }

  IptcData = std::make_unique<TimgData>(255);
  IptcData->ReadPhoto(LocalPath(path_));
  if (IptcData->IptcPresent() && IptcData->IptcInfo) IptcData->IptcInfo->ReadFromOwner();
  if (IptcData->IptcPresent() && IptcData->IptcInfo && IptcData->IptcInfo->Count() > 0) {
    ButSmazTC->show();
  } else {
    IptcData->StartEmptyIptc();
    for (const char* name : kDefaultIptcItems) IptcData->IptcInfo->SetValue(name, "");
  }
  QStringList names, values, sizes;
  for (int i = 0; i < IptcData->IptcInfo->Count(); ++i) {
    const TTagEntry item = IptcData->IptcInfo->GetItem(i);
    names << Shown(item.Desc);
    values << Shown(item.Data);
    sizes << QString::number(item.Size);
  }
  FillExifGrid(GridTC, {names, values, sizes});

  if (ExifData->ThumbnailPresent() && ExifData->ExifInfo) {
    ListMiniP.clear();
    ListMiniH.clear();
    ExifData->ExifInfo->ParseThumbnailDirectory();
    QPixmap picture;
    try {
      if (const std::unique_ptr<lumatrim::JpegImage> thumb = ExifData->DecodeThumbnail()) {
        picture = ThumbnailPixmap(*thumb);
      }
    } catch (const std::exception&) {
      picture = QPixmap();  // a damaged thumbnail shows as none
    }
    ImgMini->setPixmap(picture);
    if (!picture.isNull()) {
      LabMini->setText(QStringLiteral("Miniatura (%1 x %2)").arg(picture.width()).arg(picture.height()));
      LabMini->adjustSize();
    }
    lumatrim::TImageInfo& info = *ExifData->ExifInfo;
    TTagEntry entry;
    info.ResetThumbTagCursor();
    while (info.NextThumbTag(0, entry)) {
      ListMiniP << Shown(entry.Desc);
      ListMiniH << Shown(entry.Data);
    }
    FillExifGrid(GridMini, {ListMiniP, ListMiniH});
  }
}

bool TFormExif::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GridTC->viewport() && event->type() == QEvent::MouseButtonRelease) {
    GridTCMouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
  } else if (watched == GridTC && event->type() == QEvent::KeyPress) {
    // The keyboard's way to the same edit: Enter or F2 on the current row.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && GridTC->currentRow() >= 0) {
      EditIptcRow(GridTC->currentRow());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormExif::GridTCMouseUp(const QPoint& pos) {
  const QModelIndex cell = GridTC->indexAt(pos);
  if (!cell.isValid()) return;  // below the last row or beside the columns
  GridTC->setCurrentCell(cell.row(), cell.column());
  EditIptcRow(cell.row());
}

void TFormExif::EditIptcRow(int row) {
  if (!IptcData || !IptcData->IptcInfo || row < 0 || row >= IptcData->IptcInfo->Count()) return;
  const QTableWidgetItem* nameCell = GridTC->item(row, 0);
  const QTableWidgetItem* valueCell = GridTC->item(row, 1);
  QString text = valueCell != nullptr ? valueCell->text() : QString();
  if (!Prompts::Input(this, nameCell != nullptr ? nameCell->text() : QString(), QStringLiteral("Zadejte hodnotu "),
                      text))
    return;
  GridTC->setItem(row, 1, new QTableWidgetItem(text));
  IptcData->IptcInfo->SetItemValue(row, text.toStdString());  // UTF-8; a list item as comma text
  ButUlozTC->setEnabled(true);
}

void TFormExif::ReportWriteFailure(const QString& action, const std::exception& error) {
  Prompts::Error(this, QStringLiteral("%1 se nepodařilo uložit do souboru „%2“. Fotografie zůstala beze změny.\n\n%3")
                           .arg(action, path_, QString::fromStdString(error.what())));
}

void TFormExif::ButUlozTCClick() {
  try {
    IptcData->IptcInfo->SaveToFile(IptcData->FilePath, "");
  } catch (const std::exception& error) {
    // The edits stay in the grid, so the user can try again.
    ReportWriteFailure(QStringLiteral("IPTC data"), error);
    return;
  }
  FormCreate();
}

void TFormExif::ButSmazTCClick() {
  if (!Prompts::Question(this, QStringLiteral("Opravdu chcete IPTC data odstranit?"))) return;
  try {
    IptcData->DropIptc();
    IptcData->RewritePhoto(IptcData->FilePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(QStringLiteral("Fotografii bez IPTC dat"), error);
    FormCreate();  // the container was changed; show the file as it is
    return;
  }
  ButSmazTC->hide();
  FormCreate();
}

void TFormExif::ButSmazClick() {
  if (!Prompts::Question(this, QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?"))) return;
  try {
    ExifData->DropExif();
    ExifData->RewritePhoto(ExifData->FilePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(QStringLiteral("Fotografii bez EXIF dat"), error);
    FormCreate();
    return;
  }
  emit ExifRemoved();
  close();
}

void TFormExif::ButZavClick() { close(); }

void TFormExif::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TFormExif::FormClose() {
  IptcData.reset();
  ExifData.reset();
}
