// Photos stand upright in the preview, the summary's size and the detail
// window's thumbnail, whatever EXIF Orientation (1 to 8) they carry.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <functional>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "core/jpeg/JpegImage.h"
#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/preview/PhotoPreview.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::TiffBuilder;
using uitest::Q;

namespace {

// The upright picture: four quadrants, red | green over blue | white.
QRgb UprightColour(double fx, double fy) {
  if (fy < 0.5) return fx < 0.5 ? qRgb(220, 0, 0) : qRgb(0, 200, 0);
  return fx < 0.5 ? qRgb(0, 0, 220) : qRgb(255, 255, 255);
}

// Where stored pixel (x, y) of a w x h stored picture lands in the upright
// picture, straight from the tag's definition (row 0 / column 0 meanings).
QPoint UprightPlace(int orientation, int x, int y, int w, int h) {
  switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {h - 1 - y, x};
    case 7: return {h - 1 - y, w - 1 - x};
    case 8: return {y, w - 1 - x};
    default: return {x, y};
  }
}

// JPEG bytes of the stored picture whose upright form is uprightW x uprightH.
std::string StoredJpeg(int orientation, int uprightW, int uprightH) {
  const bool swap = orientation >= 5;
  const int w = swap ? uprightH : uprightW, h = swap ? uprightW : uprightH;
  lumatrim::Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const QPoint u = UprightPlace(orientation, x, y, w, h);
      const QRgb c = UprightColour((u.x() + 0.5) / uprightW, (u.y() + 0.5) / uprightH);
      uint8_t* p = bitmap.Row(y) + 3 * x;
      p[0] = static_cast<uint8_t>(qRed(c));
      p[1] = static_cast<uint8_t>(qGreen(c));
      p[2] = static_cast<uint8_t>(qBlue(c));
    }
  }
  lumatrim::JpegImage image;
  image.Assign(std::move(bitmap));
  image.Compress(95, false);
  return image.Data();
}

// Quadrant centres of a shown picture hold the upright colours.
void ExpectUpright(const QImage& picture, int orientation) {
  ASSERT_FALSE(picture.isNull());
  for (double fy : {0.25, 0.75}) {
    for (double fx : {0.25, 0.75}) {
      const QRgb got = picture.pixel(static_cast<int>(fx * picture.width()), static_cast<int>(fy * picture.height()));
      const QRgb want = UprightColour(fx, fy);
      EXPECT_NEAR(qRed(got), qRed(want), 60) << "orientation " << orientation << " at " << fx << "," << fy;
      EXPECT_NEAR(qGreen(got), qGreen(want), 60) << "orientation " << orientation << " at " << fx << "," << fy;
      EXPECT_NEAR(qBlue(got), qBlue(want), 60) << "orientation " << orientation << " at " << fx << "," << fy;
    }
  }
}

TEST(UprightPreview, AllEightOrientationsShowTheUprightPictureSizeAndThumbnail) {
  uitest::WorkingFolder dir;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    Ifd ifd0;
    ifd0.Ascii(0x010F, "Canon").Short(0x0112, {static_cast<uint16_t>(orientation)});
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Thumbnail(uitest::CameraThumbnail(StoredJpeg(orientation, 64, 32)));
    ifd0.Next(ifd1);
    const std::string stored = StoredJpeg(orientation, 640, 320);
    lumatrim::test::JpegBuilder exif;
    exif.App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0));
    lumatrim::test::WriteFile(dir.File("o" + std::to_string(orientation) + ".jpg"),
                              stored.substr(0, 2) + exif.Bytes() + stored.substr(2));
  }
  {
    MainWindow window;
    std::vector<QString> messages;
    window.SetMessageSink([&](const QString& text) { messages.push_back(text); });
    auto* list = window.findChild<QListWidget*>(QStringLiteral("fileList"));
    ASSERT_EQ(list->count(), 8);
    for (int row = 0; row < 8; ++row) {
      const int orientation = row + 1;
      SCOPED_TRACE(orientation);
      window.Preview()->ClearPicture();  // so what shows at once can only be the thumbnail
      list->setCurrentRow(row);
      ExpectUpright(window.Preview()->Picture(), orientation);  // the thumbnail, at once
      ASSERT_TRUE(window.Preview()->WaitUntilDecoded());
      ExpectUpright(window.Preview()->Picture(), orientation);  // the decoded photo
      EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("dimensionsLabel"))->text(), QStringLiteral("640 × 320"));
      EXPECT_EQ(window.Preview()->PhotoWidth(), 640) << "the selection works on the upright picture";

      DetailsWindow details(window.SelectedFile());
      EXPECT_EQ(details.ThumbnailSizeLabel()->text(), QStringLiteral("Miniatura (64 x 32)"));
      const QPixmap thumbnail = details.findChild<QLabel*>(QStringLiteral("thumbnailPicture"))->pixmap();
      ExpectUpright(thumbnail.toImage(), orientation);
    }
    EXPECT_TRUE(messages.empty());
  }
}

}  // namespace
