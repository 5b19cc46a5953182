// Every input kept in fuzz/regressions/<target>/ once crashed that target (or
// broke one of its checks); each is replayed through the target's own body,
// which aborts on any violation, under this build's sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Targets.h"
#include "support/JpegBuilder.h"

namespace {

using Target = int (*)(const uint8_t*, size_t);

std::vector<std::string> KeptInputs(const std::string& target) {
  std::vector<std::string> files;
  const std::filesystem::path dir = std::filesystem::path(LUMATRIM_FUZZ_REGRESSIONS) / target;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const std::string& target, Target run) {
  for (const std::string& file : KeptInputs(target)) {
    SCOPED_TRACE(file);
    const std::string bytes = lumatrim::test::ReadFile(file);
    EXPECT_EQ(run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

}  // namespace

TEST(FuzzRegressions, ReaderInputs) {
  Replay("fuzz_read_jpeg", lumatrim::fuzz::RunReadJpeg);
  Replay("fuzz_read_tiff", lumatrim::fuzz::RunReadTiff);
  Replay("fuzz_makernote", lumatrim::fuzz::RunMakerNote);
}

TEST(FuzzRegressions, IptcInputs) {
  Replay("fuzz_iptc_app13", lumatrim::fuzz::RunIptcApp13);
  Replay("fuzz_comma_lists", lumatrim::fuzz::RunCommaLists);
}

TEST(FuzzRegressions, PictureAndWriterInputs) {
  Replay("fuzz_jpeg_decode", lumatrim::fuzz::RunJpegDecode);
  Replay("fuzz_rewrite_photo", lumatrim::fuzz::RunRewritePhoto);
}
