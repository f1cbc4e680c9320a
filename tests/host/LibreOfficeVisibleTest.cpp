#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "host/libreoffice/LibreOfficeHost.h"

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::WindowArrangement;
using brelix::host::WindowGeometry;
using brelix::libreoffice::LibreOfficeHost;
using brelix::libreoffice::OfficeOptions;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

// Runs on a display of its own (see the build files): workbook windows that a user would see.
class LibreOfficeVisibleTest : public ::testing::Test {
protected:
    QString write(const QString& name)
    {
        const QString p = QDir(m_dir.path()).filePath(name);
        m_writer.write(p, WorkbookContent::withSheets({u"S"_s}));
        return p;
    }

    QTemporaryDir m_dir;
    LibreOfficeWorkbookWriter m_writer;
};

void expectNear(const WindowGeometry& actual, const WindowGeometry& expected)
{
    // Placing goes through whole pixels of 0.75 points.
    EXPECT_NEAR(actual.top, expected.top, 1.0);
    EXPECT_NEAR(actual.left, expected.left, 1.0);
    EXPECT_NEAR(actual.width, expected.width, 1.0);
    EXPECT_NEAR(actual.height, expected.height, 1.0);
}

TEST_F(LibreOfficeVisibleTest, WindowsArePlacedAndArrangedInPoints)
{
    OfficeOptions options;
    options.display = OfficeOptions::Display::Visible;
    LibreOfficeHost office(options);
    ASSERT_FALSE(office.isHeadless());
    const QString first = office.openWorkbook(write(u"first.xls"_s));
    const QString second = office.openWorkbook(write(u"second.xls"_s));
    office.setVisible(true);

    office.setWindowGeometry(first, {30, 60, 300, 150});
    expectNear(office.windowGeometry(first), {30, 60, 300, 150});

    office.activateWorkbook(second);
    office.arrangeWindows(WindowArrangement::SideBySide);
    const WindowGeometry a = office.windowGeometry(second); // the active one comes first
    const WindowGeometry b = office.windowGeometry(first);
    EXPECT_NEAR(a.width, b.width, 1.0);
    EXPECT_NEAR(a.top, b.top, 1.0);
    EXPECT_NEAR(b.left, a.left + a.width, 1.0);

    office.arrangeWindows(WindowArrangement::Stacked);
    const WindowGeometry c = office.windowGeometry(second);
    const WindowGeometry d = office.windowGeometry(first);
    EXPECT_NEAR(c.left, d.left, 1.0);
    EXPECT_NEAR(d.top, c.top + c.height, 1.0);
    office.quit();
}

TEST_F(LibreOfficeVisibleTest, AHandedOverOfficeStaysRunningForTheUser)
{
    pid_t pid = -1;
    {
        OfficeOptions options;
        options.display = OfficeOptions::Display::Visible;
        LibreOfficeHost office(options);
        const QString book = office.openWorkbook(write(u"result.xls"_s));
        office.setCellValue(book, 1, 1, 1, u"changed"_s); // must not ask anything of us
        pid = office.processId();
        office.handOver();
        EXPECT_THROW(office.sheetCount(book), brelix::host::HostError);
    }
    EXPECT_EQ(::kill(pid, 0), 0) << "the office went away with its host";
    ::kill(-pid, SIGKILL); // the user would close it
}

} // namespace
} // namespace brelix::contract
