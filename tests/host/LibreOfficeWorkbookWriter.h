#pragma once

#include "WorkbookContent.h"

#include <QString>
#include <memory>

namespace brelix::contract {

// Writes workbook content as real files through an office instance of its own, so that the
// office host is tested on files the office itself wrote: .xls, .xlsx, .ods, and .csv (the
// first sheet's values, UTF-8).
class LibreOfficeWorkbookWriter {
public:
    LibreOfficeWorkbookWriter();
    ~LibreOfficeWorkbookWriter();

    // With a password the file is encrypted: it opens only with that password.
    void write(const QString& path, const support::WorkbookContent& content,
               const QString& password = {});

private:
    struct Office;
    std::unique_ptr<Office> m_office;
};

} // namespace brelix::contract
