#pragma once

#include "core/host/CellRange.h"

#include <QList>

namespace brelix::host {

// The same cells as rectangles: runs of neighbours along a row, and runs that span the same
// columns in rows one below the other as one. Styling a few rectangles is far quicker for an
// office than styling each cell.
QList<CellRange> cellBlocks(QList<CellPosition> cells);

} // namespace brelix::host
