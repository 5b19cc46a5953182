#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "core/exif/ImgData.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

// The detail window of one photo: every EXIF tag and maker entry ("EXIF
// info"), the thumbnail with its tags ("EXIF miniatura") and the editable
// IPTC items ("IPTC data"). It reads the photo itself, into two containers of
// its own, while it is created.
class TFormExif : public QDialog {
  Q_OBJECT

 public:
  // path: the photo selected in the main window. The opener sets the caption.
  explicit TFormExif(const QString& path, QWidget* parent = nullptr);
  ~TFormExif() override;

  void FormCreate();
  // Mouse released over GridTC at pos (viewport coordinates).
  void GridTCMouseUp(const QPoint& pos);
  void ButUlozTCClick();
  void ButSmazTCClick();
  void ButSmazClick();
  void ButZavClick();
  void FormClose();

  std::unique_ptr<lumatrim::TimgData> ExifData;
  std::unique_ptr<lumatrim::TimgData> IptcData;

  QTabWidget* Page;
  QPushButton* ButZav;
  QWidget* TabEx;
  QGroupBox* GroupExif;
  QTableWidget* SGrid;
  QGroupBox* GroupBox1;
  QTableWidget* GridSp;
  QPushButton* ButSmaz;
  QWidget* TabMini;
  QGroupBox* GroupBox3;
  QTableWidget* GridMini;
  QLabel* LabMini;
  QFrame* Bevel1;
  QLabel* ImgMini;
  QWidget* TabIP;
  QGroupBox* GroupBox2;
  QTableWidget* GridTC;
  QPushButton* ButUlozTC;
  QPushButton* ButSmazTC;

 public slots:
  void done(int result) override;  // every way out releases the containers

 signals:
  // The EXIF block was removed from the file; the main window reloads it.
  void ExifRemoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void EditIptcRow(int row);
  void ReportWriteFailure(const QString& action, const std::exception& error);

  QString path_;
  QStringList ListExif, ListHod, ListCusP, ListCusH, ListMiniP, ListMiniH;
};
