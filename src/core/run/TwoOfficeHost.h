#pragma once

#include "core/host/SpreadsheetHost.h"

#include <memory>

namespace brelix::run {

// Two instances seen as one, so that a job's two workbooks load side by side, each in an
// instance of its own: an instance loads one workbook at a time. openWorkbooks() puts the
// second of two workbooks into the second instance; every other workbook goes into the first.
// Calls about a workbook go to the instance that holds it, the rest to both. The windows of the
// two are not arranged together: this is for instances nobody sees.
class TwoOfficeHost : public host::SpreadsheetHost {
public:
    TwoOfficeHost(std::unique_ptr<host::SpreadsheetHost> first,
                  std::unique_ptr<host::SpreadsheetHost> second);
    ~TwoOfficeHost() override;
    TwoOfficeHost(const TwoOfficeHost&) = delete;
    TwoOfficeHost& operator=(const TwoOfficeHost&) = delete;

    void setVisible(bool on) override;
    void setMaximized(bool on) override;
    void setBusyTimeout(std::chrono::milliseconds timeout) override;

    QString openWorkbook(const QString& path) override;
    QStringList openWorkbooks(const QStringList& paths) override;
    QStringList workbookNames() override;
    void activateWorkbook(const QString& book) override;
    void saveWorkbook(const QString& book) override;
    void closeWorkbook(const QString& book) override;
    void closeAllWorkbooks() override;

    int sheetCount(const QString& book) override;
    QString sheetName(const QString& book, int sheet) override;
    void setSheetName(const QString& book, int sheet, const QString& name) override;
    bool isSheetVisible(const QString& book, int sheet) override;
    void activateSheet(const QString& book, int sheet) override;
    void deleteSheet(const QString& book, const QString& name) override;
    void addSheetWithHeading(const QString& book, int sheet, const QString& name) override;
    bool isSheetProtected(const QString& book, int sheet) override;
    void unprotectSheet(const QString& book, int sheet, const QString& password) override;
    host::CellPosition lastUsedCell(const QString& book, int sheet) override;

    QList<QStringList> rangeTexts(const QString& book, int sheet, const host::CellRange& range,
                                  host::CellTextKind kind) override;
    std::pair<QList<QStringList>, QList<QStringList>>
    rangeTextsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                     int secondSheet, const host::CellRange& range,
                     host::CellTextKind kind) override;
    void writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                   const QList<QVariantList>& rows) override;
    void setCellValue(const QString& book, int sheet, int row, int column,
                      const QVariant& value) override;
    void setWrapText(const QString& book, int sheet, int row, int column, bool wrap) override;
    void selectRange(const QString& book, int sheet, const host::CellRange& range) override;

    void fillRange(const QString& book, int sheet, const host::CellRange& range,
                   int colourIndex) override;
    void fillCells(const QString& book, int sheet, const QList<host::CellPosition>& cells,
                   int colourIndex) override;
    void fillCellsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                         int secondSheet, const QList<host::CellPosition>& cells,
                         int colourIndex) override;
    void drawGrid(const QString& book, int sheet, const host::CellRange& range) override;

    host::WindowGeometry windowGeometry(const QString& book) override;
    void setWindowGeometry(const QString& book, const host::WindowGeometry& geometry) override;
    void arrangeWindows(host::WindowArrangement arrangement) override;

    void printWorkbook(const QString& book) override;
    void printSheet(const QString& book, int sheet, std::optional<host::PageRange> pages) override;

    void handOver() override;
    void quit() override;
    bool isAlive() override;
    void abandon() override;

private:
    host::SpreadsheetHost& holder(const QString& book);
    bool inSecond(const QString& book) const;
    // Calls `call` on both instances, the second even when the first fails; the first failure
    // is thrown afterwards.
    template <typename F> void onBoth(F&& call);
    // Runs `second` on a thread of its own while `first` runs here; throws what `first` threw,
    // else what `second` threw. `undoSecond` runs when only `first` failed.
    template <typename A, typename B, typename U>
    static void sideBySide(A&& first, B&& second, U&& undoSecond);

    std::unique_ptr<host::SpreadsheetHost> m_first;
    std::unique_ptr<host::SpreadsheetHost> m_second;
    QStringList m_secondBooks; // the workbooks the second instance holds
};

} // namespace brelix::run
