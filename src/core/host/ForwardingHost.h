#pragma once

#include "core/host/SpreadsheetHost.h"

#include <functional>
#include <optional>
#include <type_traits>

namespace brelix::host {

// A host that passes every call on through relay(), written out once here: a wrapper that adds
// one behaviour (a thread of its own, two instances seen as one, a pool) overrides relay() and
// the few calls it changes.
class ForwardingHost : public SpreadsheetHost {
protected:
    using H = SpreadsheetHost;

    // Makes `call` on the instance that does the work. `book`: the workbook the call is about;
    // none for a call about the whole instance.
    virtual void relay(const QString* book, const std::function<void(SpreadsheetHost&)>& call) = 0;

    template <typename F> auto pass(const QString* book, F&& body)
    {
        using Result = std::invoke_result_t<F, SpreadsheetHost&>;
        if constexpr (std::is_void_v<Result>) {
            relay(book, body);
        } else {
            std::optional<Result> result;
            relay(book, [&](SpreadsheetHost& h) { result = body(h); });
            return std::move(*result);
        }
    }

public:
    void setVisible(bool on) override
    {
        pass(nullptr, [&](H& h) { h.setVisible(on); });
    }
    void setMaximized(bool on) override
    {
        pass(nullptr, [&](H& h) { h.setMaximized(on); });
    }
    void setBusyTimeout(std::chrono::milliseconds timeout) override
    {
        pass(nullptr, [&](H& h) { h.setBusyTimeout(timeout); });
    }

    QString openWorkbook(const QString& path) override
    {
        return pass(nullptr, [&](H& h) { return h.openWorkbook(path); });
    }
    QStringList openWorkbooks(const QStringList& paths, bool unseen = false) override
    {
        return pass(nullptr, [&](H& h) { return h.openWorkbooks(paths, unseen); });
    }
    QString openWorkbookUnseen(const QString& path) override
    {
        return pass(nullptr, [&](H& h) { return h.openWorkbookUnseen(path); });
    }
    QStringList workbookNames() override
    {
        return pass(nullptr, [&](H& h) { return h.workbookNames(); });
    }
    void activateWorkbook(const QString& book) override
    {
        pass(&book, [&](H& h) { h.activateWorkbook(book); });
    }
    void saveWorkbook(const QString& book) override
    {
        pass(&book, [&](H& h) { h.saveWorkbook(book); });
    }
    void closeWorkbook(const QString& book) override
    {
        pass(&book, [&](H& h) { h.closeWorkbook(book); });
    }
    void closeAllWorkbooks() override
    {
        pass(nullptr, [&](H& h) { h.closeAllWorkbooks(); });
    }

    int sheetCount(const QString& book) override
    {
        return pass(&book, [&](H& h) { return h.sheetCount(book); });
    }
    QString sheetName(const QString& book, int sheet) override
    {
        return pass(&book, [&](H& h) { return h.sheetName(book, sheet); });
    }
    void setSheetName(const QString& book, int sheet, const QString& name) override
    {
        pass(&book, [&](H& h) { h.setSheetName(book, sheet, name); });
    }
    bool isSheetVisible(const QString& book, int sheet) override
    {
        return pass(&book, [&](H& h) { return h.isSheetVisible(book, sheet); });
    }
    void activateSheet(const QString& book, int sheet) override
    {
        pass(&book, [&](H& h) { h.activateSheet(book, sheet); });
    }
    void deleteSheet(const QString& book, const QString& name) override
    {
        pass(&book, [&](H& h) { h.deleteSheet(book, name); });
    }
    void addSheetWithHeading(const QString& book, int sheet, const QString& name) override
    {
        pass(&book, [&](H& h) { h.addSheetWithHeading(book, sheet, name); });
    }
    bool isSheetProtected(const QString& book, int sheet) override
    {
        return pass(&book, [&](H& h) { return h.isSheetProtected(book, sheet); });
    }
    void unprotectSheet(const QString& book, int sheet, const QString& password) override
    {
        pass(&book, [&](H& h) { h.unprotectSheet(book, sheet, password); });
    }
    CellPosition lastUsedCell(const QString& book, int sheet) override
    {
        return pass(&book, [&](H& h) { return h.lastUsedCell(book, sheet); });
    }

