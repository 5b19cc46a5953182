// A batch that is stopped stops the codec part way: encoding and decoding
// end with an error soon after the flag is set, at any point, without
// crashing or leaking, and a scope that was not cancelled changes nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "JpegTestKit.h"
#include "core/bytes/Error.h"
#include "core/jpeg/CodecCancel.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim::test {
namespace {

TEST(CodecCancel, StopsEncodingAndDecodingAtAnyPoint) {
  const Bitmap picture = MakePhoto(1600, 1200, 7);
  JpegImage coded;
  coded.Assign(Bitmap(picture));
  coded.Compress(85, true);
  const std::string stream = coded.Data();

  std::atomic<bool> cancel{true};
  {
    const CodecCancelScope scope(&cancel);
    JpegImage image;
    image.Assign(Bitmap(picture));
    EXPECT_THROW(image.Compress(80, true), LumatrimError) << "already cancelled";
    JpegImage loaded;
    loaded.LoadFromBytes(stream);
    EXPECT_THROW(loaded.Decode(), LumatrimError);
  }
  // Stopped at different moments: in the rows, in the passes of the
  // progressive encode after the output has grown, or not at all.
  for (int delayMs : {0, 2, 5, 10, 20, 40, 80}) {
    SCOPED_TRACE(delayMs);
    for (bool encode : {true, false}) {
      cancel = false;
      std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        cancel = true;
      });
      try {
        const CodecCancelScope scope(&cancel);
        JpegImage image;
        if (encode) {
          image.Assign(Bitmap(picture));
          image.Compress(80, true);
        } else {
          image.LoadFromBytes(stream);
          (void)image.Decode();
        }
      } catch (const LumatrimError& error) {
        EXPECT_NE(std::string(error.what()).find("stopped"), std::string::npos) << error.what();
      }
      stopper.join();
    }
  }
  std::atomic<bool> never{false};
  const CodecCancelScope scope(&never);
  JpegImage image;
  image.Assign(Bitmap(picture));
  image.Compress(85, true);
  EXPECT_EQ(image.Data(), stream) << "an unused scope changes no byte";
}

}  // namespace
}  // namespace lumatrim::test
