#include "ui/mainwindow/GroupFrame.h"

#include <QPainter>

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int lineY = metrics.height() / 2;
  const QRect frame = rect().adjusted(0, lineY, -1, -1);
  // Etched: a dark line with a light one beside it.
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  if (title().isEmpty()) return;
  const QRect caption(8, 0, metrics.horizontalAdvance(title()), metrics.height());
  painter.fillRect(caption, palette().window());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, title());
}
