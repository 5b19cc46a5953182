#include <QApplication>

#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/prompts/AppTitle.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral("lumatrim"));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  MainWindow window;
  window.show();
  return QApplication::exec();
}
