#include "core/heif/HeifImage.h"

#include <libheif/heif.h>

#include <cstring>
#include <functional>
#include <vector>

#include "core/bytes/Error.h"
#include "core/color/SrgbConversion.h"
#include "core/heif/HeifColor.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim {
namespace {

// Metadata blocks past this size are not Exif or XMP but a hostile file.
constexpr size_t kMaxBlockBytes = 16 << 20;
// libheif's own limit on a side it accepts from the file's boxes.
constexpr int kMaxSide = 65535;

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using ImageHandle = std::unique_ptr<heif_image_handle, HandleRelease>;

[[noreturn]] void Refuse(const std::string& name, const heif_error& error) {
  const FailureKind kind = error.code == heif_error_Memory_allocation_error ? FailureKind::OutOfMemory
                                                                             : FailureKind::DamagedData;
  throw LumatrimError(kind, name + ": damaged or unsupported HEIF data (" +
                                (error.message && *error.message ? error.message : "unknown error") + ")");
}

// The first metadata block of that type (and content type, when given).
std::string MetadataBlock(heif_image_handle* handle, const char* type, const char* contentType) {
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, nullptr);
  if (count <= 0) return {};
  std::vector<heif_item_id> ids(static_cast<size_t>(count));
  const int listed = heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids.data(), count);
  for (int i = 0; i < listed; ++i) {
    const char* itemType = heif_image_handle_get_metadata_type(handle, ids[i]);
    const char* itemContent = heif_image_handle_get_metadata_content_type(handle, ids[i]);
    if (!itemType || std::strcmp(itemType, type) != 0) continue;
    if (contentType && (!itemContent || std::strcmp(itemContent, contentType) != 0)) continue;
    const size_t size = heif_image_handle_get_metadata_size(handle, ids[i]);
    if (size == 0 || size > kMaxBlockBytes) continue;
    std::string block(size, '\0');
    if (heif_image_handle_get_metadata(handle, ids[i], block.data()).code == heif_error_Ok) return block;
  }
  return {};
}

}  // namespace

struct HeifImage::Handles {
  std::unique_ptr<heif_context, ContextFree> context;
  ImageHandle primary;
};

HeifImage::HeifImage() = default;
HeifImage::~HeifImage() = default;
HeifImage::HeifImage(HeifImage&&) noexcept = default;
HeifImage& HeifImage::operator=(HeifImage&&) noexcept = default;

void HeifImage::LoadFromFile(const std::string& path) { LoadFromBytes(ReadPhotoFile(path), path); }

void HeifImage::LoadFromBytes(std::string bytes, std::string name) {
  name_ = std::move(name);
  handles_.reset();
  blocks_ = {};
  width_ = height_ = 0;
  bytes_ = std::make_unique<std::string>(std::move(bytes));
  auto handles = std::make_unique<Handles>();
  handles->context.reset(heif_context_alloc());
  if (!handles->context) throw LumatrimError(FailureKind::OutOfMemory, name_ + ": cannot start the HEIF decoder");
  heif_context* context = handles->context.get();
  heif_context_set_maximum_image_size_limit(context, kMaxSide);
  heif_error error = heif_context_read_from_memory_without_copy(context, bytes_->data(), bytes_->size(), nullptr);
  if (error.code != heif_error_Ok) Refuse(name_, error);
  heif_image_handle* primary = nullptr;
  error = heif_context_get_primary_image_handle(context, &primary);
  if (error.code != heif_error_Ok || !primary) Refuse(name_, error);
  handles->primary.reset(primary);
  const int width = heif_image_handle_get_width(primary);
  const int height = heif_image_handle_get_height(primary);
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPixels) {
    throw LumatrimError(FailureKind::DamagedData, name_ + ": the HEIF image claims an implausible size of " +
                                                      std::to_string(width) + " x " + std::to_string(height) + " pixels");
  }
  width_ = width;
  height_ = height;
  blocks_.exif = MetadataBlock(primary, "Exif", nullptr);
  blocks_.xmp = MetadataBlock(primary, "mime", "application/rdf+xml");
  blocks_.icc = HeifProfile(primary);
  handles_ = std::move(handles);
}

bool HeifImage::HasThumbnail() const {
  return handles_ && heif_image_handle_get_number_of_thumbnails(handles_->primary.get()) > 0;
}

