#include "ui/details/DetailsWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QStringList>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <algorithm>
#include <exception>
#include <functional>

#include "core/bytes/TextEncoding.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/jpeg/JpegImage.h"
#include "core/photo/PhotoEdits.h"
#include "core/exif/CzechTags.h"
#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/IptcTagTable.h"
#include "core/iptc/KeywordList.h"
#include "ui/details/IptcFormText.h"
#include "ui/details/ExifGrid.h"
#include "ui/preview/HeifPhoto.h"
#include "ui/preview/Orientation.h"
#include "ui/prompts/FailureText.h"
#include "ui/prompts/Prompts.h"

using lumatrim::PhotoMetadata;
using lumatrim::TagEntry;

namespace {

// Value texts are bytes; shown as UTF-8 when they are, else in the chosen code page.
QString Shown(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The rows of one EXIF grid in Czech; technical rows only when asked for.
struct CzechRows {
  QStringList names, values;
  void Add(const lumatrim::CzechTagText& text, bool showTechnical) {
    if (text.Technical && !showTechnical) return;
    names << Shown(text.Name);
    values << Shown(text.Value);
  }
};

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
  // The size the user gave it last time, never below the designed one.
  const QSize remembered = QSettings().value(QLatin1String(kSizeKey)).toSize();
  if (remembered.isValid()) resize(remembered.expandedTo(size()));
  LoadPhoto();
}

DetailsWindow::~DetailsWindow() = default;

void DetailsWindow::LoadPhoto() {
  iptcGrid_->setColumnWidth(0, 150);
  iptcGrid_->setColumnWidth(1, 150);
  iptcGrid_->setColumnWidth(2, 30);

  photo_ = std::make_unique<PhotoMetadata>(lumatrim::ReadPhotoMetadata(LocalPath(path_)));
  removeGpsButton_->setEnabled(lumatrim::HasGps(*photo_));
  heif_ = heifphoto::IsHeif(path_);
  if (heif_) RefuseJpegOnlyCommands();
  FillExifGrids();

  lumatrim::IptcRecord& record = lumatrim::IptcForEditing(*photo_);
  if (photo_->IptcPresent() && record.Count() > 0) removeIptcButton_->show();
  // The form's items first, then whatever else the photo holds; an item the
  // photo lacks joins the record only when the user fills it.
  iptcRows_.clear();
  for (const char* name : lumatrim::IptcFormItems()) iptcRows_.push_back(name);
  for (int i = 0; i < record.Count(); ++i) {
    const std::string name = record.GetItem(i).Name;
    if (std::find(iptcRows_.begin(), iptcRows_.end(), name) == iptcRows_.end()) iptcRows_.push_back(name);
  }
  QStringList names, values, sizes;
  for (const std::string& name : iptcRows_) {
    const TagEntry item = IptcRowItem(name);
    const int i = record.IndexOfName(name);
    names << Shown(lumatrim::CzechIptcLabel(item));
    values << (i >= 0 ? Shown(lumatrim::WriteKeywordList(record.DisplayValues(i))) : QString());
    sizes << QString::number(item.Size);
  }
  FillExifGrid(iptcGrid_, {names, values, sizes});

  FillXmpTab();

  if (photo_->ThumbnailPresent() && photo_->exif) {
    photo_->exif->ParseThumbnailDirectory();
    QPixmap picture;
    try {
      if (const std::unique_ptr<lumatrim::JpegImage> thumb = lumatrim::DecodeThumbnail(*photo_)) {
        picture = ThumbnailPixmap(*thumb, photo_->exif->GetTagInt("Orientation"));
      }
    } catch (const std::exception&) {
      picture = QPixmap();  // a damaged thumbnail shows as none
    }
    thumbnailPicture_->setPixmap(picture);
    if (!picture.isNull()) {
      thumbnailSizeLabel_->setText(QStringLiteral("Miniatura (%1 x %2)").arg(picture.width()).arg(picture.height()));
      thumbnailSizeLabel_->adjustSize();
    }
    lumatrim::ExifData& info = *photo_->exif;
    TagEntry entry;
    CzechRows rows;
    info.ResetThumbTagCursor();
    while (info.NextThumbTag(lumatrim::TagGroup::Standard, entry)) rows.Add(lumatrim::CzechTag(entry, info.BigEndian()), true);
    FillExifGrid(thumbnailGrid_, {rows.names, rows.values});
  }
}

// The EXIF tab in Czech from the photo as read; the technical rows only
// when "Zobrazit technické údaje" is ticked.
void DetailsWindow::FillExifGrids() {
  const bool technical = technicalBox_->isChecked();
  mapLink_->clear();
  mapLink_->setToolTip(QString());
  if (photo_ && photo_->ExifPresent() && photo_->exif) {
    lumatrim::ExifData& info = *photo_->exif;
    TagEntry entry;
    CzechRows general, maker;
    if (const auto position = lumatrim::MakeCzechPosition(info)) {
      general.Add({"Poloha", position->Text, false}, technical);
      const QString url = QString::fromStdString(position->MapUrl);
      mapLink_->setText(QStringLiteral("<a href=\"%1\">Zobrazit na mapě</a>").arg(url.toHtmlEscaped()));
      mapLink_->setToolTip(url);
    }
    info.ResetTagCursor();
    while (info.NextTag(lumatrim::TagGroup::Standard, entry)) general.Add(lumatrim::CzechTag(entry, info.BigEndian()), technical);
    info.ResetTagCursor();
    while (info.NextTag(lumatrim::TagGroup::Maker, entry)) maker.Add(lumatrim::CzechTag(entry, info.BigEndian()), technical);
    FillExifGrid(generalGrid_, {general.names, general.values});
    FillExifGrid(makerGrid_, {maker.names, maker.values});
  }
}

// The commands rewrite JPEG data in place; a HEIF file shows its metadata only.
void DetailsWindow::RefuseJpegOnlyCommands() {
  const std::pair<QPushButton*, QString> refusals[] = {
      {saveIptcButton_, heifphoto::IptcRefusal()},
      {removeIptcButton_, heifphoto::IptcRefusal()},
      {removeExifButton_, heifphoto::ExifRemovalRefusal()},
      {removeGpsButton_, heifphoto::ExifRemovalRefusal()},
  };
  for (const auto& [button, why] : refusals) {
    button->setEnabled(false);
    button->setToolTip(why);
  }
  // Its thumbnail is the file's own thumbnail image, upright already.
  const QImage thumbnail = heifphoto::Thumbnail(path_);
  if (thumbnail.isNull()) return;
  thumbnailPicture_->setPixmap(QPixmap::fromImage(thumbnail));
  thumbnailSizeLabel_->setText(QStringLiteral("Miniatura (%1 x %2)").arg(thumbnail.width()).arg(thumbnail.height()));
  thumbnailSizeLabel_->adjustSize();
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

lumatrim::TagEntry DetailsWindow::IptcRowItem(const std::string& name) const {
  if (photo_ && photo_->iptc) {
    if (const int i = photo_->iptc->IndexOfName(name); i >= 0) return photo_->iptc->GetItem(i);
  }
  const int row = lumatrim::TableIndexOfName(name);
  return row >= 0 ? lumatrim::IptcItemFromRow(row) : TagEntry();
}

void DetailsWindow::EditIptcRow(int row) {
  if (!photo_ || row < 0 || row >= static_cast<int>(iptcRows_.size())) return;
  const std::string name = iptcRows_[static_cast<size_t>(row)];
  const TagEntry item = IptcRowItem(name);
  const bool list = lumatrim::IsRepeatableDataset(item.Record, item.Tag);
  lumatrim::IptcRecord& record = lumatrim::IptcForEditing(*photo_);
  int i = record.IndexOfName(name);
  // A list is edited one item a line; commas and semicolons separate too.
  QString text = i < 0 ? QString() : Shown(lumatrim::WriteKeywordList(record.DisplayValues(i), list ? "\n" : ", "));
  if (!list && i >= 0) text = Shown(record.GetItem(i).Data);
  const QString prompt = list ? QStringLiteral("Jedna položka na řádek, nebo oddělené čárkou či středníkem:")
                              : QStringLiteral("Zadejte hodnotu ");
  const auto check = [item](const QString& typed) { return iptcform::LimitNote(item, typed); };
  const QTableWidgetItem* nameCell = iptcGrid_->item(row, 0);
  if (!Prompts::CheckedInput(this, nameCell != nullptr ? nameCell->text() : QString(), prompt, text, check, list))
    return;
  std::vector<std::string> values;
  for (const QString& value : iptcform::Values(item, text)) values.push_back(value.toStdString());  // UTF-8
  if (i < 0) i = record.SetValue(name, "");
  if (i < 0) return;
  record.SetItemValues(i, values);
  iptcGrid_->setItem(row, 1, new QTableWidgetItem(Shown(lumatrim::WriteKeywordList(record.DisplayValues(i)))));
  saveIptcButton_->setEnabled(!heif_);
}

void DetailsWindow::ReportWriteFailure(const QString& action, const std::exception& error) {
  Prompts::Error(this, failuretext::Message(
                           QStringLiteral("%1 se nepodařilo uložit do souboru „%2“. Fotografie zůstala beze změny.")
                               .arg(action, path_),
                           error));
}

void DetailsWindow::SaveIptcClicked() {
  try {
    lumatrim::SaveIptc(*photo_, photo_->filePath);
  } catch (const std::exception& error) {
    // The edits stay in the grid, so the user can try again.
    ReportWriteFailure(QStringLiteral("IPTC data"), error);
    return;
  }
  LoadPhoto();
}

bool DetailsWindow::RewriteWithout(const QString& question, const QString& failedAction,
                                   const std::function<bool(PhotoMetadata&)>& drop) {
  if (!Prompts::Question(this, question)) return false;
  try {
    if (drop(*photo_)) lumatrim::RewritePhoto(*photo_, photo_->filePath);
  } catch (const std::exception& error) {
    ReportWriteFailure(failedAction, error);
    LoadPhoto();  // the photo as read was changed; show the file as it is
    return false;
  }
  return true;
}

void DetailsWindow::RemoveIptcClicked() {
  const auto dropIptc = [](PhotoMetadata& photo) {
    lumatrim::DropIptc(photo);
    return true;
  };
  if (!RewriteWithout(QStringLiteral("Opravdu chcete IPTC data odstranit?"), QStringLiteral("Fotografii bez IPTC dat"),
                      dropIptc)) {
    return;
  }
  removeIptcButton_->hide();
  LoadPhoto();
}

void DetailsWindow::RemoveExifClicked() {
  const auto dropExif = [](PhotoMetadata& photo) {
    lumatrim::DropExif(photo);
    return true;
  };
  if (!RewriteWithout(QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?"),
                      QStringLiteral("Fotografii bez EXIF dat"), dropExif)) {
    return;
  }
  emit ExifRemoved();
  close();
}

// Only the position goes; every other tag and the thumbnail stay, so the
// window stays open and shows the photo again.
void DetailsWindow::RemoveGpsClicked() {
  lumatrim::GpsRemoved removed;
  const auto dropGps = [&removed](PhotoMetadata& photo) {
    removed = lumatrim::RemoveGps(photo);
    return removed.Any();
  };
  if (!RewriteWithout(QStringLiteral("Opravdu chcete polohu (GPS) odstranit?"),
                      QStringLiteral("Fotografii bez polohy (GPS)"), dropGps)) {
    return;
  }
  LoadPhoto();
  if (removed.xmp) Prompts::Message(this, QStringLiteral("Poloha (GPS) byla odstraněna také z dat XMP."));
  emit GpsRemoved();
}

void DetailsWindow::CloseClicked() { close(); }

void DetailsWindow::done(int result) {
  QSettings().setValue(QLatin1String(kSizeKey), size());
  ReleasePhoto();
  QDialog::done(result);
}

void DetailsWindow::ReleasePhoto() {
  photo_.reset();
}
