#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "host/libreoffice/OfficeOptions.h"

#include <atomic>
#include <sys/types.h>

namespace brelix::libreoffice {

// Starts private LibreOffice Calc instances: own profile folder, own pipe, never the user's own.
class LibreOfficeHostFactory : public host::SpreadsheetHostFactory {
public:
    explicit LibreOfficeHostFactory(OfficeOptions options = {});
    std::unique_ptr<host::SpreadsheetHost> start() override;
    bool handedOverInstanceOpen() override;
    void abandonStart() override;

private:
    OfficeOptions m_options;
    std::atomic<pid_t> m_starting{0}; // the process group of the office being started
};

} // namespace brelix::libreoffice
