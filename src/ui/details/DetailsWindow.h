#pragma once
#include <QDialog>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/photo/PhotoMetadata.h"

class CodePagePicker;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

// The detail window of one photo: every EXIF tag and maker entry ("EXIF
// info"), the thumbnail with its tags ("EXIF miniatura"), the editable
// IPTC items ("IPTC data") and the XMP properties ("XMP"). It reads the photo itself, into two containers of
// its own, while it is created.
class DetailsWindow : public QDialog {
  Q_OBJECT

 public:
  // path: the photo selected in the main window. The opener sets the caption.
  explicit DetailsWindow(const QString& path, QWidget* parent = nullptr);
  ~DetailsWindow() override;
  // Settings key of the size the window had when it was last closed.
  static constexpr const char* kSizeKey = "detailsWindow/size";

  // Reads the photo again and fills the three tabs.
  void LoadPhoto();
  // Mouse released over the IPTC grid at pos (viewport coordinates).
  void IptcGridClicked(const QPoint& pos);
  void SaveIptcClicked();
  void RemoveIptcClicked();
  void RemoveExifClicked();
  void RemoveGpsClicked();
  void CloseClicked();

  // The controls the tests and the screenshot program drive.
  QTabWidget* Tabs() const { return tabs_; }
  QWidget* IptcTab() const { return iptcTab_; }
  QTableWidget* GeneralGrid() const { return generalGrid_; }
  QTableWidget* MakerGrid() const { return makerGrid_; }
  QTableWidget* ThumbnailGrid() const { return thumbnailGrid_; }
  QLabel* ThumbnailSizeLabel() const { return thumbnailSizeLabel_; }
  QTableWidget* IptcGrid() const { return iptcGrid_; }
  QPushButton* SaveIptcButton() const { return saveIptcButton_; }
  QPushButton* RemoveIptcButton() const { return removeIptcButton_; }
  QWidget* XmpTab() const { return xmpTab_; }
  QTableWidget* XmpGrid() const { return xmpGrid_; }
  QPushButton* RemoveExifButton() const { return removeExifButton_; }
  QPushButton* RemoveGpsButton() const { return removeGpsButton_; }
  QPushButton* CloseButton() const { return closeButton_; }
  CodePagePicker* CodePageBox() const { return codePagePicker_; }
  QCheckBox* TechnicalBox() const { return technicalBox_; }
  QLabel* MapLink() const { return mapLink_; }

 public slots:
  void done(int result) override;  // every way out releases the containers

 signals:
  // The EXIF block was removed from the file; the main window reloads it.
  void ExifRemoved();
  // The GPS position was removed from the file; the window shows the rest.
  void GpsRemoved();
  // Texts are read in another legacy code page now; the main window's
  // summary follows.
  void CodePageChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void RefuseJpegOnlyCommands();

 private:
  void BuildControls();
  void FillExifGrids();
  void EditIptcRow(int row);
  // The record's item of that name, or the table's (empty) when the photo lacks it.
  lumatrim::TagEntry IptcRowItem(const std::string& name) const;
  void ReportWriteFailure(const QString& action, const std::exception& error);
  // Asks question; when the user agrees, drops a block from the photo as read
  // and rewrites the file (drop says whether there was one). A failure is
  // reported as failedAction and the window reloads. True when written.
  bool RewriteWithout(const QString& question, const QString& failedAction,
                      const std::function<bool(lumatrim::PhotoMetadata&)>& drop);
  void ReleasePhoto();
  void BuildXmpTab();
  void FillXmpTab();

  // The photo as read when the window opened or last reloaded; IPTC edits
  // live in its record until saved.
  std::unique_ptr<lumatrim::PhotoMetadata> photo_;

  QTabWidget* tabs_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QLabel* codePageLabel_ = nullptr;
  CodePagePicker* codePagePicker_ = nullptr;
  QWidget* exifTab_ = nullptr;
  QGroupBox* generalGroup_ = nullptr;
  QTableWidget* generalGrid_ = nullptr;
  QGroupBox* makerGroup_ = nullptr;
  QTableWidget* makerGrid_ = nullptr;
  QPushButton* removeExifButton_ = nullptr;
  QPushButton* removeGpsButton_ = nullptr;
  QCheckBox* technicalBox_ = nullptr;  // "Zobrazit technické údaje"
  QLabel* mapLink_ = nullptr;          // "Zobrazit na mapě"
  QWidget* thumbnailTab_ = nullptr;
  QGroupBox* thumbnailGroup_ = nullptr;
  QTableWidget* thumbnailGrid_ = nullptr;
  QLabel* thumbnailSizeLabel_ = nullptr;
  QFrame* thumbnailFrame_ = nullptr;
  QLabel* thumbnailPicture_ = nullptr;
  QWidget* iptcTab_ = nullptr;
  QGroupBox* iptcGroup_ = nullptr;
  QTableWidget* iptcGrid_ = nullptr;
  QPushButton* saveIptcButton_ = nullptr;
  QPushButton* removeIptcButton_ = nullptr;
  std::vector<std::string> iptcRows_;  // key name of each IPTC grid row
  bool heif_ = false;  // a HEIF photo: shown, never rewritten
  QWidget* xmpTab_ = nullptr;
  QTableWidget* xmpGrid_ = nullptr;

  QString path_;
};
