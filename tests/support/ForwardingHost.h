#pragma once

#include "core/host/SpreadsheetHost.h"

namespace brelix::support {

// Hands a host out without handing over its ownership: code under test may destroy this
// object as it destroys any host, and the test still inspects the instance behind it.
class ForwardingHost : public host::SpreadsheetHost {
public:
    explicit ForwardingHost(host::SpreadsheetHost& target) : m_target(target) {}

    void setDisplayAlerts(bool on) override;
    void setScreenUpdating(bool on) override;
    void setVisible(bool on) override;
    void setMaximized(bool on) override;
    void setBusyTimeout(std::chrono::milliseconds timeout) override;

    QString openWorkbook(const QString& path) override;
    QString addWorkbook() override;
    QStringList workbookNames() override;
    QString activeWorkbook() override;
    void activateWorkbook(const QString& book) override;
    void saveWorkbook(const QString& book) override;
    void closeWorkbook(const QString& book) override;
    void closeAllWorkbooks() override;

    int sheetCount(const QString& book) override;
    QString sheetName(const QString& book, int sheet) override;
    void setSheetName(const QString& book, int sheet, const QString& name) override;
    bool isSheetVisible(const QString& book, int sheet) override;
    int activeSheet(const QString& book) override;
    void activateSheet(const QString& book, int sheet) override;
    void deleteSheet(const QString& book, const QString& name) override;
    bool isSheetProtected(const QString& book, int sheet) override;
    void unprotectSheet(const QString& book, int sheet, const QString& password) override;
    host::CellPosition lastUsedCell(const QString& book, int sheet) override;

    QString cellText(const QString& book, int sheet, int row, int column,
                     host::CellTextKind kind) override;
    QList<QStringList> rangeTexts(const QString& book, int sheet, const host::CellRange& range,
                                  host::CellTextKind kind) override;

    void writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                   const QList<QVariantList>& rows) override;
    void setCellValue(const QString& book, int sheet, int row, int column,
                      const QVariant& value) override;
    void setWrapText(const QString& book, int sheet, int row, int column, bool wrap) override;
    void selectRange(const QString& book, int sheet, const host::CellRange& range) override;

    void fillRange(const QString& book, int sheet, const host::CellRange& range,
                   int colorIndex) override;
    void fillCells(const QString& book, int sheet, const QList<host::CellPosition>& cells,
                   int colorIndex) override;
    void drawGrid(const QString& book, int sheet, const host::CellRange& range) override;
    int cellColorIndex(const QString& book, int sheet, int row, int column) override;
    host::CellBorders cellBorders(const QString& book, int sheet, int row, int column) override;

    host::WindowGeometry windowGeometry(const QString& book) override;
    void setWindowGeometry(const QString& book, const host::WindowGeometry& geometry) override;
    void arrangeWindows(host::WindowArrangement arrangement) override;

    void printWorkbook(const QString& book) override;
    void printSheet(const QString& book, int sheet, std::optional<host::PageRange> pages) override;

    void handOver() override;
    void quit() override;

private:
    host::SpreadsheetHost& m_target;
};

} // namespace brelix::support
