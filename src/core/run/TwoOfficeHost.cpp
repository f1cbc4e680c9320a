#include "core/run/TwoOfficeHost.h"

#include "core/run/HostFailures.h"

#include <QFileInfo>
#include <exception>
#include <thread>

namespace brelix::run {

using host::CellPosition;
using host::CellRange;

TwoOfficeHost::TwoOfficeHost(std::unique_ptr<host::SpreadsheetHost> first,
                             std::unique_ptr<host::SpreadsheetHost> second)
    : m_first(std::move(first)), m_second(std::move(second))
{
}

TwoOfficeHost::~TwoOfficeHost() = default;

bool TwoOfficeHost::inSecond(const QString& book) const
{
    return m_secondBooks.contains(book, Qt::CaseInsensitive);
}

host::SpreadsheetHost& TwoOfficeHost::holder(const QString& book)
{
    return inSecond(book) ? *m_second : *m_first;
}

template <typename F> void TwoOfficeHost::onBoth(F&& call)
{
    std::exception_ptr failure;
    for (host::SpreadsheetHost* instance : {m_first.get(), m_second.get()}) {
        try {
            call(*instance);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TwoOfficeHost::relay(const QString* book,
                          const std::function<void(host::SpreadsheetHost&)>& call)
{
    if (book)
        call(holder(*book));
    else
        onBoth(call);
}

template <typename A, typename B, typename U>
void TwoOfficeHost::sideBySide(A&& first, B&& second, U&& undoSecond)
{
    std::exception_ptr secondFailure;
    std::thread other([&] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception();
        }
    });
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
    other.join();
    if (firstFailure) {
        // One after the other, the second would never have been called.
        if (!secondFailure)
            undoSecond();
        std::rethrow_exception(firstFailure);
    }
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}

// The first instance cannot see the second's workbooks.
void TwoOfficeHost::refuseNameOfSecond(const QString& path) const
{
    const QString name = QFileInfo(path).fileName();
    if (inSecond(name))
        throw host::HostError(host::HostError::Kind::General,
                              QStringLiteral("a workbook named %1 is already open").arg(name));
}

QString TwoOfficeHost::openWorkbook(const QString& path)
{
    refuseNameOfSecond(path);
    return m_first->openWorkbook(path);
}

QString TwoOfficeHost::openWorkbookUnseen(const QString& path)
{
    refuseNameOfSecond(path);
    return m_first->openWorkbookUnseen(path);
}

QStringList TwoOfficeHost::openWorkbooks(const QStringList& paths, bool unseen)
{
    // Anything but two new workbooks of different names opens as in one instance, with the
    // same failures.
    if (paths.size() != 2 || !workbookNames().isEmpty() ||
        QFileInfo(paths[0]).fileName().compare(QFileInfo(paths[1]).fileName(),
                                               Qt::CaseInsensitive) == 0)
        return SpreadsheetHost::openWorkbooks(paths, unseen);
    QString firstBook;
    QString secondBook;
    const auto open = [unseen](host::SpreadsheetHost& h, const QString& path) {
        return unseen ? h.openWorkbookUnseen(path) : h.openWorkbook(path);
    };
    sideBySide([&] { firstBook = open(*m_first, paths[0]); },
               [&] { secondBook = open(*m_second, paths[1]); },
               [&] { callIgnoringFailure([&] { m_second->closeWorkbook(secondBook); }); });
    m_secondBooks.append(secondBook);
    return {firstBook, secondBook};
}

QStringList TwoOfficeHost::workbookNames()
{
    return m_first->workbookNames() + m_second->workbookNames();
}

void TwoOfficeHost::closeWorkbook(const QString& book)
{
    const bool second = inSecond(book);
    (second ? *m_second : *m_first).closeWorkbook(book);
    if (second)
        m_secondBooks.removeIf(
            [&](const QString& b) { return b.compare(book, Qt::CaseInsensitive) == 0; });
}

void TwoOfficeHost::closeAllWorkbooks()
{
    m_secondBooks.clear();
    onBoth([](host::SpreadsheetHost& h) { h.closeAllWorkbooks(); });
}

std::pair<QList<QStringList>, QList<QStringList>>
TwoOfficeHost::rangeTextsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                                int secondSheet, const CellRange& range, host::CellTextKind kind)
{
    if (inSecond(firstBook) == inSecond(secondBook))
        return SpreadsheetHost::rangeTextsOfBoth(firstBook, secondBook, firstSheet, secondSheet,
                                                 range, kind);
    std::pair<QList<QStringList>, QList<QStringList>> texts;
    sideBySide(
        [&] { texts.first = holder(firstBook).rangeTexts(firstBook, firstSheet, range, kind); },
        [&] { texts.second = holder(secondBook).rangeTexts(secondBook, secondSheet, range, kind); },
        [] {});
    return texts;
}

void TwoOfficeHost::fillCellsOfBoth(const QString& firstBook, const QString& secondBook,
                                    int firstSheet, int secondSheet,
                                    const QList<CellPosition>& cells, int colourIndex)
{
    if (inSecond(firstBook) == inSecond(secondBook))
        return SpreadsheetHost::fillCellsOfBoth(firstBook, secondBook, firstSheet, secondSheet,
                                                cells, colourIndex);
    // When only the first fails, the second keeps its colours: the run ends in its report.
    sideBySide([&] { holder(firstBook).fillCells(firstBook, firstSheet, cells, colourIndex); },
               [&] { holder(secondBook).fillCells(secondBook, secondSheet, cells, colourIndex); },
               [] {});
}

// Both end side by side, and both end whatever the other does.
void TwoOfficeHost::handOver()
{
    sideBySide([&] { m_first->handOver(); }, [&] { m_second->handOver(); }, [] {});
}

void TwoOfficeHost::quit()
{
    sideBySide([&] { m_first->quit(); }, [&] { m_second->quit(); }, [] {});
}

void TwoOfficeHost::finishJob()
{
    sideBySide([&] { m_first->finishJob(); }, [&] { m_second->finishJob(); }, [] {});
}

bool TwoOfficeHost::clearForNextJob(qint64 memoryBoundKiB)
{
    bool clear = true;
    onBoth([&](host::SpreadsheetHost& h) { clear = h.clearForNextJob(memoryBoundKiB) && clear; });
    return clear;
}

bool TwoOfficeHost::isAlive()
{
    return m_first->isAlive() && m_second->isAlive();
}

void TwoOfficeHost::abandon()
{
    m_first->abandon();
    m_second->abandon();
}

} // namespace brelix::run
