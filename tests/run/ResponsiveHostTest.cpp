#include "InMemoryHost.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"
#include "core/run/ReadyOfficeFactory.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using brelix::host::HostError;

namespace brelix::run {
namespace {

// sheetCount takes half a second, or, when stuck, until the instance is abandoned.
class SlowHost : public support::InMemoryHost {
public:
    explicit SlowHost(bool stuck) : m_stuck(stuck) {}
    int sheetCount(const QString&) override
    {
        for (int waited = 0; m_stuck ? waited < 30000 : waited < 500; waited += 10) {
            if (m_abandoned)
                throw HostError(HostError::Kind::Unavailable, QStringLiteral("abandoned"));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 3;
    }
    void abandon() override { m_abandoned = true; }

private:
    bool m_stuck;
    std::atomic<bool> m_abandoned = false;
};

class SlowHostFactory : public host::SpreadsheetHostFactory {
public:
    explicit SlowHostFactory(bool stuck) : m_stuck(stuck) {}
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return std::make_unique<SlowHost>(m_stuck);
    }
    bool handedOverInstanceOpen() override { return false; }

private:
    bool m_stuck;
};

// Its events are the application's: a timer fires during processEvents.
class EventUi : public support::ScriptedRunUi {
public:
    void processEvents() override
    {
        QCoreApplication::processEvents();
        ScriptedRunUi::processEvents();
    }
};

// A slow call lets the window's timer fire meanwhile; a stuck one ends soon after a cancel.
TEST(ResponsiveHostTest, SlowCallsLetEventsRunAndAStuckOneEndsOnCancel)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    for (const bool stuck : {false, true}) {
        SCOPED_TRACE(stuck ? "stuck" : "slow");
        EventUi ui;
        if (stuck)
            ui.cancelAtEvent(1);
        SlowHostFactory slow(stuck);
        ResponsiveHostFactory factory(slow, ui);
        const auto host = factory.start();
        bool fired = false;
        QTimer::singleShot(100, [&] { fired = true; });
        QElapsedTimer clock;
        clock.start();
        if (stuck) {
            EXPECT_THROW(host->sheetCount(QStringLiteral("a.xls")), HostError);
            EXPECT_LT(clock.elapsed(), 10000);
        } else {
            EXPECT_EQ(host->sheetCount(QStringLiteral("a.xls")), 3);
            EXPECT_TRUE(fired);
        }
    }
}

// The idle instance is only looked at when a test says so.
constexpr std::chrono::hours kNoCheck{1};
constexpr std::chrono::seconds kReadyWait{5};
using State = support::InMemoryHost::State;

// Off: nothing starts before a job, a job starts its own and does not wait for it to warm up,
// and the idle instance is quit. On: each job takes the idle instance alone, warmed up; the
// next one, started once the job is done, is ready for the next job.
TEST(ReadyOfficeFactoryTest, EachJobTakesTheReadyInstanceAloneAndTheNextStartsWhileOn)
{
    support::InMemoryHostFactory office;
    {
        ReadyOfficeFactory factory(office, kNoCheck);
        factory.setEnabled(true);
        ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
        factory.setEnabled(false);
        for (int waited = 0; waited < 5000 && office.host(0).state() != State::Quit; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(office.host(0).state(), State::Quit);
        factory.start()->handOver();
        EXPECT_FALSE(factory.waitUntilReady(std::chrono::milliseconds(100)));
        EXPECT_EQ(office.startCount(), 2);
        EXPECT_EQ(office.host(1).warmUpCount(), 0);

        factory.setEnabled(true);
        ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
        EXPECT_EQ(office.startCount(), 3);
        for (int job = 2; job < 4; ++job) {
            factory.holdBack(true); // the job runs
            const std::unique_ptr<host::SpreadsheetHost> host = factory.start();
            host->setVisible(true);
            EXPECT_FALSE(factory.waitUntilReady(std::chrono::milliseconds(50)));
            factory.holdBack(false);
            ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
            EXPECT_EQ(office.startCount(), job + 2);
            EXPECT_TRUE(office.host(job).isVisible());
            EXPECT_EQ(office.host(job).warmUpCount(), 1);
            EXPECT_FALSE(office.host(job + 1).isVisible()) << "shared with the next job";
            host->handOver();
        }
    }
    EXPECT_EQ(office.host(4).state(), State::Quit) << "left running at the end";
}

// An instance that ended while idle goes to no job; one is ready again afterwards.
TEST(ReadyOfficeFactoryTest, AReadyInstanceThatEndedIsReplacedNeverHandedOut)
{
    for (const bool checkedWhileIdle : {false, true}) {
        support::InMemoryHostFactory office;
        ReadyOfficeFactory factory(office, checkedWhileIdle ? std::chrono::milliseconds(20)
                                                            : std::chrono::milliseconds(kNoCheck));
        factory.setEnabled(true);
        ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
        office.host(0).quit(); // as when the office is killed
        if (checkedWhileIdle) {
            for (int waited = 0; waited < 5000 && office.startCount() < 2; waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_EQ(office.startCount(), 2) << "not replaced while idle";
        }
        const std::unique_ptr<host::SpreadsheetHost> host = factory.start();
        EXPECT_TRUE(host->isAlive()) << checkedWhileIdle;
        ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
        EXPECT_EQ(office.startCount(), 3);
    }
}

// Only a job that went well gives its instance back, cleared, to be the next ready one; a
// failed, cancelled, stuck or handed-over one ends. The job limit and the memory bound retire it.
TEST(ReadyOfficeFactoryTest, OnlyAnInstanceWhoseJobWentWellComesBackUntilRetired)
{
    support::InMemoryHostFactory office;
    office.addFile(QStringLiteral("/d/a.xls"), support::WorkbookContent::withSheets({}));
    ReadyOfficeFactory factory(office, kNoCheck, {3, 1000});
    factory.setEnabled(true);
    ASSERT_TRUE(factory.waitUntilReady(kReadyWait));
    const auto job = [&](const std::function<void(host::SpreadsheetHost&)>& end) {
        factory.holdBack(true);
        std::unique_ptr<host::SpreadsheetHost> host = factory.start();
        host->openWorkbook(QStringLiteral("/d/a.xls"));
        end(*host);
        host.reset();
        factory.holdBack(false);
        EXPECT_TRUE(factory.waitUntilReady(kReadyWait));
    };
    const auto wentWell = [](host::SpreadsheetHost& h) { h.finishJob(); };
    job(wentWell);
    office.host(0).setHeadless(true);
    job([](host::SpreadsheetHost& h) { h.handOver(); }); // nobody could see it: it comes back
    EXPECT_EQ(office.startCount(), 1);
    EXPECT_TRUE(office.host(0).openWorkbookNames().isEmpty()) << "offered with a workbook open";
    job(wentWell); // its third job: retired
    EXPECT_EQ(office.host(0).state(), State::Quit);
    ASSERT_EQ(office.startCount(), 2);
    office.host(1).setMemoryKiB(1001);
    job(wentWell);
    EXPECT_EQ(office.host(1).state(), State::Quit) << "kept past the memory bound";
    const std::vector<std::function<void(host::SpreadsheetHost&)>> badEnds = {
        [](host::SpreadsheetHost& h) { h.quit(); }, // failed or cancelled
        [](host::SpreadsheetHost& h) { h.handOver(); },
        [](host::SpreadsheetHost& h) {
            h.abandon(); // stuck
            h.finishJob();
        },
        [](host::SpreadsheetHost&) {}, // the job's end never came
    };
    for (size_t end = 0; end < badEnds.size(); ++end) {
        job(badEnds[end]);
        EXPECT_EQ(office.startCount(), static_cast<int>(end) + 4) << "reused after end " << end;
        EXPECT_NE(office.host(static_cast<int>(end) + 2).state(), State::Running);
    }
}

} // namespace
} // namespace brelix::run
