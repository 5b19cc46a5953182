#pragma once
#include <QComboBox>

// "Kódová stránka starších textů": the legacy code page in which texts that
// are not UTF-8 (old EXIF and IPTC values) are read. Choosing one applies it
// at once and keeps it in the settings ("text/legacyCodePage") for the next run.
class CodePagePicker : public QComboBox {
  Q_OBJECT

 public:
  static constexpr const char* kSettingsKey = "text/legacyCodePage";

  explicit CodePagePicker(QWidget* parent);

 signals:
  // Another page was chosen; texts on screen should be read again.
  void CodePageChanged();

 private:
  void Chosen(int index);
};
