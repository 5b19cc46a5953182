#include <QApplication>

#include "ui/main/AppTitle.h"
#include "ui/main/FormDefault.h"
#include "ui/main/MainIcons.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral("lumatrim"));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  TFormDefault window;
  window.show();
  return QApplication::exec();
}
