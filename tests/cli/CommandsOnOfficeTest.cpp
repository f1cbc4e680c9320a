#include "Processes.h"
#include "TemporaryProgramFolder.h"
#include "TestData.h"
#include "core/run/OfficeReuse.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// brelix-cli itself on a real office, in a program folder of its own.
struct Cli {
    support::TemporaryProgramFolder home;
    QString stdoutText;
    QString stderrText;

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(home.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    int run(const QStringList& arguments)
    {
        QProcess cli; // the folder is in the environment it inherits
        cli.setWorkingDirectory(home.path());
        cli.start(QStringLiteral(BRELIX_CLI), arguments);
        cli.waitForFinished(300000);
        stdoutText = QString::fromUtf8(cli.readAllStandardOutput());
        stderrText = QString::fromUtf8(cli.readAllStandardError());
        return cli.exitCode();
    }
};

using support::bytesOf;
using support::officesOf;
using support::running;

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

// Two offices search and compare folders as one does: the same hits and file lines in the
// same order, the same messages (a damaged file named alone), the same exit status.
TEST(ParallelRunsTest, TwoOfficesGiveTheOutputOfOne)
{
    Cli cli;
    cli.write(u"Brelix_Format.xls"_s, bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE)));
    cli.write(u"a.csv"_s, "total,1\nx,Sub total\n");
    cli.write(u"b.xls"_s, "not a workbook at all");
    cli.write(u"c.csv"_s, "none\n");
    cli.write(u"d.csv"_s, "1,2,TOTAL\n");
    cli.write(u"e.xls"_s, bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE)));
    const QStringList files = {u"a.csv"_s, u"b.xls"_s, u"c.csv"_s, u"d.csv"_s, u"e.xls"_s};
    const QStringList search = QStringList{u"grep"_s, u"total"_s} + files;
    const int oneStatus = cli.run(search + QStringList{u"--jobs"_s, u"1"_s});
    const QString one = cli.stdoutText + u"--\n"_s + cli.stderrText;
    EXPECT_EQ(oneStatus, 0) << one.toStdString();
    EXPECT_EQ(cli.stdoutText.count(u'\n'), 3) << one.toStdString();
    EXPECT_TRUE(cli.stderrText.contains(u"b.xls"_s)) << one.toStdString();
    EXPECT_EQ(cli.run(search + QStringList{u"--jobs"_s, u"2"_s}), oneStatus);
    EXPECT_EQ(cli.stdoutText + u"--\n"_s + cli.stderrText, one);

    QDir(cli.home.path()).mkpath(u"d1/s"_s);
    QDir(cli.home.path()).mkpath(u"d2/s"_s);
    for (const QString& name : files)
        QFile::copy(cli.home.filePath(name), cli.home.filePath(u"d1/s/"_s + name));
    cli.write(u"d2/s/a.csv"_s, "total,2\nx,Sub total\n");
    for (const QString& name : {u"b.xls"_s, u"d.csv"_s, u"e.xls"_s})
        QFile::copy(cli.home.filePath(name), cli.home.filePath(u"d2/s/"_s + name));
    const QStringList diff = {u"diff"_s, u"d1"_s, u"d2"_s, u"--jobs"_s};
    EXPECT_EQ(cli.run(diff + QStringList{u"1"_s}), 2);
    const QString folders = cli.stdoutText + u"--\n"_s + cli.stderrText;
    EXPECT_TRUE(folders.startsWith(u"s/a.csv\tchanged 1\n"_s)) << folders.toStdString();
    EXPECT_TRUE(folders.contains(u"s/b.xls\tfailed: "_s)) << folders.toStdString();
    EXPECT_EQ(cli.run(diff + QStringList{u"2"_s}), 2);
    EXPECT_EQ(cli.stdoutText + u"--\n"_s + cli.stderrText, folders);
}

