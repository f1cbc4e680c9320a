#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/RunUi.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace brelix::run {

// A host whose calls run one at a time on a thread of their own while the run's thread waits
// for them, letting the run's window events run meanwhile: a slow call does not freeze the
// progress window. A cancel that a stuck call does not honour within the grace time abandons
// the instance, so that the call fails and the run reaches its cancel ending.
class ResponsiveHost : public host::SpreadsheetHost {
public:
    static constexpr std::chrono::milliseconds kCancelGrace{1000};

    // Starts the instance through `factory`, on the host thread; throws what the start throws.
    // `twoWorkbooks`: the instance is for a job that opens two workbooks at once.
    ResponsiveHost(host::SpreadsheetHostFactory& factory, RunUi& ui, bool twoWorkbooks = false);
    ~ResponsiveHost() override;
    ResponsiveHost(const ResponsiveHost&) = delete;
    ResponsiveHost& operator=(const ResponsiveHost&) = delete;

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
    void abandon() override;

private:
    enum class Waiting { Responsive, Plain };

    template <typename F> auto call(F&& body);
    void runOnHostThread(const std::function<void()>& task, Waiting waiting);
    void serve();
    void stopThread();

    host::SpreadsheetHostFactory& m_factory;
    RunUi& m_ui;
    std::unique_ptr<host::SpreadsheetHost> m_host; // made and ended on the host thread
    bool m_started = false;                        // m_host is there; only this thread's
    bool m_calling = false;                        // a call waits; only this thread's
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::function<void()>* m_task = nullptr; // the call the host thread is to make
    bool m_done = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace brelix::run
