#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/print/PrintRequest.h"
#include "core/run/RunUi.h"

#include <functional>
#include <memory>
#include <optional>

namespace brelix::print {

// One office of a batch print and the workbooks it prints one after the other: each opened,
// printed with the scope and closed unsaved. An office that dies is ended, and the next
// workbook gets a new one; one that does not start fails every workbook with the reason.
class WorkbookPrinter {
public:
    // `waitForTurn`, when given, is called before a workbook's first print job and holds it
    // until the workbooks before it have printed; false: the run stopped meanwhile.
    WorkbookPrinter(host::SpreadsheetHostFactory& factory, run::RunUi& ui, PrintScope scope,
                    std::function<bool()> waitForTurn = {})
        : m_factory(factory), m_ui(ui), m_scope(scope), m_waitForTurn(std::move(waitForTurn))
    {
    }
    ~WorkbookPrinter() { endOffice(); }
    WorkbookPrinter(const WorkbookPrinter&) = delete;
    WorkbookPrinter& operator=(const WorkbookPrinter&) = delete;

    void startOffice();
    void endOffice();
    // Why the workbook did not print; nothing when it did. Starts the office if none was.
    std::optional<QString> print(const PrintEntry& entry);

private:
    std::optional<QString> printBook(const QString& book);
    std::optional<QString> printSheet(const QString& book, int sheet,
                                      std::optional<host::PageRange> pages);

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    PrintScope m_scope;
    std::function<bool()> m_waitForTurn;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    bool m_started = false;
    QString m_startFailure;    // why no office runs, when none does
    bool m_officeLost = false; // the office died; the next file starts another
};

} // namespace brelix::print
