#include "core/host/CellBlocks.h"

#include <QHash>
#include <algorithm>

namespace brelix::host {

QList<CellRange> cellBlocks(QList<CellPosition> cells)
{
    std::sort(cells.begin(), cells.end(), [](const CellPosition& a, const CellPosition& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());

    QList<CellRange> blocks;
    // The block that ends in the row above, by the columns it spans.
    QHash<std::pair<int, int>, qsizetype> openAbove;
    QHash<std::pair<int, int>, qsizetype> openHere;
    int row = 0;
    for (qsizetype i = 0; i < cells.size();) {
        if (cells[i].row != row) {
            openAbove = cells[i].row == row + 1 ? std::move(openHere) : decltype(openAbove)();
            openHere.clear();
            row = cells[i].row;
        }
        qsizetype end = i + 1;
        while (end < cells.size() && cells[end].row == row &&
               cells[end].column == cells[end - 1].column + 1)
            ++end;
        const std::pair<int, int> span{cells[i].column, cells[end - 1].column};
        if (const auto above = openAbove.constFind(span); above != openAbove.cend()) {
            blocks[*above].last.row = row;
            openHere.insert(span, *above);
        } else {
            blocks.append(CellRange{{row, span.first}, {row, span.second}});
            openHere.insert(span, blocks.size() - 1);
        }
        i = end;
    }
    return blocks;
}

} // namespace brelix::host
