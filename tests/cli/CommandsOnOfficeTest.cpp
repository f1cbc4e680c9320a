#include "TemporaryProgramFolder.h"
#include "TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
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

// Files that are no workbook of their kind, or hold what the office would not read whole, each
// with the reason every command must give: no command reads them as anything else.
TEST(CommandsOnOfficeTest, FilesTheOfficeCannotReadWholeAreRefusedByEveryCommand)
{
    Cli cli;
    const QByteArray templ = bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE));
    cli.write(u"Brelix_Format.xls"_s, templ);
    cli.write(u"good.xls"_s, templ);
    QByteArray noise(20000, '\0');
    QRandomGenerator(12).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    // Each file, its bytes and the reason given.
    const QList<std::tuple<QString, QByteArray, QString>> files = {
        {u"random.xls"_s, noise, u"not those of an .xls"_s},
        {u"empty.xls"_s, {}, u"not those of an .xls"_s},
        {u"empty.xlsx"_s, {}, u"not those of an .xlsx"_s},
        {u"empty.ods"_s, {}, u"not those of an .ods"_s},
        {u"cut.xls"_s, templ.left(templ.size() / 2), u"cut short"_s},
        {u"quoted.xlsx"_s, bytesOf(QStringLiteral(BRELIX_TEST_DATA_DIR "/made/quoted-sheet.xlsx")),
         u"read only 1 of the 2 worksheets"_s},
        {u"long.csv"_s, "a," + QByteArray(70000, 'x') + "\r\n", u"longer than 65535 characters"_s},
    };
    QStringList names;
    for (const auto& [name, bytes, reason] : files) {
        SCOPED_TRACE(name.toStdString());
        cli.write(name, bytes);
        names.append(name);
        EXPECT_EQ(cli.run({u"cells"_s, name}), 2);
        EXPECT_TRUE(cli.stderrText.contains(u"cannot open "_s + name))
            << cli.stderrText.toStdString();
        EXPECT_TRUE(cli.stderrText.contains(reason)) << cli.stderrText.toStdString();
        if (!name.startsWith(u"empty"_s) && name != u"cut.xls"_s) { // the same refusal
            EXPECT_EQ(cli.run({u"diff"_s, u"good.xls"_s, name}), 2);
            EXPECT_TRUE(cli.stderrText.contains(reason)) << cli.stderrText.toStdString();
        }
    }

    // One search and one print over all of them and a good file: each is named, none passes.
    EXPECT_EQ(cli.run(QStringList{u"grep"_s, u"No"_s, u"good.xls"_s} + names), 0);
    EXPECT_TRUE(cli.stderrText.contains(u"検索できませんでした\n\n"_s + names.join(u'\n')))
        << cli.stderrText.toStdString();
    EXPECT_EQ(cli.run(QStringList{u"print"_s, u"--scope"_s, u"3"_s, u"--yes"_s, u"--pdf"_s,
                                  cli.home.path(), u"good.xls"_s} +
                      names),
              1);
    for (const QString& name : names)
        EXPECT_TRUE(cli.stderrText.contains(u"brelix-cli print: "_s + name + u": "_s))
            << name.toStdString();
    EXPECT_EQ(QDir(cli.home.path()).entryList({u"*.pdf"_s}).join(u' '), u"good-変更履歴.pdf"_s);

    // A damaged template is named before anything starts, and no results are written.
    cli.write(u"Brelix_Format.xls"_s, noise);
    QFile::remove(cli.home.filePath(u"Brelix.xls"_s));
    EXPECT_EQ(cli.run({u"grep"_s, u"No"_s, u"good.xls"_s}), 2);
    EXPECT_TRUE(cli.stderrText.contains(u"Brelix_Format.xls が壊れています"_s));
    EXPECT_FALSE(QFile::exists(cli.home.filePath(u"Brelix.xls"_s)));
}

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

QList<pid_t> childrenOf(pid_t parent)
{
    QList<pid_t> children;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == parent)
            children.append(entry.toInt());
    }
    return children;
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
    // Large enough that the comparison is still at work when its office is stopped, even on
    // an office that starts from a prepared profile in half a second.
    for (const int shift : {0, 1}) {
        QFile file(home.filePath(shift ? u"b.csv"_s : u"a.csv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int row = 0; row < 6000; ++row)
            file.write((QByteArray::number(row + shift) + ',').repeated(10) + '\n');
    }
    const QList<QList<int>> endings = {{SIGINT}, {SIGINT, SIGINT}, {SIGTERM}, {SIGHUP}, {SIGKILL}};
    for (const QList<int>& signals : endings) {
        SCOPED_TRACE(::testing::Message()
                     << "signals " << signals.first() << " x" << signals.size());
        QProcess cli;
        cli.start(
            QStringLiteral(BRELIX_CLI),
            {u"diff"_s, u"--no-limit"_s, home.filePath(u"a.csv"_s), home.filePath(u"b.csv"_s)});
        ASSERT_TRUE(cli.waitForStarted());
        const qint64 owner = cli.processId();
        ASSERT_TRUE(within(60000, [&] { return !officesOf(owner).isEmpty(); }));
        QThread::msleep(1500); // mostly in a call by now, else still starting: both must end
        const QList<int> offices = officesOf(owner);
        ASSERT_FALSE(offices.isEmpty()) << "the comparison ended before its office was stopped";
        const pid_t office = ::getpgid(static_cast<pid_t>(offices.first()));
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

bool running(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
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

qint64 readyOffice(Cli& cli)
{
    return readyOffices(cli, 1).value(0);
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
    const qint64 first = readyOffice(cli);
    ASSERT_NE(first, 0);
    EXPECT_EQ(cli.run({u"cells"_s, u"good.xls"_s}), 0) << cli.stderrText.toStdString();
    EXPECT_TRUE(within(5000, [&] { return !running(first); })) << "outlived its command";

    const qint64 second = readyOffice(cli);
    ASSERT_NE(second, 0);
    EXPECT_NE(second, first);
    ::kill(static_cast<pid_t>(-second), SIGKILL);
    EXPECT_EQ(cli.run({u"cells"_s, u"good.xls"_s}), 0) << cli.stderrText.toStdString();
    const qint64 third = readyOffice(cli);
    EXPECT_NE(third, 0);
    EXPECT_NE(third, second);

    // A comparison takes both idle offices and loads its two workbooks side by side.
    cli.write(u"a.csv"_s, "1,2\n3,4\n");
    cli.write(u"b.csv"_s, "1,2\n3,5\n");
    const QList<qint64> pair = readyOffices(cli, 2);
    ASSERT_EQ(pair.size(), 2);
    EXPECT_EQ(cli.run({u"diff"_s, u"a.csv"_s, u"b.csv"_s}), 1) << cli.stderrText.toStdString();
    EXPECT_EQ(cli.stdoutText.count(u'\n'), 1);
    EXPECT_TRUE(cli.stdoutText.contains(u"\tB2\t4\t5"_s)) << cli.stdoutText.toStdString();
    for (const qint64 office : pair)
        EXPECT_TRUE(within(5000, [&] { return !running(office); })) << "not taken, or outlived";

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
    ASSERT_TRUE(within(30000, [&] { return childrenOf(pid).size() >= 2; }));
    for (const pid_t watcher : childrenOf(pid))
        ::kill(watcher, SIGKILL);
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
