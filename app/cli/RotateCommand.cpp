#include <cstdio>

#include "cli/Commands.h"

namespace cli {

int RunRotate(int, char**) {
  std::fputs("lumatrim-cli: this verb is not available yet\n", stderr);
  return 2;
}

}  // namespace cli
