#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

namespace {

constexpr const char* kUsage =
    "usage: lumatrim-cli VERB ...\n"
    "  info [--json] FILE...                  metadata of photos\n"
    "  strip exif|iptc|gps FILE...            remove the EXIF, IPTC or GPS block in place\n"
    "  iptc FILE Name=Value...                set IPTC items and save\n"
    "  rotate left|right FILE...              turn photos by 90 degrees without loss\n"
    "  optimize --out DIR [--compression N] [--short N] [--long N] [--keep-size] [--no-gps] [--jobs N] FILE...\n";

struct Verb {
  const char* name;
  int (*run)(int, char**);
};

constexpr Verb kVerbs[] = {
    {"info", cli::RunInfo},     {"strip", cli::RunStrip},       {"iptc", cli::RunIptc},
    {"rotate", cli::RunRotate}, {"optimize", cli::RunOptimize},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc >= 2) {
    for (const Verb& verb : kVerbs) {
      if (std::strcmp(argv[1], verb.name) == 0) return verb.run(argc - 2, argv + 2);
    }
  }
  std::fputs(kUsage, stderr);
  return 2;
}
