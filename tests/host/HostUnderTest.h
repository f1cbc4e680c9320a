#pragma once

#include "WorkbookContent.h"
#include "core/host/SpreadsheetHost.h"

#include <QString>
#include <memory>

namespace brelix::contract {

// One host implementation as the contract tests see it: a way to put workbook files on disk
// and a way to start instances that read them.
class HostUnderTest {
public:
    virtual ~HostUnderTest() = default;

    // Writes the content as a workbook file in the format the path's extension names: xls,
    // xlsx, ods, or csv (the first sheet's values only, in UTF-8). With a password the file is
    // encrypted, and no host opens it.
    virtual void writeFile(const QString& path, const support::WorkbookContent& content,
                           const QString& password = {}) = 0;
    // A new instance, independent of every other, that is also a support::HostProbe.
    virtual std::unique_ptr<host::SpreadsheetHost> start() = 0;
};

// Every contract test program links exactly one file that defines this.
std::unique_ptr<HostUnderTest> makeHostUnderTest();

} // namespace brelix::contract
