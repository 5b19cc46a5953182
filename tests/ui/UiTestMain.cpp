#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/prompts/CzechTranslations.h"

namespace {

// Every case starts from no remembered settings, as on a first run.
class FreshSettings : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QSettings(QStringLiteral("lumatrim"), QStringLiteral("lumatrim")).clear();
    QSettings().clear();
  }
};

}  // namespace

// Widget tests need a QApplication; they run without a display, with Qt's
// Czech translations as the program has them, and with settings in a
// temporary folder so no run sees another's remembered window.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settingsFolder;
  qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("lumatrim-tests"));
  QApplication::setApplicationName(QStringLiteral("lumatrim-tests"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  InstallCzechTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
  return RUN_ALL_TESTS();
}
