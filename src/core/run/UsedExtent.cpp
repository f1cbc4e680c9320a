#include "core/run/UsedExtent.h"

#include "core/host/HostError.h"

namespace brelix::compare {

using host::HostError;

bool unprotect(host::SpreadsheetHost& host, const QString& book, int sheet, const QString& password)
{
    try {
        host.unprotectSheet(book, sheet, password);
        return true;
    } catch (const HostError&) {
        return false;
    }
}

std::optional<host::CellPosition> usedExtent(host::SpreadsheetHost& host, run::RunUi& ui,
                                             QString& password, const QString& book, int sheet)
{
    try {
        return host.lastUsedCell(book, sheet);
    } catch (const HostError& e) {
        // Only a protected sheet is a question for the user; an office that died is not.
        if (e.kind() != HostError::Kind::SheetProtected)
            throw;
    }
    ui.setProgressHidden(true);
    const std::optional<QString> typed = ui.askPassword(book, password);
    ui.processEvents();
    std::optional<host::CellPosition> last;
    if (typed) {
        password = *typed;
        if (unprotect(host, book, sheet, password)) {
            try {
                last = host.lastUsedCell(book, sheet);
            } catch (const HostError& e) {
                if (e.kind() != HostError::Kind::SheetProtected)
                    throw;
            }
        }
    }
    ui.setProgressHidden(false);
    return last;
}

} // namespace brelix::compare
