// The "XMP" tab of the detail window: every property of the photo's XMP
// packets, one row each (name and value, as `lumatrim-cli info` lists them).
#include <QGroupBox>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/details/DetailsWindow.h"
#include "ui/details/ExifGrid.h"
#include "ui/layout/AnchorLayout.h"

namespace {

constexpr QSize kWindowSize(385, 453);

}  // namespace

void DetailsWindow::BuildXmpTab() {
  xmpTab_ = new QWidget;
  xmpTab_->setObjectName(QStringLiteral("xmpTab"));
  new AnchorLayout(xmpTab_, kWindowSize, this);
  tabs_->addTab(xmpTab_, QStringLiteral("XMP"));
  auto* group = new QGroupBox(QStringLiteral(" Vlastnosti XMP "), xmpTab_);
  group->setObjectName(QStringLiteral("xmpGroup"));
  static_cast<AnchorLayout*>(xmpTab_->layout())->Place(group, QRect(4, 4, 369, 370), {0, 0, 1, 1});
  new AnchorLayout(group, QSize(369, 370));
  xmpGrid_ = MakeExifGrid(group, "xmpGrid", QRect(2, 18, 364, 350), 2);
  static_cast<AnchorLayout*>(group->layout())->Place(xmpGrid_, QRect(2, 18, 364, 350), {0, 0, 1, 1});
}

void DetailsWindow::FillXmpTab() {
  QStringList names, values;
  if (photo_ && photo_->xmp) {
    const lumatrim::XmpBlock& block = *photo_->xmp;
    for (const lumatrim::XmpProperty& property : block.Properties()) {
      names << QString::fromStdString(property.name);
      values << QString::fromStdString(property.value);
    }
    // A packet that cannot be read is kept in the file; the user sees why it is not listed.
    const auto problem = [&](const QString& what, const std::string& detail) {
      names << what;
      values << QString::fromStdString(detail);
    };
    if (block.standard.damaged) problem(QStringLiteral("Poškozený paket XMP"), block.standard.problem);
    if (!block.problem.empty()) problem(QStringLiteral("Nečitelné rozšířené XMP"), block.problem);
    if (block.extended.damaged) problem(QStringLiteral("Poškozené rozšířené XMP"), block.extended.problem);
  }
  FillExifGrid(xmpGrid_, {names, values});
}
