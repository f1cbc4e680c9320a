#include "core/run/UsedExtent.h"

#include "core/run/HostFailures.h"

namespace brelix::run {

using host::HostError;

namespace {

// Nothing for a protected sheet: only that is a question for the user, an office that died is
// not.
std::optional<host::CellPosition> lastUsedCell(host::SpreadsheetHost& host, const QString& book,
                                               int sheet)
{
    try {
        return host.lastUsedCell(book, sheet);
    } catch (const HostError& e) {
        if (e.kind() != HostError::Kind::SheetProtected)
            throw;
        return std::nullopt;
    }
}

} // namespace

std::optional<host::CellPosition> usedExtent(host::SpreadsheetHost& host, RunUi& ui,
                                             QString& password, const QString& book, int sheet)
{
    if (const std::optional<host::CellPosition> last = lastUsedCell(host, book, sheet))
        return last;
    ui.setProgressHidden(true);
    const std::optional<QString> typed = ui.askPassword(book, password);
    ui.processEvents();
    std::optional<host::CellPosition> last;
    if (typed) {
        password = *typed;
        const bool refused =
            callIgnoringFailure([&] { host.unprotectSheet(book, sheet, password); }).has_value();
        if (!refused)
            last = lastUsedCell(host, book, sheet);
    }
    ui.setProgressHidden(false);
    return last;
}

} // namespace brelix::run
