// One QApplication for all widget tests of the dialogs, offscreen unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvel Lumatrim 1.5"));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
