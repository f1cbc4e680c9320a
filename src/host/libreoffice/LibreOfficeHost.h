#pragma once

#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"
#include "host/libreoffice/CallWatchdog.h"
#include "host/libreoffice/CellReader.h"
#include "host/libreoffice/OfficeConnection.h"
#include "host/libreoffice/OfficeOptions.h"
#include "host/libreoffice/OfficePrinter.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/OpenWorkbook.h"

#include <atomic>
#include <memory>
#include <vector>

namespace brelix::libreoffice {

class WorkbookFile;

// One private LibreOffice Calc instance, driven over UNO.
class LibreOfficeHost : public host::SpreadsheetHost {
public:
    // Starts the office; HostError StartFailed when it does not come up in time. While it
    // starts, its process group is in `starting`, for a caller that may have to stop it.
    explicit LibreOfficeHost(const OfficeOptions& options, std::atomic<pid_t>* starting = nullptr);
    // Connects to an office already running, taken over by `process`.
    LibreOfficeHost(const OfficeOptions& options, std::unique_ptr<OfficeProcess> process);
    ~LibreOfficeHost() override;

    void setVisible(bool on) override;
    void setMaximized(bool on) override;
    void setBusyTimeout(std::chrono::milliseconds timeout) override;

    QString openWorkbook(const QString& path) override;
    QString openWorkbookUnseen(const QString& path) override;
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
    // Back to the keeper it was taken from, when it is fit for another job; else it quits.
    void finishJob() override;
    bool clearForNextJob(qint64 memoryBoundKiB) override;
    void abandon() override;
    bool isAlive() override;
    void warmUp() override;
    // Lets go of the idle office without ending it, for another program of ours to take over.
    void release();
    const OfficeProcess& process() const { return *m_process; }

    bool isHeadless() override { return m_process->isHeadless(); }

protected:
    // Only for test probes that look into what the host did; the runs never need these. The
    // office's process (the leader of its group), the open workbook of this name (HostError
    // NotFound when there is none), and the active one.
    pid_t processId() const { return m_process->pid(); }
    const OpenWorkbook& inspectWorkbook(const QString& book) { return workbook(book); }
    const QString& activeWorkbookName() const { return m_active; }

private:
    struct Entry {
        OpenWorkbook book;
        std::unique_ptr<CellReader> reader;
    };

    void connect(std::atomic<pid_t>* starting);
    void connectInTime();
    template <typename F> auto guarded(F&& body);
    host::HostError translate(const css::uno::Exception& e, bool disposed);
    Entry& entry(const QString& book);
    OpenWorkbook& workbook(const QString& book) { return entry(book).book; }
    QString open(const QString& path, bool windowless);
    css::uno::Reference<css::lang::XComponent> load(const QString& path, const WorkbookFile& file,
                                                    bool windowless);
    Entry& adopt(const css::uno::Reference<css::lang::XComponent>& component, const QString& name,
                 const QString& path, const QString& filterName, bool windowless);
    void closeWindowlessWorkbooks();
    void closeEntry(Entry& e);
    OfficePrinter& printer(); // made on the first print
    enum class Ending { Kill, HandOver, GiveBack };
    void endInstance(Ending ending);

    OfficeOptions m_options;
    std::unique_ptr<OfficeProcess> m_process;
    std::unique_ptr<CallWatchdog> m_watchdog;
    std::unique_ptr<OfficeConnection> m_connection;
    std::vector<std::unique_ptr<Entry>> m_books; // in the order they were opened
    QString m_active;
    std::unique_ptr<OfficePrinter> m_printer;
    bool m_visible = false;
    bool m_maximized = false;
    std::atomic<bool> m_ended = false; // abandon() reads it from another thread
};

} // namespace brelix::libreoffice
