#include "ui/mainwindow/MainIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace MainIcons {

namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A round badge with a soft top light, the base of both 32-pixel icons.
void Badge(QPainter& p, QColor top, QColor bottom) {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 2, 0, 30);
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  p.setPen(QPen(bottom.darker(130), 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
}

// The picture of data/lumatrim.svg on a 64-unit grid.
void DrawApp(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 4, 0, 60);
  back.setColorAt(0, QColor(0x2F, 0x6F, 0x8F));
  back.setColorAt(1, QColor(0x1E, 0x4A, 0x66));
  p.setPen(Qt::NoPen);
  p.setBrush(back);
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(14, 16, 36, 28));
  p.setBrush(QColor(0x8F, 0xD3, 0xF4));
  p.drawRect(QRectF(17, 19, 30, 22));
  p.setBrush(QColor(0xFF, 0xD5, 0x4A));
  p.drawEllipse(QPointF(40, 25), 4, 4);
  p.setBrush(QColor(0x3C, 0x8D, 0x5A));
  p.drawPolygon(QPolygonF({{17, 41}, {27, 28}, {33, 35}, {37, 31}, {47, 41}}));
  QPen crop(QColor(0xFF, 0xB3, 0x00), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(crop);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{10, 22}, {10, 12}, {20, 12}}));
  p.drawPolyline(QPolygonF({{54, 42}, {54, 52}, {44, 52}}));
}

}  // namespace

QPixmap ExitIcon() {
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  Badge(p, QColor(0xE8, 0x6B, 0x67), QColor(0xB7, 0x34, 0x30));
  QPen pen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  // A power symbol: an open ring and a bar through its gap.
  p.drawArc(QRectF(9, 9.5, 14, 14), 125 * 16, -250 * 16);
  p.drawLine(QPointF(16, 7.5), QPointF(16, 15.5));
  return pixmap;
}

QPixmap InfoIcon() {
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  Badge(p, QColor(0x5A, 0xA2, 0xDE), QColor(0x22, 0x6C, 0xAE));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
  p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 11.5), 1.2, 1.2);
  return pixmap;
}

QIcon PhotoFileIcon() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x6B, 0x7B, 0x8C), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 2.5, 13, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x8F, 0xD3, 0xF4));
  p.drawRect(QRectF(3, 4, 10, 8));
  p.setBrush(QColor(0x3C, 0x8D, 0x5A));
  p.drawPolygon(QPolygonF({{3, 12}, {6.5, 7}, {9, 10}, {10.5, 8.5}, {13, 12}}));
  p.setBrush(QColor(0xFF, 0xD5, 0x4A));
  p.drawEllipse(QPointF(10.5, 6), 1.2, 1.2);
  return QIcon(pixmap);
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.scale(size / 64.0, size / 64.0);
    DrawApp(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace MainIcons
