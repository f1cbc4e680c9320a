#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "host/libreoffice/OfficeOptions.h"

#include <atomic>
#include <memory>
#include <sys/types.h>
#include <vector>

namespace brelix::libreoffice {

class OfficeProcess;

// Starts private LibreOffice Calc instances: own profile folder, own pipe, never the user's own.
class LibreOfficeHostFactory : public host::SpreadsheetHostFactory {
public:
    explicit LibreOfficeHostFactory(OfficeOptions options = {});
    std::unique_ptr<host::SpreadsheetHost> start() override;
    // Two ready offices behind one host, when the options take ready offices, nothing is to be
    // seen and two are idle.
    std::unique_ptr<host::SpreadsheetHost> startForTwoWorkbooks() override;
    bool handedOverInstanceOpen() override;
    QString environment() override;
    void abandonStart() override;

private:
    std::unique_ptr<host::SpreadsheetHost> startTaking(int readyOffices);
    // One connection to each, at the same time; an office that ended meanwhile is left out.
    std::vector<std::unique_ptr<host::SpreadsheetHost>>
    connectSideBySide(std::vector<std::unique_ptr<OfficeProcess>> offices);

    OfficeOptions m_options;
    std::atomic<pid_t> m_starting{0}; // the process group of the office being started
};

} // namespace brelix::libreoffice
