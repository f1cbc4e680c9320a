#pragma once

#include "HostProbe.h"
#include "host/libreoffice/LibreOfficeHost.h"

namespace brelix::contract {

// The office host with a probe that looks into its workbooks over UNO, for tests.
class InspectableLibreOfficeHost : public libreoffice::LibreOfficeHost, public support::HostProbe {
public:
    using LibreOfficeHost::isHeadless;
    using LibreOfficeHost::LibreOfficeHost;
    using LibreOfficeHost::processId;

    QString activeWorkbook() override { return activeWorkbookName(); }
    int activeSheet(const QString& book) override;
    QString cellText(const QString& book, int sheet, int row, int column,
                     host::CellTextKind kind) override;
    int cellColourIndex(const QString& book, int sheet, int row, int column) override;
    support::CellBorders cellBorders(const QString& book, int sheet, int row, int column) override;
};

} // namespace brelix::contract
