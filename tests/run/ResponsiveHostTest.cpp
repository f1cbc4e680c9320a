#include "InMemoryHost.h"
#include "ScriptedRunUi.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
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

} // namespace
} // namespace brelix::run
