#include <QApplication>

#include "ui/main/FormDefault.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvel Lumatrim 1.5"));
  TFormDefault window;
  window.show();
  return QApplication::exec();
}
