#include "core/optimize/BatchEncode.h"

#include "core/bytes/Error.h"
#include "core/encode/PhotoEncoder.h"
#include "core/encode/QualitySearch.h"
#include "core/photo/PhotoWriter.h"
#include "core/quality/Ssimulacra2.h"

namespace lumatrim {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

void EncodeToFit(BatchPhoto& photo, encode::PhotoEncoder& encoder, uint64_t maxFileBytes) {
  const uint64_t metadata = MetadataBytes(photo);
  const std::string limit = std::to_string(maxFileBytes) + " bytes";
  if (metadata >= maxFileBytes) {
    throw LumatrimError(FailureKind::SizeLimitUnreachable, Quoted(photo.Source) + ": its metadata alone takes " +
                                                               std::to_string(metadata) + " bytes of the " + limit);
  }
  // The trials code one scan script; the final encode tries them all and
  // can only come out smaller.
  const auto found = encode::LargestThatFits(
      [&](double quality) { return encoder.Encode(quality, encode::ScanTrial::One); }, maxFileBytes - metadata);
  if (!found) {
    throw LumatrimError(FailureKind::SizeLimitUnreachable,
                        Quoted(photo.Source) + ": even at the lowest quality the photo is larger than " + limit);
  }
  std::string smallest = encoder.Encode(found->Quality, encode::ScanTrial::Smallest);
  photo.Image.TakeCompressed(smallest.size() <= found->Bytes.size() ? std::move(smallest) : found->Bytes);
}

void EncodeToScore(BatchPhoto& photo, encode::PhotoEncoder& encoder, double target) {
  // The resized picture is the reference: the score says what the encode
  // lost, not what the resize did.
  quality::Ssimulacra2Reference reference(photo.Image.Picture());
  const encode::SearchTrial found = encode::SmallestThatScores(
      [&](double quality) { return encoder.Encode(quality, encode::ScanTrial::One); },
      [&](const std::string& bytes) {
        JpegImage decoded;
        decoded.LoadFromBytes(bytes, photo.Source);
        return reference.Score(decoded.Decode());
      },
      target);
  // Every script codes the same pixels, so the score holds for the smallest.
  std::string smallest = encoder.Encode(found.Quality, encode::ScanTrial::Smallest);
  photo.Image.TakeCompressed(smallest.size() <= found.Bytes.size() ? std::move(smallest) : found.Bytes);
}

}  // namespace

uint64_t MetadataBytes(const BatchPhoto& photo) {
  // Our streams all begin alike, so any one tells what the metadata adds.
  Bitmap tiny(8, 8);
  JpegImage sample;
  sample.Assign(tiny);
  sample.TakeCompressed(encode::PhotoEncoder(tiny, photo.Source).Encode(50, encode::ScanTrial::One));
  return JpegWithMetadata(photo.Meta, sample, photo.Output).size() - sample.Data().size();
}

void EncodeBatchPicture(BatchPhoto& photo, const OptimizeSettings& settings) {
  encode::PhotoEncoder encoder(photo.Image.Picture(), photo.Source);
  switch (settings.Quality) {
    case QualityMode::MaxFileSize:
      EncodeToFit(photo, encoder, settings.MaxFileBytes);
      return;
    case QualityMode::Automatic:
      EncodeToScore(photo, encoder, settings.AutoQualityScore);
      // A size limit is a ceiling here: a photo fine at a small size stays
      // small, only one too large for the limit gets the best quality that fits.
      if (settings.MaxFileBytes > 0 && MetadataBytes(photo) + photo.Image.Data().size() > settings.MaxFileBytes) {
        EncodeToFit(photo, encoder, settings.MaxFileBytes);
      }
      return;
    case QualityMode::Fixed:
      break;
  }
  photo.Image.TakeCompressed(encoder.Encode(100 - settings.Compression));
}

}  // namespace lumatrim
