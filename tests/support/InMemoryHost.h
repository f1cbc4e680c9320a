#pragma once

#include "HostProbe.h"
#include "WorkbookContent.h"
#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

namespace brelix::support {

// One print job the in-memory host was given.
struct PrintJob {
    QString book;
    int sheet = 0; // 0: the whole workbook
    std::optional<host::PageRange> pages;
    int sequence = 0; // among the jobs of every instance, from 1 in each program
};

// A spreadsheet host that keeps workbooks as plain data. Files are registered by path in a
// table beforehand; saving writes back into it. Every call is recorded, and any named call can
// be made to fail, so each failure path of a run can be tested without an office. A copy is a
// second handle on the same instance: the code under test may destroy its handle, as it
// destroys any host, while the test still inspects the instance through another.
class InMemoryHost : public host::SpreadsheetHost, public HostProbe {
public:
    using FileTable = std::map<QString, WorkbookContent>;
    enum class State { Running, HandedOver, Quit };

    // The area arrangeWindows tiles, in points.
    static constexpr double ScreenWidth = 1024;
    static constexpr double ScreenHeight = 740;

    // Instances on one machine share the files of its disk.
    explicit InMemoryHost(std::shared_ptr<FileTable> files = std::make_shared<FileTable>());
    InMemoryHost(const InMemoryHost&) = default;
    InMemoryHost& operator=(const InMemoryHost&) = delete;

    // An open workbook's current content, to inspect and to arrange test situations.
    WorkbookContent& workbook(const QString& book) { return openBook(book).content; }
    // What is open and where its window lies, readable after the instance was handed over.
    QStringList openWorkbookNames() const;
    host::WindowGeometry window(const QString& book) { return openBook(book).window; }

    // "openWorkbook(/p/a.xls)", "rangeTexts(a.xls,1,A1:C3,Value)", in the order of the calls.
    const QStringList& calls() const { return m_instance->calls; }
    // The nthUse-th call (from 1) of the operation throws a HostError of this kind. An
    // Unavailable failure also ends the instance, as a crashed office does.
    void failOn(const QString& operation, int nthUse,
                host::HostError::Kind kind = host::HostError::Kind::General)
    {
        m_instance->failures.append({operation, nthUse, kind});
    }
    // Every call of the operation (rangeTexts, fillCells) that touches the cell fails.
    void failOnCell(const QString& operation, const QString& book, int sheet,
                    const host::CellPosition& cell,
                    host::HostError::Kind kind = host::HostError::Kind::General);

    const QList<PrintJob>& printJobs() const { return m_instance->printJobs; }
    State state() const { return m_instance->state; }
    bool isVisible() const { return m_instance->visible; }
    int warmUpCount() const { return m_instance->warmUps; }
    std::chrono::milliseconds busyTimeout() const { return m_instance->busyTimeout; }

    bool isAlive() override;
    void warmUp() override { ++m_instance->warmUps; }
    void setVisible(bool on) override;
    void setMaximized(bool on) override;
    void setBusyTimeout(std::chrono::milliseconds timeout) override;

    QString openWorkbook(const QString& path) override;
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
    void drawGrid(const QString& book, int sheet, const host::CellRange& range) override;

    host::WindowGeometry windowGeometry(const QString& book) override;
    void setWindowGeometry(const QString& book, const host::WindowGeometry& geometry) override;
    void arrangeWindows(host::WindowArrangement arrangement) override;

    void printWorkbook(const QString& book) override;
    void printSheet(const QString& book, int sheet, std::optional<host::PageRange> pages) override;

    void handOver() override;
    void quit() override;

    QString activeWorkbook() override { return m_instance->active; }
    int activeSheet(const QString& book) override { return openBook(book).content.activeSheet; }
    QString cellText(const QString& book, int sheet, int row, int column,
                     host::CellTextKind kind) override;
    int cellColourIndex(const QString& book, int sheet, int row, int column) override
    {
        return sheetOf(book, sheet).fill(row, column);
    }
    CellBorders cellBorders(const QString& book, int sheet, int row, int column) override
    {
        return sheetOf(book, sheet).border(row, column);
    }

private:
    struct OpenBook {
        QString name;
        QString path;
        WorkbookContent content;
        host::WindowGeometry window{0, 0, 600, 400};
    };
    struct Failure {
        QString operation;
        int nthUse;
        host::HostError::Kind kind;
    };
    // What every handle on one instance shares.
    struct Instance {
        std::shared_ptr<FileTable> files;
        QList<OpenBook> books; // in the order they were opened
        QString active;
        QStringList calls;
        std::map<QString, int> uses;
        QList<Failure> failures;
        QStringList failingCells; // "operation book sheet address"
        QStringList deadlyCells;  // the same, ending the instance
        QList<PrintJob> printJobs;
        State state = State::Running;
        bool dead = false;
        bool visible = false;
        int warmUps = 0;
        std::chrono::milliseconds busyTimeout{0};
    };

    // Each call records itself first and may then fail as asked; the calls about one workbook
    // or one sheet go on to find it.
    Instance& enter(const QString& operation, const QStringList& arguments);
    OpenBook& enterBook(const QString& operation, const QString& book,
                        const QStringList& more = {});
    SheetContent& enterSheet(const QString& operation, const QString& book, int sheet,
                             const QStringList& more = {});
    OpenBook& openBook(const QString& book);
    SheetContent& sheetOf(const QString& book, int sheet);
    void failIfTouched(const QString& operation, const QString& book, int sheet,
                       const QList<host::CellPosition>& cells) const;
    static void fill(SheetContent& sheet, const QList<host::CellPosition>& cells, int colourIndex);

    std::shared_ptr<Instance> m_instance;
};

} // namespace brelix::support
