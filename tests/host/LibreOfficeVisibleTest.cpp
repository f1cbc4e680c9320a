#include "GTestPrinters.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "SavedEnvironment.h"
#include "ScriptedRunUi.h"
#include "core/run/JobOffice.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::WindowArrangement;
using brelix::host::WindowGeometry;
using brelix::libreoffice::OfficeOptions;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

// Placing goes through whole pixels of 0.75 points.
void expectNear(const WindowGeometry& actual, const WindowGeometry& expected)
{
    EXPECT_NEAR(actual.top, expected.top, 1.0);
    EXPECT_NEAR(actual.left, expected.left, 1.0);
    EXPECT_NEAR(actual.width, expected.width, 1.0);
    EXPECT_NEAR(actual.height, expected.height, 1.0);
}

// Runs on a display of its own (see the build files): workbook windows that a user would see,
// placed and tiled in points, and an office handed over that stays for the user. While it is
// open, a run refuses to start: it would rewrite the results that office shows. Once the user
// has closed it, runs start again.
TEST(LibreOfficeVisibleTest, WindowsArePlacedArrangedAndHandedOverUntilClosed)
{
    QTemporaryDir dir;
    QStringList files;
    {
        LibreOfficeWorkbookWriter writer;
        for (const QString& name : {u"first.xls"_s, u"second.xls"_s}) {
            files.append(QDir(dir.path()).filePath(name));
            writer.write(files.last(), WorkbookContent::withSheets({u"S"_s}));
        }
    }
    // Records of its own, so that no other test's office counts, nor this one for them.
    const support::SavedEnvironment environment{"XDG_RUNTIME_DIR"};
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    libreoffice::LibreOfficeHostFactory factory;
    support::ScriptedRunUi ui;
    pid_t pid = -1;
    QStringList sockets;
    {
        OfficeOptions options;
        options.display = OfficeOptions::Display::Visible;
        InspectableLibreOfficeHost office(options);
        ASSERT_FALSE(office.isHeadless());
        const QString first = office.openWorkbook(files[0]);
        const QString second = office.openWorkbook(files[1]);
        office.setVisible(true);

        office.setWindowGeometry(first, {30, 60, 300, 150});
        expectNear(office.windowGeometry(first), {30, 60, 300, 150});

        office.activateWorkbook(second);
        office.arrangeWindows(WindowArrangement::SideBySide);
        WindowGeometry a = office.windowGeometry(second); // the active one comes first
        WindowGeometry b = office.windowGeometry(first);
        expectNear(b, {a.top, a.left + a.width, a.width, b.height});
        // Together they fill the screen of 1280 x 1024 pixels, which has no panels.
        expectNear({a.top, a.left, a.width + b.width, a.height}, {0, 0, 960, 768});
        office.arrangeWindows(WindowArrangement::Stacked);
        a = office.windowGeometry(second);
        b = office.windowGeometry(first);
        expectNear(b, {a.top + a.height, a.left, b.width, b.height});

        office.setCellValue(first, 1, 1, 1, u"changed"_s); // must not ask anything of us
        EXPECT_FALSE(run::JobOffice::refuseWhileHandedOverOpen(ui, factory)); // still ours
        pid = office.processId();
        sockets = office.process().socketPaths();
        office.handOver();
        EXPECT_THROW(office.sheetCount(first), brelix::host::HostError);
    }
    EXPECT_EQ(::kill(pid, 0), 0) << "the office went away with its host";
    EXPECT_TRUE(run::JobOffice::refuseWhileHandedOverOpen(ui, factory));
    EXPECT_EQ(ui.messages().value(0).title, u"LibreOffice起動中"_s);

    // As a user who kills it would; a user's way of closing it would also remove its sockets.
    ::kill(-pid, SIGKILL);
    for (const QString& socket : sockets)
        QFile::remove(socket);
    for (int i = 0; i < 250 && factory.handedOverInstanceOpen(); ++i)
        QThread::msleep(20);
    EXPECT_FALSE(run::JobOffice::refuseWhileHandedOverOpen(ui, factory));
}

} // namespace
} // namespace brelix::contract
