#pragma once

#include "core/host/CellRange.h"
#include "core/host/WindowGeometry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <chrono>
#include <optional>
#include <utility>

namespace brelix::host {

enum class CellTextKind { Value, Formula };

// Pages to print, from 1, inclusive.
struct PageRange {
    int from = 1;
    int to = 1;
};

// One private instance of a spreadsheet application. Workbooks are addressed by their bare file
// name, sheets by position from 1, cells by row and column from 1. Every operation that fails
// throws HostError; none waits for a person.
class SpreadsheetHost {
public:
    virtual ~SpreadsheetHost() = default;

    // Instance settings.
    virtual void setVisible(bool on) = 0;
    virtual void setMaximized(bool on) = 0;
    // How long one operation may take before the instance counts as not answering.
    virtual void setBusyTimeout(std::chrono::milliseconds timeout) = 0;

    // Workbooks. Opening makes the workbook active and returns its name.
    virtual QString openWorkbook(const QString& path) = 0;
    // Opens them in this order, as one call each would; an instance that can load several at
    // once does. The first failure ends it, leaving open what opened before.
    virtual QStringList openWorkbooks(const QStringList& paths, bool unseen = false)
    {
        QStringList books;
        for (const QString& path : paths)
            books.append(unseen ? openWorkbookUnseen(path) : openWorkbook(path));
        return books;
    }
    // Opens a workbook that nobody will see: it is never shown, and window calls on it only
    // keep its place. An instance may load it faster, without a window.
    virtual QString openWorkbookUnseen(const QString& path) { return openWorkbook(path); }
    virtual QStringList workbookNames() = 0;
    virtual void activateWorkbook(const QString& book) = 0;
    virtual void saveWorkbook(const QString& book) = 0;  // in the workbook's own format
    virtual void closeWorkbook(const QString& book) = 0; // unsaved
    virtual void closeAllWorkbooks() = 0;                // unsaved

    // Worksheets.
    virtual int sheetCount(const QString& book) = 0;
    virtual QString sheetName(const QString& book, int sheet) = 0;
    virtual void setSheetName(const QString& book, int sheet, const QString& name) = 0;
    virtual bool isSheetVisible(const QString& book, int sheet) = 0;
    virtual void activateSheet(const QString& book, int sheet) = 0;
    virtual void deleteSheet(const QString& book, const QString& name) = 0;
    // Puts a sheet named `name` right after `sheet`, holding that sheet's first row (a heading)
    // with its column widths and cell styles, and no other cell.
    virtual void addSheetWithHeading(const QString& book, int sheet, const QString& name) = 0;
    virtual bool isSheetProtected(const QString& book, int sheet) = 0;
    // Removes the protection for the rest of the session; WrongPassword when refused.
    virtual void unprotectSheet(const QString& book, int sheet, const QString& password) = 0;
    // Bottom-right corner of the used area; 1,1 for an empty sheet; SheetProtected on a
    // protected sheet.
    virtual CellPosition lastUsedCell(const QString& book, int sheet) = 0;

    // The texts of a rectangle of cells, row by row, in one call.
    virtual QList<QStringList> rangeTexts(const QString& book, int sheet, const CellRange& range,
                                          CellTextKind kind) = 0;

    // The same rectangle of a sheet of each of two workbooks, as two calls one after the other
    // read it; an instance that holds the two in offices of their own reads both at once.
    virtual std::pair<QList<QStringList>, QList<QStringList>>
    rangeTextsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                     int secondSheet, const CellRange& range, CellTextKind kind)
    {
        QList<QStringList> first = rangeTexts(firstBook, firstSheet, range, kind);
        return {std::move(first), rangeTexts(secondBook, secondSheet, range, kind)};
    }

    // Writes rows of values from (topRow, leftColumn). Numbers become numbers; texts are stored
    // as given, never read as formulas.
    virtual void writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                           const QList<QVariantList>& rows) = 0;
    virtual void setCellValue(const QString& book, int sheet, int row, int column,
                              const QVariant& value) = 0;
    virtual void setWrapText(const QString& book, int sheet, int row, int column, bool wrap) = 0;
    virtual void selectRange(const QString& book, int sheet, const CellRange& range) = 0;

    // Styling by the palette's colour indexes; continuous thin lines.
    virtual void fillRange(const QString& book, int sheet, const CellRange& range,
                           int colourIndex) = 0;
    virtual void fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                           int colourIndex) = 0;
    // The same cells of two workbooks, as two calls one after the other colour them; at once
    // where the two are in offices of their own.
    virtual void fillCellsOfBoth(const QString& firstBook, const QString& secondBook,
                                 int firstSheet, int secondSheet, const QList<CellPosition>& cells,
                                 int colourIndex)
    {
        fillCells(firstBook, firstSheet, cells, colourIndex);
        fillCells(secondBook, secondSheet, cells, colourIndex);
    }
    virtual void drawGrid(const QString& book, int sheet, const CellRange& range) = 0;

    // Workbook windows.
    virtual WindowGeometry windowGeometry(const QString& book) = 0;
    virtual void setWindowGeometry(const QString& book, const WindowGeometry& geometry) = 0;
    // Tiles every workbook window over the screen, the active one first.
    virtual void arrangeWindows(WindowArrangement arrangement) = 0;

    // Printing, one copy. A job that does not reach its printer or file throws PrintFailed.
    virtual void printWorkbook(const QString& book) = 0;
    virtual void printSheet(const QString& book, int sheet, std::optional<PageRange> pages) = 0;

    // The end of the instance: leave it running and visible for the user, or close everything
    // unsaved and stop it. Either may be called once; later operations fail.
    virtual void handOver() = 0;
    virtual void quit() = 0;
    // The end of a job that went well and leaves nothing for the user: an instance kept in a
    // pool goes back to it for another job (see clearForNextJob()); any other quits.
    virtual void finishJob() { quit(); }
    // Closes every workbook of the instance unsaved and says whether it may serve another job:
    // it answers, holds no document and uses at most `memoryBoundKiB` of memory. An instance
    // that cannot tell says no.
    virtual bool clearForNextJob(qint64 memoryBoundKiB)
    {
        Q_UNUSED(memoryBoundKiB);
        return false;
    }
    // Can the instance show nothing? Its hand-over then ends it as finishJob() does.
    virtual bool isHeadless() { return false; }
    // Does once, on an instance kept idle for a job to come, what its first job would otherwise
    // wait for (loading its readers and writers, say). Leaves no workbook open.
    virtual void warmUp() {}
    // Is the instance still there to work for a job? Cheap, for one kept idle, whose end no
    // call would notice.
    virtual bool isAlive() { return true; }
    // Stops the instance at once, from any thread, so that a call stuck in it fails now; the
    // instance is only good for quit() afterwards. An instance that cannot get stuck ignores it.
    virtual void abandon() {}
};

} // namespace brelix::host
