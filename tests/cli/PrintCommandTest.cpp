#include "cli/PrintCommand.h"

#include "CommandRun.h"
#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::support::InMemoryHost;
using brelix::support::WorkbookContent;

namespace brelix::cli {
namespace {

// Workbooks in a folder of their own, known to the in-memory office; the command runs from
// that folder with the given answer on its input.
class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& name : {u"a.xls"_s, u"b.xls"_s})
            m_factory.addFile(path(name), WorkbookContent::withSheets({u"S"_s, u"T"_s, u"U"_s}));
    }
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    int run(const QStringList& arguments, const QString& typed = QString())
    {
        QString input = typed;
        QTextStream in(&input);
        return runCommandIn(m_dir.path(),
                            std::make_unique<PrintCommand>(m_factory, in, false, false), arguments,
                            m_out, m_err);
    }
    QStringList opened()
    {
        return m_factory.startCount() ? m_factory.lastHost().calls().filter(u"openWorkbook"_s)
                                      : QStringList();
    }

    QTemporaryDir m_dir;
    support::InMemoryHostFactory m_factory;
    QString m_out;
    QString m_err;
};

TEST_F(PrintCommandTest, WithYesEveryFilePrintsWithItsScopeAndTheStatusIsZero)
{
    EXPECT_EQ(run({u"a.xls"_s, u"b.xls"_s, u"--scope"_s, u"2"_s, u"--yes"_s}), 0);
    EXPECT_EQ(m_err, u"印刷完了通知: 印刷が完了しました\n"_s);
    EXPECT_EQ(m_out, QString());
    EXPECT_EQ(opened(), QStringList({u"openWorkbook(%1)"_s.arg(path(u"a.xls"_s)),
                                     u"openWorkbook(%1)"_s.arg(path(u"b.xls"_s))}));
    EXPECT_EQ(m_factory.lastHost().printJobs().size(), 6);
    EXPECT_EQ(m_factory.lastHost().state(), InMemoryHost::State::Quit);
}

TEST_F(PrintCommandTest, WithoutYesTheQuestionIsAskedOnTheTerminal)
{
    const QString asked = u"最終確認: １シート、全ページを印刷しますが、宜しいですか？ [y/N] "_s;
    for (const QString& refusal : {u"n\n"_s, u"\n"_s, QString()}) {
        EXPECT_EQ(run({u"a.xls"_s, u"--scope"_s, u"1"_s}, refusal), 2);
        EXPECT_EQ(m_err, asked + refusal.trimmed() + u'\n');
        EXPECT_EQ(m_factory.startCount(), 0);
    }
    EXPECT_EQ(run({u"a.xls"_s, u"--scope"_s, u"1"_s}, u"yes\n"_s), 0);
    EXPECT_EQ(m_err, asked + u"yes\n印刷完了通知: 印刷が完了しました\n"_s);
    EXPECT_EQ(m_factory.lastHost().printJobs().size(), 1);
}

TEST_F(PrintCommandTest, AFileThatDoesNotPrintIsNamedAndTheStatusIsOne)
{
    m_factory.onStart([](InMemoryHost& host) {
        host.failOn(u"printWorkbook"_s, 2, brelix::host::HostError::Kind::PrintFailed);
    });
    EXPECT_EQ(run({u"a.xls"_s, u"missing.xls"_s, u"b.xls"_s, u"--scope"_s, u"0"_s, u"--yes"_s}), 1);
    const QStringList lines = m_err.split(u'\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 4), QStringList({u"印刷完了通知: 印刷が完了しました"_s, QString(),
                                            u"印刷できなかったファイル："_s, u"missing.xls"_s}));
    EXPECT_EQ(lines[4], u"b.xls"_s);
    EXPECT_TRUE(lines[5].startsWith(u"brelix-cli print: missing.xls: "_s));
    EXPECT_TRUE(lines[6].startsWith(u"brelix-cli print: b.xls: "_s));
}

TEST_F(PrintCommandTest, PdfNamesTheFolderForTheRunOnly)
{
    QTemporaryDir pdfs;
    const bool had = qEnvironmentVariableIsSet("BRELIX_PDF_DIR");
    const QByteArray before = qgetenv("BRELIX_PDF_DIR");
    QByteArray during;
    m_factory.onStart([&](InMemoryHost&) { during = qgetenv("BRELIX_PDF_DIR"); });

    EXPECT_EQ(run({u"a.xls"_s, u"--scope"_s, u"3"_s, u"--yes"_s, u"--pdf"_s, pdfs.path()}), 0);

    EXPECT_EQ(during, QFile::encodeName(pdfs.path()));
    EXPECT_EQ(qEnvironmentVariableIsSet("BRELIX_PDF_DIR"), had);
    EXPECT_EQ(qgetenv("BRELIX_PDF_DIR"), before);
}

TEST_F(PrintCommandTest, UsageErrorsStartNothing)
{
    const QList<QStringList> wrong = {
        {u"--scope"_s, u"0"_s},
        {u"a.xls"_s},
        {u"a.xls"_s, u"--scope"_s, u"4"_s},
        {u"a.xls"_s, u"--scope"_s, u"x"_s},
        {u"a.xls"_s, u"--scope"_s, u"0"_s, u"--pdf"_s, u"no such folder"_s},
        {u"a.xls"_s, u"--scope"_s, u"0"_s, u"--copies"_s, u"2"_s},
    };
    for (const QStringList& arguments : wrong) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(run(arguments), 2);
        EXPECT_TRUE(m_err.startsWith(u"brelix-cli print: "_s));
        EXPECT_TRUE(m_err.contains(u"Usage: brelix-cli print FILE..."_s));
    }
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_EQ(run({u"--help"_s}), 0);
    EXPECT_TRUE(m_out.startsWith(u"Usage: brelix-cli print FILE... --scope 0|1|2|3"_s));
}

TEST_F(PrintCommandTest, CtrlCStopsAfterTheWorkbookBeingPrinted)
{
    static int outsidePresses = 0;
    outsidePresses = 0;
    const auto previous = std::signal(SIGINT, [](int) { ++outsidePresses; });
    m_factory.onStart([](InMemoryHost&) { std::raise(SIGINT); });

    EXPECT_EQ(run({u"a.xls"_s, u"b.xls"_s, u"--scope"_s, u"0"_s, u"--yes"_s}), 2);

    EXPECT_EQ(opened().size(), 1);
    EXPECT_EQ(m_err, u"印刷完了通知: 印刷が完了しました\n"_s);
    EXPECT_EQ(outsidePresses, 0);
    std::signal(SIGINT, previous);
}

} // namespace
} // namespace brelix::cli