// The decoded picture of one handle: libheif's image and its interleaved plane.
struct HeifImage::Decoded {
  std::unique_ptr<heif_image, ImageRelease> image;
  const uint8_t* plane = nullptr;
  int stride = 0;
  int width = 0;
  int height = 0;
};

HeifImage::Decoded HeifImage::DecodeHandle(heif_image_handle* handle) const {
  const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  if (!options) throw LumatrimError(FailureKind::OutOfMemory, name_ + ": cannot start the HEIF decoder");
  options->convert_hdr_to_8bit = 1;  // 10-bit phone pictures come out as 8-bit RGB
  heif_image* raw = nullptr;
  const heif_error error =
      heif_decode_image(handle, &raw, heif_colorspace_RGB, heif_chroma_interleaved_RGB, options.get());
  if (error.code != heif_error_Ok || !raw) Refuse(name_, error);
  Decoded decoded;
  decoded.image.reset(raw);
  decoded.width = heif_image_get_width(raw, heif_channel_interleaved);
  decoded.height = heif_image_get_height(raw, heif_channel_interleaved);
  decoded.plane = heif_image_get_plane_readonly(raw, heif_channel_interleaved, &decoded.stride);
  if (!decoded.plane || decoded.width <= 0 || decoded.height <= 0 || decoded.stride < decoded.width * 3) {
    throw LumatrimError(FailureKind::DamagedData, name_ + ": the HEIF decoder gave no picture");
  }
  return decoded;
}

// Hands the decoded rows over one by one, in sRGB unless asked otherwise:
// the profile conversion runs row by row, not as a pass over a second picture.
void HeifImage::ForEachRow(const Decoded& decoded, const std::function<void(int, const uint8_t*)>& take) const {
  const std::unique_ptr<color::SrgbConversion> toSrgb =
      convertToSrgb_ ? color::SrgbConversion::FromProfile(blocks_.icc, color::SourcePixels::Rgb) : nullptr;
  std::vector<uint8_t> row(toSrgb ? static_cast<size_t>(decoded.width) * 3 : 0);
  for (int y = 0; y < decoded.height; ++y) {
    const uint8_t* source = decoded.plane + static_cast<size_t>(y) * static_cast<size_t>(decoded.stride);
    if (toSrgb) {
      toSrgb->ConvertRow(source, row.data(), decoded.width);
      source = row.data();
    }
    take(y, source);
  }
}

Bitmap HeifImage::DecodeWhole(heif_image_handle* handle) const {
  const Decoded decoded = DecodeHandle(handle);
  Bitmap out(decoded.width, decoded.height);
  ForEachRow(decoded, [&](int y, const uint8_t* rgb) { std::memcpy(out.Row(y), rgb, out.Stride()); });
  return out;
}

Bitmap HeifImage::Decode() const {
  if (!handles_) throw LumatrimError(name_ + ": no HEIF picture loaded");
  return DecodeWhole(handles_->primary.get());
}

Bitmap HeifImage::DecodeResampled(int width, int height, resample::Light light) const {
  if (!handles_) throw LumatrimError(name_ + ": no HEIF picture loaded");
  Bitmap target(width, height);
  if (target.Empty()) throw LumatrimError(name_ + ": cannot make a picture of " + std::to_string(width) + " x " +
                                          std::to_string(height) + " pixels");
  const Decoded decoded = DecodeHandle(handles_->primary.get());
  resample::Resampler resampler(decoded.width, decoded.height, target, light);
  ForEachRow(decoded, [&](int, const uint8_t* rgb) { resampler.PushRow(rgb); });
  return target;
}

Bitmap HeifImage::DecodeThumbnail() const {
  if (!HasThumbnail()) return {};
  heif_item_id id = 0;
  if (heif_image_handle_get_list_of_thumbnail_IDs(handles_->primary.get(), &id, 1) != 1) return {};
  heif_image_handle* raw = nullptr;
  if (heif_image_handle_get_thumbnail(handles_->primary.get(), id, &raw).code != heif_error_Ok || !raw) return {};
  const ImageHandle thumbnail(raw);
  return DecodeWhole(thumbnail.get());
}

}  // namespace lumatrim
