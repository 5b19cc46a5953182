#include "ui/main/FormDefault.h"

TFormDefault::TFormDefault(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Korvel Lumatrim 1.5"));
}
