#include "core/run/ResponsiveHost.h"

#include "core/host/HostError.h"

#include <exception>
#include <optional>

namespace brelix::run {

namespace {

// A wait shorter than this passes unnoticed; longer ones let the window's events run.
constexpr std::chrono::milliseconds kPoll{20};

} // namespace

ResponsiveHost::ResponsiveHost(host::SpreadsheetHostFactory& factory, RunUi& ui, bool twoWorkbooks)
    : m_factory(factory), m_ui(ui), m_thread([this] { serve(); })
{
    try {
        runOnHostThread(
            [&] { m_host = twoWorkbooks ? m_factory.startForTwoWorkbooks() : m_factory.start(); },
            Waiting::Responsive);
        m_started = true;
    } catch (...) {
        stopThread();
        throw;
    }
}

ResponsiveHost::~ResponsiveHost()
{
    // Where it was made; a destructor lets no window event run.
    runOnHostThread([this] { m_host.reset(); }, Waiting::Plain);
    stopThread();
}

void ResponsiveHost::stopThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ResponsiveHost::serve()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_task || m_stop; });
        if (!m_task)
            return;
        const std::function<void()>* task = m_task;
        lock.unlock();
        (*task)();
        lock.lock();
        m_task = nullptr;
        m_done = true;
        m_changed.notify_all();
    }
}

