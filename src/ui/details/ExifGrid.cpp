#include "ui/details/ExifGrid.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* MakeExifGrid(QWidget* parent, const char* name, const QRect& geometry, int columns) {
  auto* grid = new QTableWidget(1, columns, parent);
  grid->setObjectName(QLatin1String(name));
  grid->setGeometry(geometry);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(16);
  grid->verticalHeader()->setDefaultSectionSize(16);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->setFrameShape(QFrame::NoFrame);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setTextElideMode(Qt::ElideRight);
  grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  for (int column = 0; column < columns; ++column) grid->setColumnWidth(column, 170);
  return grid;
}

void FillExifGrid(QTableWidget* grid, const QList<QStringList>& columns) {
  const int rows = columns.isEmpty() ? 0 : static_cast<int>(columns.first().size());
  grid->clearContents();
  grid->setRowCount(rows > 0 ? rows : 1);
  for (int column = 0; column < columns.size(); ++column) {
    for (int row = 0; row < rows; ++row) {
      auto* item = new QTableWidgetItem(columns[column].value(row));
      item->setToolTip(item->text());  // long maker values do not fit 170 px
      grid->setItem(row, column, item);
    }
  }
}
