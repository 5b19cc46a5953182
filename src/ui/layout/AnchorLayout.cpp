#include "ui/layout/AnchorLayout.h"

#include <QWidget>
#include <cmath>

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize, const QWidget* growthSource)
    : QLayout(parent), designSize_(designSize), growthSource_(growthSource) {
  setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout() {
  for (const Entry& entry : items_) delete entry.item;
}

void AnchorLayout::Place(QWidget* widget, const QRect& design, Share share) {
  addChildWidget(widget);
  items_.append({new QWidgetItem(widget), design, share});
  widget->setGeometry(design);
  invalidate();
}

QRect AnchorLayout::DesignOf(const QWidget* widget) const {
  for (const Entry& entry : items_)
    if (entry.item->widget() == widget) return entry.design;
  return {};
}

void AnchorLayout::addItem(QLayoutItem* item) { items_.append({item, item->geometry(), {}}); }

QLayoutItem* AnchorLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_[index].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.takeAt(index).item;
}

void AnchorLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  // The whole parent, not the rectangle Qt offers: a group box would offer
  // one shrunk by its caption, but the design counts from its outer corner.
  const QWidget* source = growthSource_ ? growthSource_ : parentWidget();
  const QSize size = source ? source->size() : rect.size();
  const int extraWidth = std::max(0, size.width() - designSize_.width());
  const int extraHeight = std::max(0, size.height() - designSize_.height());
  const auto share = [](int extra, double fraction) { return static_cast<int>(std::lround(extra * fraction)); };
  for (const Entry& entry : items_) {
    const QRect& d = entry.design;
    const Share& s = entry.share;
    // Both edges are rounded on their own, so neighbours that share an edge
    // in the design still share it after growing.
    const int left = d.left() + share(extraWidth, s.Left);
    const int right = d.left() + d.width() + share(extraWidth, s.Left + s.Width);
    const int top = d.top() + share(extraHeight, s.Top);
    const int bottom = d.top() + d.height() + share(extraHeight, s.Top + s.Height);
    const QRect place(left, top, right - left, bottom - top);
    // Straight to the widget: a layout item would bend the rectangle to the
    // widget's size policy (a button's preferred height), and would skip
    // hidden widgets, which must be in place when they are shown.
    if (QWidget* widget = entry.item->widget())
      widget->setGeometry(place);
    else
      entry.item->setGeometry(place);
  }
}