    QList<QStringList> rangeTexts(const QString& book, int sheet, const CellRange& range,
                                  CellTextKind kind) override
    {
        return pass(&book, [&](H& h) { return h.rangeTexts(book, sheet, range, kind); });
    }
    std::pair<QList<QStringList>, QList<QStringList>>
    rangeTextsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                     int secondSheet, const CellRange& range, CellTextKind kind) override
    {
        return pass(nullptr, [&](H& h) {
            return h.rangeTextsOfBoth(firstBook, secondBook, firstSheet, secondSheet, range, kind);
        });
    }
    void writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                   const QList<QVariantList>& rows) override
    {
        pass(&book, [&](H& h) { h.writeRows(book, sheet, topRow, leftColumn, rows); });
    }
    void setCellValue(const QString& book, int sheet, int row, int column,
                      const QVariant& value) override
    {
        pass(&book, [&](H& h) { h.setCellValue(book, sheet, row, column, value); });
    }
    void setWrapText(const QString& book, int sheet, int row, int column, bool wrap) override
    {
        pass(&book, [&](H& h) { h.setWrapText(book, sheet, row, column, wrap); });
    }
    void selectRange(const QString& book, int sheet, const CellRange& range) override
    {
        pass(&book, [&](H& h) { h.selectRange(book, sheet, range); });
    }

    void fillRange(const QString& book, int sheet, const CellRange& range, int colourIndex) override
    {
        pass(&book, [&](H& h) { h.fillRange(book, sheet, range, colourIndex); });
    }
    void fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                   int colourIndex) override
    {
        pass(&book, [&](H& h) { h.fillCells(book, sheet, cells, colourIndex); });
    }
    void fillCellsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                         int secondSheet, const QList<CellPosition>& cells,
                         int colourIndex) override
    {
        pass(nullptr, [&](H& h) {
            h.fillCellsOfBoth(firstBook, secondBook, firstSheet, secondSheet, cells, colourIndex);
        });
    }
    void drawGrid(const QString& book, int sheet, const CellRange& range) override
    {
        pass(&book, [&](H& h) { h.drawGrid(book, sheet, range); });
    }

    WindowGeometry windowGeometry(const QString& book) override
    {
        return pass(&book, [&](H& h) { return h.windowGeometry(book); });
    }
    void setWindowGeometry(const QString& book, const WindowGeometry& geometry) override
    {
        pass(&book, [&](H& h) { h.setWindowGeometry(book, geometry); });
    }
    void arrangeWindows(WindowArrangement arrangement) override
    {
        pass(nullptr, [&](H& h) { h.arrangeWindows(arrangement); });
    }

    void printWorkbook(const QString& book) override
    {
        pass(&book, [&](H& h) { h.printWorkbook(book); });
    }
    void printSheet(const QString& book, int sheet, std::optional<PageRange> pages) override
    {
        pass(&book, [&](H& h) { h.printSheet(book, sheet, pages); });
    }

    void handOver() override
    {
        pass(nullptr, [&](H& h) { h.handOver(); });
    }
    void quit() override
    {
        pass(nullptr, [&](H& h) { h.quit(); });
    }
    void finishJob() override
    {
        pass(nullptr, [&](H& h) { h.finishJob(); });
    }
    bool clearForNextJob(qint64 memoryBoundKiB) override
    {
        return pass(nullptr, [&](H& h) { return h.clearForNextJob(memoryBoundKiB); });
    }
    bool isHeadless() override
    {
        return pass(nullptr, [&](H& h) { return h.isHeadless(); });
    }
    void warmUp() override
    {
        pass(nullptr, [&](H& h) { h.warmUp(); });
    }
    bool isAlive() override
    {
        return pass(nullptr, [&](H& h) { return h.isAlive(); });
    }
    void abandon() override
    {
        pass(nullptr, [&](H& h) { h.abandon(); });
    }
};

} // namespace brelix::host
