#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "host/libreoffice/OfficeOptions.h"

namespace brelix::libreoffice {

// Starts private LibreOffice Calc instances: own profile folder, own pipe, never the user's own.
class LibreOfficeHostFactory : public host::SpreadsheetHostFactory {
public:
    explicit LibreOfficeHostFactory(OfficeOptions options = {});
    std::unique_ptr<host::SpreadsheetHost> start() override;
    bool handedOverInstanceOpen() override;

private:
    OfficeOptions m_options;
};

} // namespace brelix::libreoffice
