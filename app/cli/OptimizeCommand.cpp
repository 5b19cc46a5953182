#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <utility>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "core/optimize/NamePattern.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/optimize/OptimizeSettings.h"
#include "core/optimize/PhotoFolderScan.h"

namespace cli {
namespace {

constexpr const char* kOptimizeUsage =
    "usage: lumatrim-cli optimize --out DIR [--preset NAME]... [--compression N | --auto-quality SCORE | --max-size SIZE]\n"
    "                             [--short N] [--long N] [--keep-size] [--allow-enlarge] [--keep-if-smaller]\n"
    "                             [--recursive] [--name PATTERN] [--existing overwrite|skip|number] [--no-gps] [--keep-profile]\n"
    "                             [--jobs N] FILE|DIR...\n"
    "  --preset NAME    size and quality of a preset (\"E-mail\", \"Web a sociální sítě\", \"Tisk 13 × 18\",\n"
    "                   \"Jen zmenšit datovou velikost\", or one saved in the desktop program); given more\n"
    "                   than once, each preset writes into its own subfolder of DIR\n"
    "  --compression N  0..100 percent, default 20 (JPEG quality 80)\n"
    "  --auto-quality SCORE  per photo the smallest file whose SSIMULACRA 2 score\n"
    "                   against the resized picture reaches SCORE (1..100, e.g. 85)\n"
    "  --max-size SIZE  per photo the best quality whose file fits SIZE (bytes, or\n"
    "                   500k, 2M: k = 1024 bytes); a photo that does not fit even at\n"
    "                   the lowest quality is reported as failed, never written larger;\n"
    "                   with --auto-quality a ceiling: the automatic result when it\n"
    "                   fits SIZE, else the best quality that fits\n"
    "  --short N        short side in px; alone, the long side follows each photo\n"
    "  --long N         long side in px; alone, the short side follows each photo\n"
    "                   (both: every photo is stretched to exactly that size)\n"
    "  --keep-size      keep each photo's own size\n"
    "  --allow-enlarge  enlarge photos smaller than the size asked for (default: they keep their size)\n"
    "  --keep-if-smaller  copy a photo unchanged when the new one would not be smaller\n"
    "  --recursive      take the photos of folders given with their subfolders, keeping the tree under DIR\n"
    "  --name PATTERN   output names, default \"opt_{název}\"; fields {název} {datum} {čas} {pořadí} {pořadí:3}\n"
    "                   (also {nazev} {cas} {poradi}); date and time from DateTimeOriginal, else the file's\n"
    "  --existing WHAT  an output name already there: overwrite, skip, or number (default: name-2.jpg, ...)\n"
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
  } else if (photo.Outcome == lumatrim::PhotoOutcome::Skipped && !terminal) {
    std::fprintf(stderr, "[%d/%d] skipped: %s exists\n", done, total, output.c_str());
    return;
  } else if (!terminal) {
    std::fprintf(stderr, "[%d/%d] %s%s%s\n", done, total, output.c_str(),
                 photo.Numbered ? " (renamed: name taken)" : "", photo.Copied ? " (copied unchanged)" : "");
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

PresetList gPresets = [] { return lumatrim::DefaultPresets(); };

// The photos to optimise: files as given, folders scanned (with their
// subfolders when recursive, each photo keeping its place in the tree).
void CollectPhotos(const std::vector<std::string>& arguments, bool recursive, std::vector<std::string>& files,
                   std::vector<std::string>& subfolders) {
  for (const std::string& argument : arguments) {
    std::error_code ec;
    if (!std::filesystem::is_directory(argument, ec)) {
      files.push_back(argument);
      subfolders.emplace_back();
      continue;
    }
    for (lumatrim::FoundPhoto& photo : lumatrim::FindPhotosInFolder(argument, recursive)) {
      files.push_back(std::move(photo.Path));
      subfolders.push_back(recursive ? std::move(photo.Subfolder) : std::string());
    }
  }
}

bool ParseExisting(const std::string& value, lumatrim::ExistingOutput& existing) {
  constexpr std::pair<const char*, lumatrim::ExistingOutput> kChoices[] = {
      {"overwrite", lumatrim::ExistingOutput::Overwrite},
      {"skip",      lumatrim::ExistingOutput::Skip},
      {"number",    lumatrim::ExistingOutput::Number},
  };
  for (const auto& [name, choice] : kChoices) {
    if (value == name) {
      existing = choice;
      return true;
    }
  }
  return false;
}

}  // namespace

void SetOptimizePresets(PresetList presets) { gPresets = std::move(presets); }

int RunOptimize(int argc, char** argv) {
  lumatrim::OptimizeSettings settings;
  settings.Existing = lumatrim::ExistingOutput::Number;  // a script run twice keeps both results
  std::vector<std::string> arguments, presetNames;
  bool haveShort = false, haveLong = false, keepSize = false, optionsEnded = false;
  bool recursive = false;
  std::vector<std::string> qualityModes;  // the options that choose the quality, each once
  const auto chooseQuality = [&qualityModes](const std::string& option) {
    if (std::find(qualityModes.begin(), qualityModes.end(), option) == qualityModes.end()) qualityModes.push_back(option);
  };
  try {
    for (int i = 0; i < argc; ++i) {
      const std::string arg = argv[i];
      if (optionsEnded || arg.empty() || arg[0] != '-') {
        arguments.push_back(arg);
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
      if (arg == "--no-gps" || arg == "--allow-enlarge" || arg == "--keep-if-smaller" || arg == "--recursive") {
        settings.RemoveGps |= arg == "--no-gps";
        settings.AllowEnlarge |= arg == "--allow-enlarge";
        settings.KeepIfSmaller |= arg == "--keep-if-smaller";
        recursive |= arg == "--recursive";
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
                 name == "--jobs" || name == "--preset" || name == "--name" || name == "--existing" ||
                 name == "--auto-quality" || name == "--max-size") {
        if (i + 1 >= argc) return Usage(name + " needs a value");
        value = argv[++i];
      }
      if (name == "--out") {
        settings.TargetFolder = value;
      } else if (name == "--compression") {
        settings.Compression = lumatrim::ParseWholeNumber(value, "compression");
        chooseQuality(name);
      } else if (name == "--auto-quality") {
        settings.AutoQualityScore = lumatrim::ParseScore(value);
        chooseQuality(name);
        settings.Quality = lumatrim::QualityMode::Automatic;
      } else if (name == "--max-size") {
        settings.MaxFileBytes = lumatrim::ParseFileSize(value);
        chooseQuality(name);
        if (settings.Quality != lumatrim::QualityMode::Automatic) settings.Quality = lumatrim::QualityMode::MaxFileSize;
      } else if (name == "--short") {
        settings.ShortSide = lumatrim::ParseSide(value, "short side");
        haveShort = true;
      } else if (name == "--long") {
        settings.LongSide = lumatrim::ParseSide(value, "long side");
        haveLong = true;
      } else if (name == "--jobs") {
        settings.Jobs = lumatrim::ParseWholeNumber(value, "number of jobs");
        if (settings.Jobs < 1) return Usage("--jobs must be at least 1");
      } else if (name == "--preset") {
        presetNames.push_back(value);
      } else if (name == "--name") {
        settings.NamePattern = value;
      } else if (name == "--existing") {
        if (!ParseExisting(value, settings.Existing)) return Usage("--existing takes overwrite, skip or number");
      } else {
        return Usage("unknown option " + arg);
      }
    }
    if (settings.TargetFolder.empty()) return Usage("--out DIR is required");
    if (arguments.empty()) return Usage("no photos given");
    // --auto-quality with --max-size: the size is a ceiling on the automatic result.
    std::erase_if(qualityModes, [&](const std::string& option) {
      return option == "--max-size" && settings.Quality == lumatrim::QualityMode::Automatic;
    });
    if (qualityModes.size() > 1) return Usage(qualityModes[0] + " cannot be combined with " + qualityModes[1]);
    if (!presetNames.empty() && (keepSize || haveShort || haveLong || !qualityModes.empty())) {
      return Usage("--preset cannot be combined with --short, --long, --keep-size or a quality option");
    }
    if (presetNames.empty()) {
      if (keepSize && (haveShort || haveLong)) return Usage("--keep-size cannot be combined with --short or --long");
      if (!keepSize && !haveShort && !haveLong) return Usage("give --preset, --short, --long or --keep-size");
      settings.KeepSize = keepSize;
      if (haveShort && settings.ShortSide < 1) return Usage("--short must be at least 1 px");
      if (haveLong && settings.LongSide < 1) return Usage("--long must be at least 1 px");
      settings.Rule = haveShort && haveLong ? lumatrim::SizeRule::BothSides
                      : haveShort             ? lumatrim::SizeRule::ShortSideFixed
                                              : lumatrim::SizeRule::LongSideFixed;
      lumatrim::ValidateOptimizeSettings(settings);
    } else {
      lumatrim::ValidateNamePattern(settings.NamePattern);  // the presets' sizes are checked below
    }
  } catch (const lumatrim::LumatrimError& e) {
    return Usage(e.what());
  }

  // One run per preset, each into its own subfolder when there are several.
  std::vector<lumatrim::OptimizeSettings> runs;
  if (presetNames.empty()) runs.push_back(settings);
  const std::vector<lumatrim::OptimizePreset> known = gPresets();
  std::vector<lumatrim::OptimizePreset> chosen;
  for (const std::string& presetName : presetNames) {
    const lumatrim::OptimizePreset* preset = lumatrim::FindPreset(known, presetName);
    if (preset == nullptr) {
      std::string names;
      for (const lumatrim::OptimizePreset& p : known) names += (names.empty() ? "" : ", ") + p.Name;
      return Usage("no preset named \"" + presetName + "\" (known: " + names + ")");
    }
    lumatrim::OptimizeSettings run = settings;
    lumatrim::ApplyPreset(*preset, run);
    if (presetNames.size() > 1) run.TargetFolder += "/" + preset->Subfolder;
    try {
      lumatrim::ValidateOptimizeSettings(run);
    } catch (const lumatrim::LumatrimError& e) {
      return Usage("preset \"" + presetName + "\": " + e.what());
    }
    runs.push_back(run);
    chosen.push_back(*preset);
  }
  if (const auto clash = lumatrim::FindSubfolderClash(chosen); clash && chosen.size() > 1) {
    return Usage("presets \"" + clash->First + "\" and \"" + clash->Second + "\" would write into the same subfolder \"" +
                 clash->Subfolder + "\"");
  }

  std::vector<std::string> files;
  CollectPhotos(arguments, recursive, files, settings.Subfolders);
  if (files.empty()) return Usage("no photos found in the folders given");
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const int total = static_cast<int>(files.size());
  int written = 0, failed = 0, skipped = 0, copied = 0, all = 0, xmpGps = 0;
  for (lumatrim::OptimizeSettings& run : runs) {
    run.Subfolders = settings.Subfolders;
    lumatrim::BatchReport report;
    try {
      SignalCancel cancelOnSignal;
      std::error_code ec;
      if (runs.size() > 1) std::filesystem::create_directory(run.TargetFolder, ec);  // the preset's subfolder
      if (terminal) ShowProgress(true, 0, total, {});
      report = lumatrim::RunOptimizeBatch(
          files, run,
          [terminal](int done, int count, const lumatrim::BatchPhotoResult& photo) {
            ShowProgress(terminal, done, count, photo);
          },
          &gCancel);
    } catch (const std::exception& e) {
      if (terminal) std::fputc('\n', stderr);
      std::fprintf(stderr, "lumatrim-cli optimize: %s\n", e.what());
      return 1;
    }
    written += report.Written();
    failed += report.Failed();
    skipped += report.Skipped();
    copied += report.Copied();
    xmpGps += report.XmpGpsRemoved();
    all += total;
    if (report.Cancelled) {
      if (terminal) std::fputc('\n', stderr);
      std::fprintf(stderr, "lumatrim-cli optimize: stopped; %d of %d photos written, %d failed\n", written, all,
                   failed);
      return 128 + gSignal.load();
    }
  }
  if (xmpGps > 0) {
    std::fprintf(stderr, "lumatrim-cli optimize: GPS position also removed from the XMP of %d photo%s\n", xmpGps,
                 xmpGps == 1 ? "" : "s");
  }
  if (skipped > 0 || copied > 0) {
    std::fprintf(stderr, "lumatrim-cli optimize: %d of %d photos written (%d copied unchanged: not smaller), %d skipped: their outputs exist\n",
                 written, all, copied, skipped);
  }
  if (failed > 0) {
    std::fprintf(stderr, "lumatrim-cli optimize: %d of %d photos written, %d failed\n", written, all, failed);
    return 1;
  }
  return 0;
}

}  // namespace cli
