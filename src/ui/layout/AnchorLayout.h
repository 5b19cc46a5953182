#pragma once
#include <QLayout>
#include <QList>
#include <QRect>
#include <QSize>

// Places each widget at its designed rectangle when the parent has its
// designed size, and shares out any extra room by fixed fractions: a widget
// can move with the extra width or height, grow with it, or both. So a window
// opens looking exactly as designed and still grows sensibly; it never
// becomes smaller than the design.
class AnchorLayout : public QLayout {
 public:
  // The fractions of the extra width (left, width) and height (top, height)
  // a widget takes: {0, 0, 0, 0} stays put, {1, 0, 0, 0} keeps its distance
  // to the right edge, {0, 1, 0, 1} grows both ways.
  struct Share {
    double Left = 0, Top = 0, Width = 0, Height = 0;
  };

  // designSize is the designed size of growthSource (by default the parent):
  // the extra room is what that widget has beyond it. A tab page passes its
  // window, since the page's own size depends on the style's tab bar but it
  // grows exactly as the window does.
  AnchorLayout(QWidget* parent, QSize designSize, const QWidget* growthSource = nullptr);
  ~AnchorLayout() override;

  void Place(QWidget* widget, const QRect& design, Share share);
  QRect DesignOf(const QWidget* widget) const;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  // A page's minimum comes from its window's layout, not from here.
  QSize sizeHint() const override { return growthSource_ ? QSize(0, 0) : designSize_; }
  QSize minimumSize() const override { return sizeHint(); }
  void setGeometry(const QRect& rect) override;

 private:
  struct Entry {
    QLayoutItem* item;
    QRect design;
    Share share;
  };
  QSize designSize_;
  const QWidget* growthSource_;
  QList<Entry> items_;
};
