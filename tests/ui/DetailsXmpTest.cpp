// The detail window's "XMP" tab, and "Odstranit GPS" on a position held only in XMP.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "core/xmp/XmpSegments.h"
#include "ui/details/DetailsWindow.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::TempDir;
using uitest::Q;

namespace {

QStringList Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid->rowCount(); ++row) texts << (grid->item(row, column) ? grid->item(row, column)->text() : QString());
  return texts;
}

// A photo whose only metadata is an XMP packet with a position and a title.
std::string XmpOnlyPhoto(const std::string& path) {
  const std::string plain = lumatrim::test::ReadFile(uitest::WritePhoto(path, 64, 48));
  const std::string packet =
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
      "<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "exif:GPSLatitude=\"50,5N\"><dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Špilberk</rdf:li></rdf:Alt></dc:title>"
      "</rdf:Description></rdf:RDF></x:xmpmeta>";
  const std::string xmp = lumatrim::test::JpegBuilder().Segment(0xE1, lumatrim::StandardXmpPayload(packet)).Bytes();
  return lumatrim::test::WriteFile(path, plain.substr(0, 2) + xmp + plain.substr(2));
}

}  // namespace

TEST(DetailWindow, XmpTabListsThePropertiesAndGpsRemovalTakesThemOut) {
  TempDir dir;
  const std::string path = XmpOnlyPhoto(dir.File("xmp.jpg"));
  PromptRecorder prompts;
  prompts.answerYes = true;
  DetailsWindow window(Q(path));
  window.show();
  ASSERT_EQ(window.Tabs()->count(), 4);
  EXPECT_EQ(window.Tabs()->tabText(3), QStringLiteral("XMP"));
  EXPECT_EQ(Column(window.XmpGrid(), 0), (QStringList{QStringLiteral("exif:GPSLatitude"), QStringLiteral("dc:title")}));
  EXPECT_EQ(Column(window.XmpGrid(), 1).value(1), QStringLiteral("Špilberk"));

  ASSERT_TRUE(window.RemoveGpsButton()->isEnabled()) << "a position in XMP is a position";
  window.RemoveGpsButton()->click();
  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Poloha (GPS) byla odstraněna také z dat XMP.")});
  EXPECT_EQ(Column(window.XmpGrid(), 0), QStringList{QStringLiteral("dc:title")});
  EXPECT_FALSE(window.RemoveGpsButton()->isEnabled());
}
