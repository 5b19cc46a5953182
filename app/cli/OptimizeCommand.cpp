#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/optimize/OptimizeSettings.h"

namespace cli {
namespace {

constexpr const char* kOptimizeUsage =
    "usage: lumatrim-cli optimize --out DIR [--compression N] [--short N] [--long N] [--keep-size] [--no-gps] [--keep-profile] [--jobs N] FILE...\n"
    "  --compression N  0..100 percent, default 20 (JPEG quality 80)\n"
    "  --short N        short side in px; alone, the long side follows each photo\n"
    "  --long N         long side in px; alone, the short side follows each photo\n"
    "                   (both: every photo is stretched to exactly that size)\n"
    "  --keep-size      keep each photo's own size\n"
    "  --no-gps         leave the GPS position out of the outputs' EXIF and XMP\n"
    "  --keep-profile   keep each photo's colour profile (default: convert to sRGB)\n"
    "  --jobs N         worker threads, default one per core\n"
    "A photo that fails is reported and the others are still written (exit status 1).\n"
    "SIGINT or SIGTERM stops after the photo being written; no partial file is left.\n";

int Usage(const std::string& message) {
  std::fprintf(stderr, "lumatrim-cli optimize: %s\n%s", message.c_str(), kOptimizeUsage);
  return 2;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A bar redrawn in place on a terminal; one line per photo for logs and pipes.
// A failed photo always gets a line of its own.
void ShowProgress(bool terminal, int done, int total, const lumatrim::BatchPhotoResult& photo) {
  const std::string& output = photo.Output;
  if (photo.Outcome == lumatrim::PhotoOutcome::Failed) {
    if (terminal) std::fputc('\n', stderr);
    std::fprintf(stderr, "[%d/%d] failed: %s\n", done, total, photo.Detail.c_str());
    if (!terminal || done == total) return;
  } else if (!terminal) {
    std::fprintf(stderr, "[%d/%d] %s%s\n", done, total, output.c_str(), photo.Numbered ? " (renamed: name taken in this batch)" : "");
    return;
  }
  constexpr int kWidth = 30;
  const int filled = total > 0 ? done * kWidth / total : kWidth;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(stderr, "\r[%s] %d/%d %-40.40s", bar.c_str(), done, total, BaseName(output).c_str());
  if (done == total) std::fputc('\n', stderr);
  std::fflush(stderr);
}

// Set by SIGINT and SIGTERM; the batch polls it.
std::atomic<bool> gCancel{false};
std::atomic<int> gSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void CancelOnSignal(int signal) {
  gSignal = signal;
  gCancel = true;
  std::signal(signal, SIG_DFL);  // a second one ends the program at once
}

// Installs the handlers for the batch's lifetime and puts the old ones back.
class SignalCancel {
 public:
  SignalCancel() {
    gCancel = false;
    gSignal = 0;
    oldInt_ = std::signal(SIGINT, CancelOnSignal);
    oldTerm_ = std::signal(SIGTERM, CancelOnSignal);
  }
  ~SignalCancel() {
    std::signal(SIGINT, oldInt_);
    std::signal(SIGTERM, oldTerm_);
  }
  SignalCancel(const SignalCancel&) = delete;
  SignalCancel& operator=(const SignalCancel&) = delete;

 private:
  void (*oldInt_)(int) = SIG_DFL;
  void (*oldTerm_)(int) = SIG_DFL;
};

}  // namespace

int RunOptimize(int argc, char** argv) {
  lumatrim::OptimizeSettings settings;
  std::vector<std::string> files;
  bool haveShort = false, haveLong = false, keepSize = false, optionsEnded = false;
  try {
    for (int i = 0; i < argc; ++i) {
      const std::string arg = argv[i];
      if (optionsEnded || arg.empty() || arg[0] != '-') {
        files.push_back(arg);
        continue;
      }
      if (arg == "--") {
        optionsEnded = true;
        continue;
      }
      if (arg == "--keep-size") {
        keepSize = true;
        continue;
      }
      if (arg == "--no-gps") {
        settings.RemoveGps = true;
        continue;
      }
      if (arg == "--keep-profile") {
        settings.ConvertToSrgb = false;
        continue;
      }
      if (arg == "--help" || arg == "-h") {
        std::fputs(kOptimizeUsage, stdout);
        return 0;
      }
      std::string name = arg, value;
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
      } else if (name == "--out" || name == "--compression" || name == "--short" || name == "--long" ||
                 name == "--jobs") {
        if (i + 1 >= argc) return Usage(name + " needs a value");
        value = argv[++i];
      }
      if (name == "--out") {
        settings.TargetFolder = value;
      } else if (name == "--compression") {
        settings.Compression = lumatrim::ParseWholeNumber(value, "compression");
      } else if (name == "--short") {
        settings.ShortSide = lumatrim::ParseSide(value, "short side");
        haveShort = true;
      } else if (name == "--long") {
        settings.LongSide = lumatrim::ParseSide(value, "long side");
        haveLong = true;
      } else if (name == "--jobs") {
        settings.Jobs = lumatrim::ParseWholeNumber(value, "number of jobs");
        if (settings.Jobs < 1) return Usage("--jobs must be at least 1");
      } else {
        return Usage("unknown option " + arg);
      }
    }
    if (settings.TargetFolder.empty()) return Usage("--out DIR is required");
    if (files.empty()) return Usage("no photos given");
    if (keepSize && (haveShort || haveLong)) return Usage("--keep-size cannot be combined with --short or --long");
    if (!keepSize && !haveShort && !haveLong) return Usage("give --short, --long or --keep-size");
    settings.KeepSize = keepSize;
    if (haveShort && settings.ShortSide < 1) return Usage("--short must be at least 1 px");
    if (haveLong && settings.LongSide < 1) return Usage("--long must be at least 1 px");
    settings.Rule = haveShort && haveLong ? lumatrim::SizeRule::BothSides
                    : haveShort             ? lumatrim::SizeRule::ShortSideFixed
                                            : lumatrim::SizeRule::LongSideFixed;
    lumatrim::ValidateOptimizeSettings(settings);
  } catch (const lumatrim::LumatrimError& e) {
    return Usage(e.what());
  }

  const bool terminal = isatty(STDERR_FILENO) != 0;
  const int total = static_cast<int>(files.size());
  lumatrim::BatchReport report;
  try {
    SignalCancel signals;
    if (terminal) ShowProgress(true, 0, total, {});
    report = lumatrim::RunOptimizeBatch(
        files, settings,
        [terminal](int done, int all, const lumatrim::BatchPhotoResult& photo) { ShowProgress(terminal, done, all, photo); },
        &gCancel);
  } catch (const std::exception& e) {
    if (terminal) std::fputc('\n', stderr);
    std::fprintf(stderr, "lumatrim-cli optimize: %s\n", e.what());
    return 1;
  }
  const int written = report.Written(), failed = report.Failed();
  if (const int fromXmp = report.XmpGpsRemoved(); fromXmp > 0) {
    std::fprintf(stderr, "lumatrim-cli optimize: GPS position also removed from the XMP of %d photo%s\n", fromXmp,
                 fromXmp == 1 ? "" : "s");
  }
  if (report.Cancelled) {
    if (terminal) std::fputc('\n', stderr);
    std::fprintf(stderr, "lumatrim-cli optimize: stopped; %d of %d photos written, %d failed\n", written, total,
                 failed);
    return 128 + gSignal.load();
  }
  if (failed > 0) {
    std::fprintf(stderr, "lumatrim-cli optimize: %d of %d photos written, %d failed\n", written, total, failed);
    return 1;
  }
  return 0;
}

}  // namespace cli
