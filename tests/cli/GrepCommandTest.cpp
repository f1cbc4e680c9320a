#include "cli/GrepCommand.h"

#include "CommandRun.h"
#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;

namespace brelix::cli {
namespace {

WorkbookContent bookWith(const QString& sheetName, const QList<QString>& columnA)
{
    WorkbookContent book = WorkbookContent::withSheets({sheetName});
    for (int r = 0; r < columnA.size(); ++r)
        book.sheets[0].setCell(r + 1, 1, CellContent::ofText(columnA[r]));
    return book;
}

// Workbooks and the template in a folder that is the program's folder; the files exist on disk
// for the checks and in the in-memory file table for the office.
class GrepCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        put(u"Brelix_Format.xls"_s, WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    void put(const QString& name, const WorkbookContent& content)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        m_factory.addFile(path(name), content);
    }
    // "brelix-cli grep ARGUMENTS" from the program's folder.
    int run(const QStringList& arguments)
    {
        m_factory.addFile(path(u"Brelix.xls"_s),
                          *m_factory.savedContent(path(u"Brelix_Format.xls"_s)));
        auto command = std::make_unique<GrepCommand>(
            [this](bool show) -> host::SpreadsheetHostFactory& {
                m_shows.append(show);
                return m_factory;
            },
            false);
        return runCommandIn(m_dir.path(), std::move(command), arguments, m_out, m_err);
    }

    support::TemporaryProgramFolder m_dir;
    support::InMemoryHostFactory m_factory;
    QList<bool> m_shows;
    QString m_out;
    QString m_err;
};

TEST_F(GrepCommandTest, HitsArePrintedAsTheHitFileHoldsThemInTheOrderOfTheFiles)
{
    put(u"b.xls"_s, bookWith(u"S"_s, {u"Total"_s, u"net, total"_s}));
    put(u"sub/a.csv"_s, bookWith(u"a"_s, {u"x"_s, u"subtotal"_s}));

    EXPECT_EQ(run({u"total"_s, u"b.xls"_s, u"sub/a.csv"_s}), 0);
    EXPECT_EQ(m_out, u"1,b.xls,S,1,A1,TOTAL\n2,b.xls,S,1,A2,\"NET, TOTAL\"\n"
                     u"3,a.csv,a,1,A2,SUBTOTAL\n"_s);
    EXPECT_EQ(m_err, QString());
    EXPECT_EQ(m_shows, QList<bool>({false}));
    EXPECT_FALSE(QFile::exists(path(u"Brelix.grp"_s)));
    EXPECT_EQ(m_factory.savedContent(path(u"Brelix.xls"_s))->sheets[0].cell(4, 2).text, u"a.csv"_s);

    EXPECT_EQ(run({u"total"_s, u"--case"_s, u"--show"_s, u"b.xls"_s}), 0);
    EXPECT_EQ(m_out, u"1,b.xls,S,1,A2,\"net, total\"\n"_s);
    EXPECT_EQ(m_shows.last(), true);

    EXPECT_EQ(run({u"nowhere"_s, u"b.xls"_s}), 1);
    EXPECT_EQ(m_out, QString());
}

TEST_F(GrepCommandTest, RefusedStoppedAndUnusableRunsExitWithTwo)
{
    put(u"b.xls"_s, bookWith(u"S"_s, {u"abc"_s}));
    WorkbookContent locked = bookWith(u"L"_s, {u"abc"_s});
    locked.sheets[0].isProtected = true;
    locked.sheets[0].password = u"pw"_s;
    put(u"locked.xls"_s, locked);

    EXPECT_EQ(run({u"  "_s, u"b.xls"_s}), 2);
    EXPECT_EQ(m_err, u"検索中止: 検索文字を入れてよ\n"_s);
    EXPECT_EQ(run({u"abc"_s, u"locked.xls"_s}), 2);
    EXPECT_TRUE(m_err.contains(u"Sheet のパスワードエラーです"_s));
    EXPECT_EQ(run({u"abc"_s, u"--password"_s, u"pw"_s, u"locked.xls"_s}), 0);

    EXPECT_EQ(run({u"abc"_s}), 2);
    EXPECT_TRUE(m_err.startsWith(u"brelix-cli grep: "_s));
    put(u"other/b.xls"_s, bookWith(u"S"_s, {u"abc"_s}));
    EXPECT_EQ(run({u"abc"_s, u"b.xls"_s, u"other/b.xls"_s}), 2);
    EXPECT_TRUE(m_err.contains(u"two files named 'b.xls'"_s));

    QFile::remove(path(u"Brelix_Format.xls"_s));
    EXPECT_EQ(run({u"abc"_s, u"b.xls"_s}), 2);
    EXPECT_EQ(m_err, u"実行不可能: Brelix_Format.xls がありません\n"_s);
}

TEST_F(GrepCommandTest, AFileThatCannotBeOpenedIsNamedAndTheOthersStillCount)
{
    put(u"b.xls"_s, bookWith(u"S"_s, {u"abc"_s}));
    EXPECT_EQ(run({u"abc"_s, u"missing.xls"_s, u"b.xls"_s}), 0);
    EXPECT_EQ(m_out, u"1,b.xls,S,1,A1,ABC\n"_s);
    EXPECT_TRUE(m_err.startsWith(u"検索できないファイル: "_s));
    EXPECT_TRUE(m_err.contains(u"missing.xls"_s));
}

} // namespace
} // namespace brelix::cli
