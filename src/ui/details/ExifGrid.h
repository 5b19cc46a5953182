#pragma once
#include <QRect>
#include <QStringList>

class QTableWidget;
class QWidget;

// The read-only name/value grids of the detail window: rows 16 px high, no
// headers, no border; a grid without entries shows one empty row.
QTableWidget* MakeExifGrid(QWidget* parent, const char* name, const QRect& geometry, int columns);
// One row per line of the columns given (all of the same length).
void FillExifGrid(QTableWidget* grid, const QList<QStringList>& columns);
