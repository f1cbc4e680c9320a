#pragma once

#include "core/host/ForwardingHost.h"

#include <memory>

namespace brelix::run {

// Two instances seen as one, so that a job's two workbooks load side by side, each in an
// instance of its own: an instance loads one workbook at a time. openWorkbooks() puts the
// second of two workbooks into the second instance; every other workbook goes into the first.
// Calls about a workbook go to the instance that holds it, the rest to both. The windows of the
// two are not arranged together: this is for instances nobody sees.
class TwoOfficeHost : public host::ForwardingHost {
public:
    TwoOfficeHost(std::unique_ptr<host::SpreadsheetHost> first,
                  std::unique_ptr<host::SpreadsheetHost> second);
    ~TwoOfficeHost() override;
    TwoOfficeHost(const TwoOfficeHost&) = delete;
    TwoOfficeHost& operator=(const TwoOfficeHost&) = delete;

    QString openWorkbook(const QString& path) override;
    QString openWorkbookUnseen(const QString& path) override;
    QStringList openWorkbooks(const QStringList& paths, bool unseen = false) override;
    QStringList workbookNames() override;
    void closeWorkbook(const QString& book) override;
    void closeAllWorkbooks() override;

    std::pair<QList<QStringList>, QList<QStringList>>
    rangeTextsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                     int secondSheet, const host::CellRange& range,
                     host::CellTextKind kind) override;
    void fillCellsOfBoth(const QString& firstBook, const QString& secondBook, int firstSheet,
                         int secondSheet, const QList<host::CellPosition>& cells,
                         int colourIndex) override;

    void handOver() override;
    void quit() override;
    void finishJob() override;
    bool clearForNextJob(qint64 memoryBoundKiB) override;
    bool isAlive() override;
    void abandon() override;

protected:
    // A call about a workbook goes to the instance that holds it, any other to both.
    void relay(const QString* book,
               const std::function<void(host::SpreadsheetHost&)>& call) override;

private:
    host::SpreadsheetHost& holder(const QString& book);
    void refuseNameOfSecond(const QString& path) const;
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
