#include "core/compare/DiffRules.h"

#include "GTestPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::compare {
namespace {

TEST(DiffRulesTest, TheInputChecksRefuseInTheirOrder)
{
    // Real files, since the checks ask the disk: the template t.xls, a.xls and b/A.XLS, an
    // empty template e.xls and one cut short, c.xls; b is a folder.
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return dir.filePath(name); };
    QDir(dir.path()).mkdir(u"b"_s);
    QFile::copy(QStringLiteral(BRELIX_BUILT_TEMPLATE), path(u"t.xls"_s));
    for (const QString& name : {u"a.xls"_s, u"b/A.XLS"_s, u"e.xls"_s})
        QFile(path(name)).open(QIODevice::WriteOnly);
    QFile whole(path(u"t.xls"_s)), cut(path(u"c.xls"_s));
    whole.open(QIODevice::ReadOnly);
    cut.open(QIODevice::WriteOnly);
    cut.write(whole.readAll().chopped(512));
    cut.close();
    const QString t = path(u"t.xls"_s), a = path(u"a.xls"_s), b = path(u"b/A.XLS"_s);
    const QString none = path(u"none.xls"_s), folder = path(u"b"_s);
    const QList<std::tuple<QString, QString, QString, std::optional<DiffRefusal>>> cases = {
        {t, u" "_s + a + u"\t"_s, u" "_s + t, std::nullopt}, // blanks around a path
        {none, a, a, DiffRefusal::MissingTemplate},          // before every other fault
        {folder, a, t, DiffRefusal::MissingTemplate},
        {path(u"e.xls"_s), a, a, DiffRefusal::DamagedTemplate},
        {path(u"c.xls"_s), a, a, DiffRefusal::DamagedTemplate},
        {t, a, b, DiffRefusal::SameFileName},         // case and folders do not count
        {t, u" "_s, none, DiffRefusal::SameFileName}, // two missing files have the same name
        {t, QString(), t, DiffRefusal::FilesNotSelected},
        {t, a, folder, DiffRefusal::FilesNotSelected},
    };
    for (const auto& [templ, first, second, refusal] : cases)
        EXPECT_EQ(checkDiffInputs(templ, first, second), refusal)
            << first.toStdString() << " | " << second.toStdString();
}

TEST(DiffRulesTest, SheetNumbersReadTheNumericPrefixRoundedAndSaturated)
{
    const QList<std::pair<QString, int>> cases = {
        {u"12abc"_s, 12},      {u"  7"_s, 7},         {u"-1"_s, -1},         {u"+4"_s, 4},
        {u"1e2"_s, 100},       {u"1E+1x"_s, 10},      {u"25e-1"_s, 2},       {u"3e"_s, 3},
        {u"3e+"_s, 3},         {u"1.5.5"_s, 2},       {u"１２"_s, 0},        {u""_s, 0},
        {u"abc"_s, 0},         {u"-"_s, 0},           {u"+.e5"_s, 0},        {u"x12"_s, 0},
        {u"2.5"_s, 2},         {u"3.5"_s, 4},         {u"2.51"_s, 3},        {u"-2.5"_s, -2},
        {u".6"_s, 1},          {u"32767.5"_s, 32767}, {u"40000"_s, 32767},   {u"-32768"_s, -32768},
        {u"-99999"_s, -32768}, {u"1e999"_s, 32767},   {u"-1e999"_s, -32768}, {u"1e-999"_s, 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(sheetNumber(text), number) << text.toStdString();
}

TEST(DiffRulesTest, TheSheetRangeFillsBlanksAndRefusesAReversedOne)
{
    const QList<std::tuple<QString, QString, int, int>> cases = {
        {QString(), QString(), 1, 999}, {u"0"_s, u"-3"_s, 1, 999},    {u"2"_s, u"2"_s, 2, 2},
        {u"3"_s, u"2"_s, 0, 0},         {u"1000"_s, QString(), 0, 0}, // refused
    };
    for (const auto& [start, last, first, end] : cases) {
        const SheetRange range = sheetRange(start, last).value_or(SheetRange{0, 0});
        EXPECT_EQ(std::pair(range.start, range.last), std::pair(first, end)) << start.toStdString();
    }
}

TEST(DiffRulesTest, TheChangeHistoryIsNamedAfterBothBaseNamesWithinThirtyOneCharacters)
{
    const QString b13 = u"ABCDEFGHIJKLM"_s, b12 = u"abcdefghijkl"_s;
    const QString b15 = u"売上集計表二〇〇三年度上半期分"_s, huge = QString(40, u'長');
    const QList<std::tuple<QString, QString, QString>> cases = {
        {u"売上2003.xls"_s, u"見積書.xlsx"_s, u"変更履歴　売上2003-見積書"_s},
        {u"v1.2.ods"_s, u"README"_s, u"変更履歴　v1.2-README"_s},
        {u".xls"_s, u"b.xls"_s, u"変更履歴　-b"_s},
        // 13 + 12 = 25 characters: not shortened yet, and exactly 31 in all.
        {b13 + u".xls"_s, b12 + u".xls"_s, u"変更履歴　"_s + b13 + u'-' + b12},
        // Longer: each base past 12 characters keeps 9 of them.
        {u"ABCDEFGHIJKLMNOPQRST.xls"_s, u"abcdefghij.xls"_s,
         u"変更履歴　ABCDEFGHI...-abcdefghij"_s},
        {u"ABCDEFGHIJKLMN.xls"_s, b12 + u".xls"_s, u"変更履歴　ABCDEFGHI...-"_s + b12},
        {b15 + u".xls"_s, b15 + u".xls"_s,
         u"変更履歴　売上集計表二〇〇三...-売上集計表二〇〇三..."_s},
        {huge + u".xls"_s, huge + u".xls"_s,
         u"変更履歴　"_s + QString(9, u'長') + u"...-"_s + QString(9, u'長') + u"..."_s},
    };
    for (const auto& [first, second, name] : cases) {
        EXPECT_EQ(changeHistorySheetName(first, second), name) << first.toStdString();
        EXPECT_LE(name.size(), 31);
    }
}

} // namespace
} // namespace brelix::compare
