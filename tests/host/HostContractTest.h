#pragma once

#include "GTestPrinters.h"
#include "HostProbe.h"
#include "WorkbookContent.h"
#include "core/host/SpreadsheetHost.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

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
    // A new instance, independent of every other.
    virtual std::unique_ptr<host::SpreadsheetHost> start() = 0;
    // What looks into an instance this started.
    virtual support::HostProbe& probe(host::SpreadsheetHost& instance)
    {
        return dynamic_cast<support::HostProbe&>(instance);
    }
};

// Every contract test program links exactly one file that defines this.
std::unique_ptr<HostUnderTest> makeHostUnderTest();

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

// The same cases once per workbook format.
class HostFormatTest : public HostContractTest, public ::testing::WithParamInterface<QString> {
protected:
    QString fileName(const QString& base) const { return base + u'.' + GetParam(); }
};

} // namespace brelix::contract
