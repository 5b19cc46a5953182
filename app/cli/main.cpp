#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/bytes/TextEncoding.h"

namespace {

constexpr const char* kUsage =
    "usage: lumatrim-cli [--charset NAME] VERB ...\n"
    "       lumatrim-cli --help | --version\n"
    "  info [--json] FILE...                  metadata of photos\n"
    "  strip exif|iptc|gps FILE...            remove the EXIF, IPTC or GPS block in place\n"
    "  iptc FILE Name=Value...                set IPTC items and save\n"
    "  rotate left|right FILE...              turn photos by 90 degrees without loss\n"
    "  optimize --out DIR [--compression N] [--short N] [--long N] [--keep-size] [--no-gps] [--jobs N] FILE...\n"
    "  --charset NAME: code page of text that is not UTF-8 (windows-1250 by default;\n"
    "                  windows-1250 ... windows-1258, ISO-8859-1)\n";

// Takes "--charset NAME" (or --charset=NAME) out of the arguments, anywhere
// before a "--", and makes it the process-wide legacy code page. False on an
// unknown name or a missing one.
bool TakeCharsetOption(std::vector<char*>& args) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string arg = args[i];
    if (arg == "--") break;
    std::string name;
    size_t used = 1;
    if (arg == "--charset") {
      if (i + 1 >= args.size()) return false;
      name = args[i + 1];
      used = 2;
    } else if (arg.rfind("--charset=", 0) == 0) {
      name = arg.substr(10);
    } else {
      continue;
    }
    const std::optional<lumatrim::CodePage> page = lumatrim::CodePageByName(name);
    if (!page) {
      std::fprintf(stderr, "lumatrim-cli: unknown code page \"%s\"; the names are:", name.c_str());
      for (lumatrim::CodePage p : lumatrim::kCodePages) std::fprintf(stderr, " %s", lumatrim::CodePageName(p));
      std::fputs("\n", stderr);
      return false;
    }
    lumatrim::SetLegacyCodePage(*page);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + used));
    --i;
  }
  return true;
}

struct Verb {
  const char* name;
  int (*run)(int, char**);
};

constexpr Verb kVerbs[] = {
    {"info", cli::RunInfo},     {"strip", cli::RunStrip},       {"iptc", cli::RunIptc},
    {"rotate", cli::RunRotate}, {"optimize", cli::RunOptimize},
};

}  // namespace

int main(int rawArgc, char** rawArgv) {
  std::vector<char*> args(rawArgv, rawArgv + rawArgc);
  if (!TakeCharsetOption(args)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const int argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  char** argv = args.data();
  if (argc >= 2 && (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("lumatrim-cli " LUMATRIM_VERSION);
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
