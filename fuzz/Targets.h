#pragma once
// The body of each fuzz target, callable without libFuzzer: the regression
// tests replay kept crash inputs through exactly the code that found them.
#include <cstddef>
#include <cstdint>

namespace lumatrim::fuzz {

int RunReadJpeg(const uint8_t* data, size_t size);
int RunReadTiff(const uint8_t* data, size_t size);
int RunMakerNote(const uint8_t* data, size_t size);
int RunIptcApp13(const uint8_t* data, size_t size);
int RunCommaLists(const uint8_t* data, size_t size);
int RunJpegDecode(const uint8_t* data, size_t size);
int RunRewritePhoto(const uint8_t* data, size_t size);
int RunExifUpright(const uint8_t* data, size_t size);
int RunHeifMetadata(const uint8_t* data, size_t size);
int RunXmp(const uint8_t* data, size_t size);

}  // namespace lumatrim::fuzz
