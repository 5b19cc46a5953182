#include <QApplication>

#include "ui/prompts/AppTitle.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/MainIcons.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral("lumatrim"));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  MainWindow window;
  window.show();
  return QApplication::exec();
}
