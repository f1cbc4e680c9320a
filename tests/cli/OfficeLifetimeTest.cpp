#include "TemporaryProgramFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// Live processes (stopped ones too, zombies not) of the offices that `owner` started.
QList<pid_t> officesOf(qint64 owner)
{
    const QByteArray mark = "pipe,name=brelix-" + QByteArray::number(owner) + '-';
    QList<pid_t> found;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile cmdline(u"/proc/%1/cmdline"_s.arg(entry));
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!cmdline.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        if (line.mid(line.lastIndexOf(')') + 2, 1) != "Z" && cmdline.readAll().contains(mark))
            found.append(entry.toInt());
    }
    return found;
}

template <typename Condition> bool within(int milliseconds, Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// brelix-cli compares two files while its office is stopped (it answers no call), and then
// is ended: by one Ctrl+C (the run ends with its cancel ending), two, SIGTERM, SIGHUP or
// SIGKILL. Its office ends with it every time, within a few seconds.
TEST(OfficeLifetimeTest, EveryEndingOfTheProgramEndsItsStuckOffice)
{
    const QString installed = qEnvironmentVariable("BRELIX_HOME");
    support::TemporaryProgramFolder home;
    ASSERT_TRUE(QFile::copy(QDir(installed).filePath(u"Brelix_Format.xls"_s),
                            home.filePath(u"Brelix_Format.xls"_s)));
    // Large enough that the comparison is still at work when its office is stopped.
    for (const int shift : {0, 1}) {
        QFile file(home.filePath(shift ? u"b.csv"_s : u"a.csv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int row = 0; row < 1500; ++row)
            file.write((QByteArray::number(row + shift) + ',').repeated(10) + '\n');
    }
    const QList<QList<int>> endings = {{SIGINT}, {SIGINT, SIGINT}, {SIGTERM}, {SIGHUP}, {SIGKILL}};
    for (const QList<int>& signals : endings) {
        SCOPED_TRACE(::testing::Message()
                     << "signals " << signals.first() << " x" << signals.size());
        QProcess cli;
        cli.start(QStringLiteral(BRELIX_CLI),
                  {u"diff"_s, home.filePath(u"a.csv"_s), home.filePath(u"b.csv"_s)});
        ASSERT_TRUE(cli.waitForStarted());
        const qint64 owner = cli.processId();
        ASSERT_TRUE(within(60000, [&] { return !officesOf(owner).isEmpty(); }));
        QThread::msleep(3000); // mostly in a call by now, else still starting: both must end
        const pid_t office = ::getpgid(officesOf(owner).value(0));
        ASSERT_GT(office, 1);
        ::kill(-office, SIGSTOP);
        for (const int signal : signals) {
            QThread::msleep(300);
            ::kill(static_cast<pid_t>(owner), signal);
        }
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(cli.waitForFinished(15000));
        if (signals == QList<int>{SIGINT}) {
            EXPECT_LT(clock.elapsed(), 8000);
            EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(cli.exitCode(), 2);
            EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError())
                            .contains(u"ｄｉｆｆを中止しました"_s));
        } else {
            EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);
        }
        EXPECT_TRUE(within(5000, [&] { return officesOf(owner).isEmpty(); }))
            << "the office outlived brelix-cli";
        ::kill(-office, SIGKILL);
    }
}

} // namespace
} // namespace brelix::cli
