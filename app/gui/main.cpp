#include <QApplication>
#include <QSettings>

#include "core/bytes/TextEncoding.h"
#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/prompts/AppTitle.h"

namespace {

// Text that is not UTF-8 is read in the code page the user chose; an unknown
// name in the settings leaves the default.
void ApplyLegacyCodePageSetting() {
  const QSettings settings(QStringLiteral("lumatrim"), QStringLiteral("lumatrim"));
  const QString name =
      settings.value(QStringLiteral("text/legacyCodePage"), QString::fromLatin1(lumatrim::CodePageName(lumatrim::kDefaultCodePage)))
          .toString();
  if (const auto page = lumatrim::CodePageByName(name.toStdString())) lumatrim::SetLegacyCodePage(*page);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral("lumatrim"));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  ApplyLegacyCodePageSetting();
  MainWindow window;
  window.show();
  return QApplication::exec();
}
