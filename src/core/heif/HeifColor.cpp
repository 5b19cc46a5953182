#include "core/heif/HeifColor.h"

#include <libheif/heif.h>

#include <array>
#include <memory>
#include <optional>

#include "core/color/ProfileMaker.h"

namespace lumatrim {
namespace {

// A profile larger than this is not a colour profile but a hostile block.
constexpr size_t kMaxProfileBytes = 16 << 20;

struct TransferRow {
  heif_transfer_characteristics code;
  color::TransferCurve curve;
};

// The nclx transfer codes we reproduce; PQ, HLG and the log curves are not
// display-referred sRGB-like pictures and stay as decoded.
constexpr std::array<TransferRow, 10> kTransferCurves{{
    {heif_transfer_characteristic_ITU_R_BT_709_5,          color::TransferCurve::Bt709},
    {heif_transfer_characteristic_unspecified,             color::TransferCurve::Srgb},
    {heif_transfer_characteristic_ITU_R_BT_470_6_System_M, color::TransferCurve::Gamma22},
    {heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G, color::TransferCurve::Gamma28},
    {heif_transfer_characteristic_ITU_R_BT_601_6,          color::TransferCurve::Bt709},
    {heif_transfer_characteristic_linear,                  color::TransferCurve::Linear},
    {heif_transfer_characteristic_IEC_61966_2_1,           color::TransferCurve::Srgb},
    {heif_transfer_characteristic_ITU_R_BT_2020_2_10bit,   color::TransferCurve::Bt709},
    {heif_transfer_characteristic_ITU_R_BT_2020_2_12bit,   color::TransferCurve::Bt709},
    {heif_transfer_characteristic_SMPTE_240M,              color::TransferCurve::Bt709},
}};

std::optional<color::TransferCurve> CurveOf(heif_transfer_characteristics code) {
  for (const TransferRow& row : kTransferCurves) {
    if (row.code == code) return row.curve;
  }
  return std::nullopt;
}

std::string RawProfile(const heif_image_handle* handle) {
  const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
  if (size == 0 || size > kMaxProfileBytes) return {};
  std::string icc(size, '\0');
  if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok) return {};
  return icc;
}

std::string NclxProfile(const heif_image_handle* handle) {
  heif_color_profile_nclx* raw = nullptr;
  if (heif_image_handle_get_nclx_color_profile(handle, &raw).code != heif_error_Ok || !raw) return {};
  const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> nclx(
      raw, heif_nclx_color_profile_free);
  // sRGB's primaries (or none named) are taken as sRGB whatever the curve,
  // as browsers and viewers show such pictures.
  if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
      nclx->color_primaries == heif_color_primaries_unspecified) {
    return {};
  }
  const std::optional<color::TransferCurve> curve = CurveOf(nclx->transfer_characteristics);
  if (!curve) return {};
  const color::Primaries primaries{nclx->color_primary_red_x,   nclx->color_primary_red_y,
                                   nclx->color_primary_green_x, nclx->color_primary_green_y,
                                   nclx->color_primary_blue_x,  nclx->color_primary_blue_y,
                                   nclx->color_primary_white_x, nclx->color_primary_white_y};
  return color::MakeRgbProfile(primaries, *curve);
}

}  // namespace

std::string HeifProfile(const heif_image_handle* handle) {
  std::string icc = RawProfile(handle);
  return icc.empty() ? NclxProfile(handle) : icc;
}

}  // namespace lumatrim
