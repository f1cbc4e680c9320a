#include "ForwardingHost.h"

namespace brelix::support {

using host::CellBorders;
using host::CellPosition;
using host::CellRange;
using host::CellTextKind;

void ForwardingHost::setDisplayAlerts(bool on)
{
    m_target.setDisplayAlerts(on);
}
void ForwardingHost::setScreenUpdating(bool on)
{
    m_target.setScreenUpdating(on);
}
void ForwardingHost::setVisible(bool on)
{
    m_target.setVisible(on);
}
void ForwardingHost::setMaximized(bool on)
{
    m_target.setMaximized(on);
}
void ForwardingHost::setBusyTimeout(std::chrono::milliseconds timeout)
{
    m_target.setBusyTimeout(timeout);
}

QString ForwardingHost::openWorkbook(const QString& path)
{
    return m_target.openWorkbook(path);
}
QString ForwardingHost::addWorkbook()
{
    return m_target.addWorkbook();
}
QStringList ForwardingHost::workbookNames()
{
    return m_target.workbookNames();
}
QString ForwardingHost::activeWorkbook()
{
    return m_target.activeWorkbook();
}
void ForwardingHost::activateWorkbook(const QString& book)
{
    m_target.activateWorkbook(book);
}
void ForwardingHost::saveWorkbook(const QString& book)
{
    m_target.saveWorkbook(book);
}
void ForwardingHost::closeWorkbook(const QString& book)
{
    m_target.closeWorkbook(book);
}
void ForwardingHost::closeAllWorkbooks()
{
    m_target.closeAllWorkbooks();
}

int ForwardingHost::sheetCount(const QString& book)
{
    return m_target.sheetCount(book);
}
QString ForwardingHost::sheetName(const QString& book, int sheet)
{
    return m_target.sheetName(book, sheet);
}
void ForwardingHost::setSheetName(const QString& book, int sheet, const QString& name)
{
    m_target.setSheetName(book, sheet, name);
}
bool ForwardingHost::isSheetVisible(const QString& book, int sheet)
{
    return m_target.isSheetVisible(book, sheet);
}
int ForwardingHost::activeSheet(const QString& book)
{
    return m_target.activeSheet(book);
}
void ForwardingHost::activateSheet(const QString& book, int sheet)
{
    m_target.activateSheet(book, sheet);
}
void ForwardingHost::deleteSheet(const QString& book, const QString& name)
{
    m_target.deleteSheet(book, name);
}
bool ForwardingHost::isSheetProtected(const QString& book, int sheet)
{
    return m_target.isSheetProtected(book, sheet);
}
void ForwardingHost::unprotectSheet(const QString& book, int sheet, const QString& password)
{
    m_target.unprotectSheet(book, sheet, password);
}
CellPosition ForwardingHost::lastUsedCell(const QString& book, int sheet)
{
    return m_target.lastUsedCell(book, sheet);
}

QString ForwardingHost::cellText(const QString& book, int sheet, int row, int column,
                                 CellTextKind kind)
{
    return m_target.cellText(book, sheet, row, column, kind);
}
QList<QStringList> ForwardingHost::rangeTexts(const QString& book, int sheet,
                                              const CellRange& range, CellTextKind kind)
{
    return m_target.rangeTexts(book, sheet, range, kind);
}

void ForwardingHost::writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                               const QList<QVariantList>& rows)
{
    m_target.writeRows(book, sheet, topRow, leftColumn, rows);
}
void ForwardingHost::setCellValue(const QString& book, int sheet, int row, int column,
                                  const QVariant& value)
{
    m_target.setCellValue(book, sheet, row, column, value);
}
void ForwardingHost::setWrapText(const QString& book, int sheet, int row, int column, bool wrap)
{
    m_target.setWrapText(book, sheet, row, column, wrap);
}
void ForwardingHost::selectRange(const QString& book, int sheet, const CellRange& range)
{
    m_target.selectRange(book, sheet, range);
}

void ForwardingHost::fillRange(const QString& book, int sheet, const CellRange& range,
                               int colorIndex)
{
    m_target.fillRange(book, sheet, range, colorIndex);
}
void ForwardingHost::fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                               int colorIndex)
{
    m_target.fillCells(book, sheet, cells, colorIndex);
}
void ForwardingHost::drawGrid(const QString& book, int sheet, const CellRange& range)
{
    m_target.drawGrid(book, sheet, range);
}
int ForwardingHost::cellColorIndex(const QString& book, int sheet, int row, int column)
{
    return m_target.cellColorIndex(book, sheet, row, column);
}
CellBorders ForwardingHost::cellBorders(const QString& book, int sheet, int row, int column)
{
    return m_target.cellBorders(book, sheet, row, column);
}

host::WindowGeometry ForwardingHost::windowGeometry(const QString& book)
{
    return m_target.windowGeometry(book);
}
void ForwardingHost::setWindowGeometry(const QString& book, const host::WindowGeometry& geometry)
{
    m_target.setWindowGeometry(book, geometry);
}
void ForwardingHost::arrangeWindows(host::WindowArrangement arrangement)
{
    m_target.arrangeWindows(arrangement);
}

void ForwardingHost::printWorkbook(const QString& book)
{
    m_target.printWorkbook(book);
}
void ForwardingHost::printSheet(const QString& book, int sheet,
                                std::optional<host::PageRange> pages)
{
    m_target.printSheet(book, sheet, pages);
}

void ForwardingHost::handOver()
{
    m_target.handOver();
}
void ForwardingHost::quit()
{
    m_target.quit();
}

} // namespace brelix::support
