#pragma once

#include "PrintJob.h"
#include "WorkbookContent.h"
#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

namespace brelix::support {

// A spreadsheet host that keeps workbooks as plain data. Files are registered by path
// beforehand; saving writes back into that table. Every call is recorded, and any named call
// can be made to fail, so each failure path of a run can be tested without an office.
class InMemoryHost : public host::SpreadsheetHost {
public:
    using FileTable = std::map<QString, WorkbookContent>;
    enum class State { Running, HandedOver, Quit };

    static constexpr host::WindowGeometry DefaultWindow{0, 0, 600, 400};
    // The area arrangeWindows tiles, in points.
    static constexpr double ScreenWidth = 1024;
    static constexpr double ScreenHeight = 740;

    InMemoryHost();
    // Shares the file table with other hosts, as instances on one machine share a disk.
    explicit InMemoryHost(std::shared_ptr<FileTable> files);

    void addFile(const QString& path, const WorkbookContent& content);
    // What the file table holds for a path, saved or registered; nothing for an unknown path.
    std::optional<WorkbookContent> savedContent(const QString& path) const;
    // An open workbook's current content, to inspect and to arrange test situations.
    WorkbookContent& workbook(const QString& book);
    // What is open and where its window lies, readable after the instance was handed over.
    QStringList openWorkbooks() const;
    host::WindowGeometry window(const QString& book);

    // "openWorkbook(/p/a.xls)", "cellText(a.xls,1,2,3,Value)", in the order of the calls.
    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The nthUse-th call (from 1) of the operation throws a HostError of this kind. An
    // Unavailable failure also ends the instance, as a crashed office does.
    void failOn(const QString& operation, int nthUse,
                host::HostError::Kind kind = host::HostError::Kind::General);

    const QList<PrintJob>& printJobs() const { return m_printJobs; }
    State state() const { return m_state; }
    bool displayAlerts() const { return m_displayAlerts; }
    bool screenUpdating() const { return m_screenUpdating; }
    bool isVisible() const { return m_visible; }
    bool isMaximized() const { return m_maximized; }
    std::chrono::milliseconds busyTimeout() const { return m_busyTimeout; }

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
    struct OpenBook {
        QString name;
        QString path; // empty for a workbook added in this session
        WorkbookContent content;
        host::WindowGeometry window = DefaultWindow;
    };
    struct Failure {
        QString operation;
        int nthUse;
        host::HostError::Kind kind;
    };

    void enter(const QString& operation, const QStringList& arguments);
    OpenBook& openBook(const QString& book);
    SheetContent& sheetOf(const QString& book, int sheet);
    void checkCell(int row, int column) const;
    void checkRange(const host::CellRange& range) const;
    void setFill(SheetContent& sheet, int row, int column, int colorIndex);

    std::shared_ptr<FileTable> m_files;
    QList<OpenBook> m_books; // in the order they were opened
    QString m_active;
    int m_addedBooks = 0;
    QStringList m_calls;
    QMap<QString, int> m_uses;
    QList<Failure> m_failures;
    QList<PrintJob> m_printJobs;
    State m_state = State::Running;
    bool m_dead = false;
    bool m_displayAlerts = true;
    bool m_screenUpdating = true;
    bool m_visible = false;
    bool m_maximized = false;
    std::chrono::milliseconds m_busyTimeout{0};
};

} // namespace brelix::support
