#include <QApplication>
#include <QSettings>
#include <cstdio>

#include "core/bytes/TextEncoding.h"
#include "ui/instance/SingleInstance.h"
#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/prompts/AppTitle.h"
#include "ui/prompts/CzechTranslations.h"

namespace {

// --version and --help answer on the terminal, without a display: they are
// looked at before the window library is started.
bool AnswerWithoutWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--version" || arg == "-v") {
      std::printf("%s\n", kAppTitle);
      return true;
    }
    if (arg == "--help" || arg == "-h") {
      std::printf(
          "Použití: lumatrim [FOTOGRAFIE.jpg...]\n"
          "%s – příprava fotografií ke sdílení.\n\n"
          "Se jmény fotografií se otevře ve složce první z nich, fotografie vybere\n"
          "a vloží do zásobníku pro optimalizaci. Běží-li už, předá mu je.\n\n"
          "  -h, --help      vypíše tuto nápovědu\n"
          "  -v, --version   vypíše verzi\n",
          kAppTitle);
      return true;
    }
  }
  return false;
}

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
  if (AnswerWithoutWindow(argc, argv)) return 0;
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("lumatrim"));
  QApplication::setApplicationName(QStringLiteral("lumatrim"));
  QApplication::setApplicationDisplayName(QString::fromUtf8(kAppTitle));
  QApplication::setApplicationVersion(QStringLiteral("1.5"));
  QGuiApplication::setDesktopFileName(QStringLiteral("lumatrim"));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  InstallCzechTranslations(app);
  ApplyLegacyCodePageSetting();

  QStringList photos = QApplication::arguments();
  photos.removeFirst();
  // One window: a running one takes the photos and comes to the front.
  const QString instanceName = SingleInstance::DefaultName();
  if (SingleInstance::HandOver(instanceName, photos)) return 0;
  SingleInstance instance(instanceName);
  instance.Listen();  // without the socket the program still works, alone
  MainWindow window;
  QObject::connect(&instance, &SingleInstance::PhotosArrived, &window, &MainWindow::ReceivePhotos);
  window.OpenPhotos(photos);
  window.show();
  return QApplication::exec();
}
