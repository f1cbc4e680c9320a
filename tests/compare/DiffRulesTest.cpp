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
    // Real files, since the checks ask the disk: a template, a.xls, b/A.XLS, c.xls, folder b.
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return dir.filePath(name); };
    QDir(dir.path()).mkdir(u"b"_s);
    for (const QString& name : {u"t.xls"_s, u"a.xls"_s, u"b/A.XLS"_s, u"c.xls"_s})
        QFile(path(name)).open(QIODevice::WriteOnly);
    const QString t = path(u"t.xls"_s), a = path(u"a.xls"_s), c = path(u"c.xls"_s);
    const QString none = path(u"none.xls"_s), folder = path(u"b"_s);
    struct Case {
        QString templ, first, second;
        std::optional<DiffRefusal> refusal;
    };
    const QList<Case> cases = {
        {t, a, c, std::nullopt},
        {t, u"  "_s + a + u"\t"_s, u" "_s + c, std::nullopt}, // blanks around a path
        {none, a, c, DiffRefusal::MissingTemplate},
        {none, a, a, DiffRefusal::MissingTemplate}, // before every other fault
        {folder, a, c, DiffRefusal::MissingTemplate},
        {t, a, path(u"b/A.XLS"_s), DiffRefusal::SameFileName}, // case and folders do not count
        {t, QString(), QString(), DiffRefusal::SameFileName},  // two empty names are equal
        {t, u" "_s, none, DiffRefusal::SameFileName},          // a missing file has none
        {t, a, QString(), DiffRefusal::FilesNotSelected},
        {t, QString(), c, DiffRefusal::FilesNotSelected},
        {t, a, none, DiffRefusal::FilesNotSelected},
        {t, a, folder, DiffRefusal::FilesNotSelected},
    };
    for (const Case& x : cases)
        EXPECT_EQ(checkDiffInputs(x.templ, x.first, x.second), x.refusal)
            << x.templ.toStdString() << " | " << x.first.toStdString() << " | "
            << x.second.toStdString();
    EXPECT_EQ(bareFileName(u" "_s + path(u"b/A.XLS"_s)), u"A.XLS"_s);
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
    const QList<std::tuple<QString, QString, std::optional<std::pair<int, int>>>> cases = {
        {QString(), QString(), std::pair(1, 999)},
        {u"5"_s, QString(), std::pair(5, 999)},
        {u"0"_s, u"-3"_s, std::pair(1, 999)},
        {u"2"_s, u"2"_s, std::pair(2, 2)},
        {u"3"_s, u"2"_s, std::nullopt},
        {u"1000"_s, QString(), std::nullopt},
    };
    for (const auto& [start, last, expected] : cases) {
        const std::optional<SheetRange> range = sheetRange(start, last);
        EXPECT_EQ(range ? std::optional(std::pair(range->start, range->last)) : std::nullopt,
                  expected)
            << start.toStdString() << '-' << last.toStdString();
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
