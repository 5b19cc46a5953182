// The legacy code page chosen in the detail window is applied at once and
// kept in the settings for the next start.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTableWidget>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "core/bytes/TextEncoding.h"
#include "ui/details/CodePagePicker.h"
#include "ui/details/DetailsWindow.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::TiffBuilder;

namespace {

QString ValueOf(const QTableWidget* grid, const QString& name) {
  for (int row = 0; row < grid->rowCount(); ++row)
    if (grid->item(row, 0) && grid->item(row, 0)->text() == name) return grid->item(row, 1)->text();
  return QStringLiteral("<missing>");
}

TEST(CodePagePicker, ChoosingAPageRereadsTheTextsAndIsRemembered) {
  lumatrim::test::TempDir dir;
  Ifd ifd0;
  ifd0.Ascii(0x010F, "\xE8" "ern\xFD");  // "černý" in windows-1250, "èerný" in windows-1252
  const std::string photo = uitest::WritePhoto(dir.File("a.jpg"), 32, 24, TiffBuilder(Order::Intel).Bytes(ifd0));
  lumatrim::SetLegacyCodePage(lumatrim::kDefaultCodePage);

  DetailsWindow window(QString::fromStdString(photo));
  CodePagePicker* picker = window.CodePageBox();
  EXPECT_EQ(picker->currentText(), QStringLiteral("windows-1250"));
  EXPECT_EQ(ValueOf(window.GeneralGrid(), QStringLiteral("Výrobce fotoaparátu")), QStringLiteral("černý"));

  int changes = 0;
  QObject::connect(&window, &DetailsWindow::CodePageChanged, [&] { ++changes; });
  const int index = picker->findText(QStringLiteral("windows-1252"));
  ASSERT_GE(index, 0);
  picker->setCurrentIndex(index);
  emit picker->activated(index);  // as a user's choice reports it

  EXPECT_EQ(ValueOf(window.GeneralGrid(), QStringLiteral("Výrobce fotoaparátu")), QStringLiteral("èerný"));
  EXPECT_EQ(changes, 1) << "the main window is told to read its summary again";
  EXPECT_EQ(QSettings(QStringLiteral("lumatrim"), QStringLiteral("lumatrim"))
                .value(QLatin1String(CodePagePicker::kSettingsKey))
                .toString(),
            QStringLiteral("windows-1252"));
  lumatrim::SetLegacyCodePage(lumatrim::kDefaultCodePage);
}

}  // namespace