// brelix-cli compares two files while its office is stopped (it answers no call), and then
// is ended: by one Ctrl+C (the run ends with its cancel ending), two, SIGTERM, SIGHUP or
// SIGKILL. Its office ends with it every time, within a few seconds.
TEST(OfficeLifetimeTest, EveryEndingOfTheProgramEndsItsStuckOffice)
{
    Cli files;
    files.write(u"Brelix_Format.xls"_s, bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE)));
    // Large enough that the comparison is still at work when its office is stopped, even on a
    // fast machine whose office starts from a prepared profile in half a second.
    QByteArray rows[2];
    for (int row = 0; row < 30000; ++row)
        for (const int shift : {0, 1})
            rows[shift] += (QByteArray::number(row + shift) + ',').repeated(10) + '\n';
    files.write(u"a.csv"_s, rows[0]);
    files.write(u"b.csv"_s, rows[1]);
    const QList<QList<int>> endings = {{SIGINT}, {SIGINT, SIGINT}, {SIGTERM}, {SIGHUP}, {SIGKILL}};
    for (const QList<int>& signals : endings) {
        SCOPED_TRACE(::testing::Message()
                     << "signals " << signals.first() << " x" << signals.size());
        QProcess cli;
        cli.start(QStringLiteral(BRELIX_CLI),
                  {u"diff"_s, u"--no-limit"_s, files.home.filePath(u"a.csv"_s),
                   files.home.filePath(u"b.csv"_s)});
        ASSERT_TRUE(cli.waitForStarted());
        const qint64 owner = cli.processId();
        ASSERT_TRUE(within(60000, [&] { return !officesOf(owner).isEmpty(); }));
        QThread::msleep(1000); // mostly in a call by now, else still starting: both must end
        const QList<support::ProcessEntry> offices = officesOf(owner);
        ASSERT_FALSE(offices.isEmpty()) << "the comparison ended before its office was stopped";
        const pid_t office = offices.first().group;
        // Never our own group: stopping it would stop this test and everything ctest runs.
        ASSERT_GT(office, 1);
        ASSERT_NE(office, ::getpgrp());
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

// The idle offices of `office status`, once there are `count`; fewer when they do not come.
QList<qint64> readyOffices(Cli& cli, int count)
{
    static const QRegularExpression ready(u"ready office process (\\d+)"_s);
    QList<qint64> offices;
    within(60000, [&] {
        cli.run({u"office"_s, u"status"_s});
        offices.clear();
        for (const QRegularExpressionMatch& m : ready.globalMatch(cli.stdoutText))
            offices.append(m.captured(1).toLongLong());
        return offices.size() >= count;
    });
    return offices;
}

// A command takes the ready office and ends it; a killed ready office is never handed out;
// office stop leaves nothing running.
TEST(ReadyOfficeTest, CommandsTakeTheReadyOfficeAloneAndStopLeavesNothing)
{
    Cli cli;
    cli.write(u"Brelix_Format.xls"_s, bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE)));
    cli.write(u"good.xls"_s, bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE)));
    ASSERT_EQ(cli.run({u"office"_s, u"start"_s, u"--idle-minutes"_s, u"5"_s}), 0)
        << cli.stderrText.toStdString();
    const qint64 keeper =
        QRegularExpression(u"process (\\d+)"_s).match(cli.stdoutText).captured(1).toLongLong();
    const qint64 first = readyOffices(cli, 1).value(0);
    ASSERT_NE(first, 0);
    EXPECT_EQ(cli.run({u"cells"_s, u"good.xls"_s}), 0) << cli.stderrText.toStdString();
    EXPECT_TRUE(within(5000, [&] { return !running(first); })) << "outlived its command";

    const qint64 second = readyOffices(cli, 1).value(0);
    ASSERT_NE(second, 0);
    EXPECT_NE(second, first);
    ::kill(static_cast<pid_t>(-second), SIGKILL);
    EXPECT_EQ(cli.run({u"cells"_s, u"good.xls"_s}), 0) << cli.stderrText.toStdString();
    const qint64 third = readyOffices(cli, 1).value(0);
    EXPECT_NE(third, 0);
    EXPECT_NE(third, second);

    // A comparison takes both idle offices and loads its two workbooks side by side; its
    // offices come back, the same answer every time, and stay under their memory bound.
    cli.write(u"a.csv"_s, "1,2\n3,4\n");
    cli.write(u"b.csv"_s, "1,2\n3,5\n");
    QList<qint64> pair = readyOffices(cli, 2);
    ASSERT_EQ(pair.size(), 2);
    QString answer;
    for (int job = 0; job < 12; ++job) {
        EXPECT_EQ(cli.run({u"diff"_s, u"a.csv"_s, u"b.csv"_s}), 1) << cli.stderrText.toStdString();
        answer = job ? answer : cli.stdoutText;
        EXPECT_EQ(cli.stdoutText, answer) << job;
    }
    EXPECT_EQ(answer.count(u'\n'), 1);
    EXPECT_TRUE(answer.contains(u"\tB2\t4\t5"_s)) << answer.toStdString();
    QList<qint64> back = readyOffices(cli, 2);
    std::sort(back.begin(), back.end());
    std::sort(pair.begin(), pair.end());
    EXPECT_EQ(back, pair) << "not given back";
    // Their workbooks, opened unseen by the commands, were closed before the offices came back.
    for (const support::ProcessEntry& office : officesOf(keeper))
        EXPECT_EQ(support::filesOpenUnder(office.pid, cli.home.path()).join(u' ').toStdString(),
                  "");
    const int memoryMiB =
        QRegularExpression(u"memory (\\d+) MiB"_s).match(cli.stdoutText).captured(1).toInt();
    EXPECT_GT(memoryMiB, 0);
    EXPECT_LT(memoryMiB, 2 * run::OfficeReuse::kMemoryBoundKiB / 1024);

    // A comparison killed with the watchers of its offices, as by killall -9: the keeper ends
    // the offices it had handed out instead of waiting a minute for them.
    cli.write(u"big1.csv"_s, QByteArray("1,2,3,4,5,6,7,8,9,10\n").repeated(30000));
    cli.write(u"big2.csv"_s, QByteArray("1,2,3,4,5,6,7,8,9,11\n").repeated(30000));
    const QList<qint64> taken = readyOffices(cli, 2);
    ASSERT_EQ(taken.size(), 2);
    QProcess killed;
    killed.setWorkingDirectory(cli.home.path());
    killed.start(QStringLiteral(BRELIX_CLI),
                 {u"diff"_s, u"--no-limit"_s, u"big1.csv"_s, u"big2.csv"_s});
    ASSERT_TRUE(killed.waitForStarted());
    const auto pid = static_cast<pid_t>(killed.processId());
    // Each office it takes gets a watcher, forked from it.
    ASSERT_TRUE(within(30000, [&] {
        return std::ranges::count(support::processes(), pid, &support::ProcessEntry::parent) >= 2;
    }));
    for (const support::ProcessEntry& watcher : support::processes())
        if (watcher.parent == pid)
            ::kill(watcher.pid, SIGKILL);
    ::kill(pid, SIGKILL);
    killed.waitForFinished();
    for (const qint64 office : taken)
        EXPECT_TRUE(within(5000, [&] { return !running(office); })) << "orphaned office lives on";

    EXPECT_EQ(cli.run({u"office"_s, u"stop"_s}), 0);
    EXPECT_TRUE(within(5000, [&] { return !running(keeper) && officesOf(keeper).isEmpty(); }));
    EXPECT_EQ(cli.run({u"office"_s, u"status"_s}), 1);
}

} // namespace
} // namespace brelix::cli
