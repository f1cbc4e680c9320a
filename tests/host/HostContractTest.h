#pragma once

#include "GTestPrinters.h"
#include "HostProbe.h"
#include "HostUnderTest.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace brelix::contract {

// The kind of HostError the call throws; nothing when it returns normally.
template <typename Call> std::optional<host::HostError::Kind> thrownKind(Call&& call)
{
    try {
        call();
    } catch (const host::HostError& e) {
        return e.kind();
    }
    return std::nullopt;
}

// Base of the host tests. One instance is shared by all tests of the program (their workbooks
// are closed after each test); a test that ends an instance starts its own.
class HostContractTest : public ::testing::Test {
protected:
    void TearDown() override;

    static HostUnderTest& subject();
    static host::SpreadsheetHost& sharedHost();
    static support::HostProbe& probe();

    // A path in this test's own folder.
    QString pathOf(const QString& fileName) const;
    QString writeFile(const QString& fileName, const support::WorkbookContent& content,
                      const QString& password = {});
    // Writes the file and opens it in the shared instance; returns the workbook's name.
    QString open(const QString& fileName, const support::WorkbookContent& content);

private:
    QTemporaryDir m_dir;
};

// The same cases once per workbook format the program reads.
class HostFormatTest : public HostContractTest, public ::testing::WithParamInterface<QString> {
protected:
    QString fileName(const QString& base) const { return base + u'.' + GetParam(); }
};

std::vector<QString> workbookFormats();
std::string formatName(const ::testing::TestParamInfo<QString>& info);

} // namespace brelix::contract
