#include "core/run/TwoOfficeHost.h"

#include "InMemoryHostFactory.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
using brelix::support::WorkbookContent;

namespace brelix::run {
namespace {

struct TwoOffices {
    TwoOffices()
    {
        for (const QString& path : {u"/d/a.xls"_s, u"/d/b.xls"_s, u"/d/c.xls"_s, u"/e/a.xls"_s})
            factory.addFile(path, WorkbookContent::withSheets({u"S"_s}));
        std::unique_ptr<host::SpreadsheetHost> first = factory.start();
        host = std::make_unique<TwoOfficeHost>(std::move(first), factory.start());
    }
    support::InMemoryHostFactory factory;
    std::unique_ptr<TwoOfficeHost> host;
};

// The second of two workbooks goes to the second office, everything else to the first. Both
// end, whatever the other does. The side-by-side reads and fills reach their offices in the
// comparisons of DiffRunTest that run in two.
TEST(TwoOfficeHostTest, EachWorkbookLivesInItsOfficeAndBothEnd)
{
    TwoOffices two;
    EXPECT_EQ(two.host->openWorkbooks({u"/d/a.xls"_s, u"/d/b.xls"_s}),
              QStringList({u"a.xls"_s, u"b.xls"_s}));
    EXPECT_EQ(two.host->openWorkbook(u"/d/c.xls"_s), u"c.xls"_s);
    EXPECT_EQ(two.factory.host(0).openWorkbookNames(), QStringList({u"a.xls"_s, u"c.xls"_s}));
    EXPECT_EQ(two.factory.host(1).openWorkbookNames(), QStringList({u"b.xls"_s}));
    EXPECT_EQ(two.host->workbookNames(), QStringList({u"a.xls"_s, u"c.xls"_s, u"b.xls"_s}));

    two.host->closeWorkbook(u"b.xls"_s);
    EXPECT_TRUE(two.factory.host(1).openWorkbookNames().isEmpty());
    two.host->openWorkbooks({u"/d/b.xls"_s});
    two.host->closeAllWorkbooks();
    EXPECT_TRUE(two.host->workbookNames().isEmpty());
    EXPECT_TRUE(two.host->isAlive());
    two.factory.host(1).quit(); // as when one office is killed
    EXPECT_FALSE(two.host->isAlive());
    EXPECT_THROW(two.host->quit(), HostError) << "the second's end failed";
    for (int office : {0, 1})
        EXPECT_EQ(two.factory.host(office).state(), support::InMemoryHost::State::Quit);
}

// Loaded side by side, two workbooks fail as one after the other would: the first's failure
// first, leaving nothing of the second; the second's leaving the first open. Two of one name
// open one after the other in the first office, which refuses the second.
TEST(TwoOfficeHostTest, ALoadThatFailsEndsAsOneAfterTheOther)
{
    struct Case {
        QStringList paths;
        QString failure;
        QStringList leftOpen;
    };
    const QList<Case> cases = {
        {{u"/d/none.xls"_s, u"/d/b.xls"_s}, u"/d/none.xls"_s, {}},
        {{u"/d/a.xls"_s, u"/d/none.xls"_s}, u"/d/none.xls"_s, {u"a.xls"_s}},
        {{u"/d/a.xls"_s, u"/e/a.xls"_s}, u"already open"_s, {u"a.xls"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paths.join(u' ').toStdString());
        TwoOffices two;
        try {
            two.host->openWorkbooks(c.paths);
            ADD_FAILURE() << "opened";
        } catch (const HostError& e) {
            EXPECT_TRUE(e.description().contains(c.failure)) << e.description().toStdString();
        }
        EXPECT_EQ(two.host->workbookNames(), c.leftOpen);
    }
    TwoOffices two;
    two.host->openWorkbooks({u"/d/a.xls"_s, u"/d/b.xls"_s});
    EXPECT_THROW(two.host->openWorkbook(u"/e/b.xls"_s), HostError) << "hidden in the other office";
}

} // namespace
} // namespace brelix::run