void ResponsiveHost::runOnHostThread(const std::function<void()>& task, Waiting waiting)
{
    std::exception_ptr failure;
    const std::function<void()> caught = [&] {
        try {
            task();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    // The events run while waiting must not call in again; a run never does.
    if (m_calling)
        throw host::HostError(host::HostError::Kind::General,
                              QStringLiteral("the office is busy with another call"));
    m_calling = true;
    std::unique_lock lock(m_mutex);
    m_task = &caught;
    m_done = false;
    m_changed.notify_all();
    std::optional<std::chrono::steady_clock::time_point> cancelSeen;
    bool abandoned = false;
    while (!m_changed.wait_for(lock, kPoll, [this] { return m_done; })) {
        if (waiting == Waiting::Plain)
            continue;
        lock.unlock();
        m_ui.processEvents();
        if (m_ui.cancelRequested() && !abandoned) {
            const auto now = std::chrono::steady_clock::now();
            if (!cancelSeen) {
                cancelSeen = now;
            } else if (now - *cancelSeen >= kCancelGrace) {
                m_started ? m_host->abandon() : m_factory.abandonStart();
                abandoned = true;
            }
        }
        lock.lock();
    }
    lock.unlock();
    m_calling = false;
    if (failure)
        std::rethrow_exception(failure);
}

template <typename F> auto ResponsiveHost::call(F&& body)
{
    using Result = decltype(body());
    if constexpr (std::is_void_v<Result>) {
        runOnHostThread(body, Waiting::Responsive);
    } else {
        Result result{};
        runOnHostThread([&] { result = body(); }, Waiting::Responsive);
        return result;
    }
}

void ResponsiveHost::setVisible(bool on)
{
    call([&] { m_host->setVisible(on); });
}

void ResponsiveHost::setMaximized(bool on)
{
    call([&] { m_host->setMaximized(on); });
}

void ResponsiveHost::setBusyTimeout(std::chrono::milliseconds timeout)
{
    call([&] { m_host->setBusyTimeout(timeout); });
}

QString ResponsiveHost::openWorkbook(const QString& path)
{
    return call([&] { return m_host->openWorkbook(path); });
}

QStringList ResponsiveHost::openWorkbooks(const QStringList& paths)
{
    return call([&] { return m_host->openWorkbooks(paths); });
}

QStringList ResponsiveHost::workbookNames()
{
    return call([&] { return m_host->workbookNames(); });
}

void ResponsiveHost::activateWorkbook(const QString& book)
{
    call([&] { m_host->activateWorkbook(book); });
}

void ResponsiveHost::saveWorkbook(const QString& book)
{
    call([&] { m_host->saveWorkbook(book); });
}

void ResponsiveHost::closeWorkbook(const QString& book)
{
    call([&] { m_host->closeWorkbook(book); });
}

void ResponsiveHost::closeAllWorkbooks()
{
    call([&] { m_host->closeAllWorkbooks(); });
}

int ResponsiveHost::sheetCount(const QString& book)
{
    return call([&] { return m_host->sheetCount(book); });
}

QString ResponsiveHost::sheetName(const QString& book, int sheet)
{
    return call([&] { return m_host->sheetName(book, sheet); });
}

void ResponsiveHost::setSheetName(const QString& book, int sheet, const QString& name)
{
    call([&] { m_host->setSheetName(book, sheet, name); });
}

bool ResponsiveHost::isSheetVisible(const QString& book, int sheet)
{
    return call([&] { return m_host->isSheetVisible(book, sheet); });
}

void ResponsiveHost::activateSheet(const QString& book, int sheet)
{
    call([&] { m_host->activateSheet(book, sheet); });
}

void ResponsiveHost::deleteSheet(const QString& book, const QString& name)
{
    call([&] { m_host->deleteSheet(book, name); });
}

void ResponsiveHost::addSheetWithHeading(const QString& book, int sheet, const QString& name)
{
    call([&] { m_host->addSheetWithHeading(book, sheet, name); });
}

bool ResponsiveHost::isSheetProtected(const QString& book, int sheet)
{
    return call([&] { return m_host->isSheetProtected(book, sheet); });
}

void ResponsiveHost::unprotectSheet(const QString& book, int sheet, const QString& password)
{
    call([&] { m_host->unprotectSheet(book, sheet, password); });
}

host::CellPosition ResponsiveHost::lastUsedCell(const QString& book, int sheet)
{
    return call([&] { return m_host->lastUsedCell(book, sheet); });
}

QList<QStringList> ResponsiveHost::rangeTexts(const QString& book, int sheet,
                                              const host::CellRange& range, host::CellTextKind kind)
{
    return call([&] { return m_host->rangeTexts(book, sheet, range, kind); });
}

std::pair<QList<QStringList>, QList<QStringList>>
ResponsiveHost::rangeTextsOfBoth(const QString& firstBook, const QString& secondBook,
                                 int firstSheet, int secondSheet, const host::CellRange& range,
                                 host::CellTextKind kind)
{
    return call([&] {
        return m_host->rangeTextsOfBoth(firstBook, secondBook, firstSheet, secondSheet, range,
                                        kind);
    });
}

void ResponsiveHost::fillCellsOfBoth(const QString& firstBook, const QString& secondBook,
                                     int firstSheet, int secondSheet,
                                     const QList<host::CellPosition>& cells, int colourIndex)
{
    call([&] {
        m_host->fillCellsOfBoth(firstBook, secondBook, firstSheet, secondSheet, cells, colourIndex);
    });
}

void ResponsiveHost::writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                               const QList<QVariantList>& rows)
{
    call([&] { m_host->writeRows(book, sheet, topRow, leftColumn, rows); });
}

void ResponsiveHost::setCellValue(const QString& book, int sheet, int row, int column,
                                  const QVariant& value)
{
    call([&] { m_host->setCellValue(book, sheet, row, column, value); });
}

void ResponsiveHost::setWrapText(const QString& book, int sheet, int row, int column, bool wrap)
{
    call([&] { m_host->setWrapText(book, sheet, row, column, wrap); });
}

void ResponsiveHost::selectRange(const QString& book, int sheet, const host::CellRange& range)
{
    call([&] { m_host->selectRange(book, sheet, range); });
}

void ResponsiveHost::fillRange(const QString& book, int sheet, const host::CellRange& range,
                               int colourIndex)
{
    call([&] { m_host->fillRange(book, sheet, range, colourIndex); });
}

void ResponsiveHost::fillCells(const QString& book, int sheet,
                               const QList<host::CellPosition>& cells, int colourIndex)
{
    call([&] { m_host->fillCells(book, sheet, cells, colourIndex); });
}

void ResponsiveHost::drawGrid(const QString& book, int sheet, const host::CellRange& range)
{
    call([&] { m_host->drawGrid(book, sheet, range); });
}

host::WindowGeometry ResponsiveHost::windowGeometry(const QString& book)
{
    return call([&] { return m_host->windowGeometry(book); });
}

void ResponsiveHost::setWindowGeometry(const QString& book, const host::WindowGeometry& geometry)
{
    call([&] { m_host->setWindowGeometry(book, geometry); });
}

void ResponsiveHost::arrangeWindows(host::WindowArrangement arrangement)
{
    call([&] { m_host->arrangeWindows(arrangement); });
}

void ResponsiveHost::printWorkbook(const QString& book)
{
    call([&] { m_host->printWorkbook(book); });
}

void ResponsiveHost::printSheet(const QString& book, int sheet,
                                std::optional<host::PageRange> pages)
{
    call([&] { m_host->printSheet(book, sheet, pages); });
}

void ResponsiveHost::handOver()
{
    call([&] { m_host->handOver(); });
}

void ResponsiveHost::quit()
{
    call([&] { m_host->quit(); });
}

void ResponsiveHost::abandon()
{
    m_started ? m_host->abandon() : m_factory.abandonStart();
}

} // namespace brelix::run
