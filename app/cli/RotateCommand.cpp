#include <cstdio>
#include <cstring>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "rotation/JpegRotator.h"

namespace cli {

// lumatrim-cli rotate left|right FILE...: turns each photo in place through
// the same component as the window's buttons; the others are still turned
// when one fails. A turn that trimmed edge pixels says so.
int RunRotate(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[0], "left") != 0 && std::strcmp(argv[0], "right") != 0)) {
    std::fputs("usage: lumatrim-cli rotate left|right FILE...\n", stderr);
    return 2;
  }
  const auto direction = std::strcmp(argv[0], "left") == 0 ? JpegRotator::Direction::Left : JpegRotator::Direction::Right;
  JpegRotator rotator;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const QString path = QString::fromLocal8Bit(argv[i]);
    try {
      const JpegRotator::Turned turned = rotator.Turn(path, direction, true);
      if (turned.trim.Any()) {
        std::fprintf(stderr, "%s: otočení bez ztráty ořízlo %s.\n", argv[i],
                     JpegRotator::TrimText(turned.trim).toUtf8().constData());
      }
    } catch (const lumatrim::LumatrimError& error) {
      std::fprintf(stderr, "%s\n", error.what());
      status = 1;
    }
  }
  return status;
}

}  // namespace cli
