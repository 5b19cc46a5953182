#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "rotation/JpegRotator.h"

namespace cli {

// lumatrim-cli rotate left|right FILE...: turns each photo in place through
// the same component as the window's buttons; the others are still turned
// when one fails.
int RunRotate(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[0], "left") != 0 && std::strcmp(argv[0], "right") != 0)) {
    std::fputs("usage: lumatrim-cli rotate left|right FILE...\n", stderr);
    return 2;
  }
  const bool left = std::strcmp(argv[0], "left") == 0;
  // QProcess and the program's own folder need an application object.
  std::unique_ptr<QCoreApplication> app;
  if (!QCoreApplication::instance()) {
    static int fakeArgc = 1;
    static char name[] = "lumatrim-cli";
    static char* fakeArgv[] = {name, nullptr};
    app = std::make_unique<QCoreApplication>(fakeArgc, fakeArgv);
  }
  JpegRotator rotator;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const QString path = QString::fromLocal8Bit(argv[i]);
    try {
      if (left) rotator.RotateLeft(path, true);
      else rotator.RotateRight(path, true);
    } catch (const lumatrim::LumatrimError& error) {
      std::fprintf(stderr, "%s\n", error.what());
      status = 1;
    }
  }
  return status;
}

}  // namespace cli
