#include "core/compare/DiffRules.h"

#include "GTestPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::compare {
namespace {

// Real files in a temporary folder, since the checks ask the disk.
class DiffInputsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_template = touch(u"Brelix_Format.xls"_s);
        m_first = touch(u"a/Book.xls"_s);
        m_second = touch(u"b/売上2004.xls"_s);
    }

    QString touch(const QString& relative)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    QTemporaryDir m_dir;
    QString m_template;
    QString m_first;
    QString m_second;
};

TEST_F(DiffInputsTest, AcceptsTwoExistingFilesWithDifferentNames)
{
    EXPECT_EQ(checkDiffInputs(m_template, m_first, m_second), std::nullopt);
    // Blanks typed around a path do not matter.
    EXPECT_EQ(checkDiffInputs(m_template, u"  "_s + m_first + u"\t"_s, u" "_s + m_second),
              std::nullopt);
}

TEST_F(DiffInputsTest, AMissingTemplateWinsOverEveryOtherFault)
{
    const QString missing = m_dir.filePath(u"none.xls"_s);
    EXPECT_EQ(checkDiffInputs(missing, m_first, m_second), DiffRefusal::MissingTemplate);
    EXPECT_EQ(checkDiffInputs(missing, m_first, m_first), DiffRefusal::MissingTemplate);
    EXPECT_EQ(checkDiffInputs(missing, QString(), QString()), DiffRefusal::MissingTemplate);
    // A folder is not a template.
    EXPECT_EQ(checkDiffInputs(m_dir.path(), m_first, m_second), DiffRefusal::MissingTemplate);
    EXPECT_EQ(checkDiffInputs(QString(), m_first, m_second), DiffRefusal::MissingTemplate);
}

TEST_F(DiffInputsTest, RefusesEqualBareNamesIgnoringCaseAndFolders)
{
    const QString other = touch(u"b/book.XLS"_s);
    EXPECT_EQ(checkDiffInputs(m_template, m_first, other), DiffRefusal::SameFileName);
    EXPECT_EQ(checkDiffInputs(m_template, m_first, m_first), DiffRefusal::SameFileName);
    // Two empty boxes, or two missing files, have the same (empty) bare name.
    EXPECT_EQ(checkDiffInputs(m_template, QString(), QString()), DiffRefusal::SameFileName);
    EXPECT_EQ(checkDiffInputs(m_template, u"  "_s, m_dir.filePath(u"none.xls"_s)),
              DiffRefusal::SameFileName);
}

TEST_F(DiffInputsTest, RefusesAnEmptyOrMissingPath)
{
    const QString missing = m_dir.filePath(u"none.xls"_s);
    EXPECT_EQ(checkDiffInputs(m_template, m_first, QString()), DiffRefusal::FilesNotSelected);
    EXPECT_EQ(checkDiffInputs(m_template, QString(), m_second), DiffRefusal::FilesNotSelected);
    EXPECT_EQ(checkDiffInputs(m_template, m_first, missing), DiffRefusal::FilesNotSelected);
    EXPECT_EQ(checkDiffInputs(m_template, m_first, m_dir.filePath(u"b"_s)),
              DiffRefusal::FilesNotSelected);
}

TEST_F(DiffInputsTest, BareFileNameIsWhatTheDiskHolds)
{
    EXPECT_EQ(bareFileName(m_second), u"売上2004.xls"_s);
    EXPECT_EQ(bareFileName(u" "_s + m_first + u" "_s), u"Book.xls"_s);
    EXPECT_EQ(bareFileName(m_dir.filePath(u"none.xls"_s)), QString());
    EXPECT_EQ(bareFileName(m_dir.filePath(u"a"_s)), QString());
    EXPECT_EQ(bareFileName(QString()), QString());
}

TEST(DiffRules, RefusalMessagesKeepTheirWording)
{
    const run::RunMessage missing = refusalMessage(DiffRefusal::MissingTemplate);
    EXPECT_EQ(missing.text, u"Brelix_Format.xls がありません"_s);
    EXPECT_EQ(missing.title, u"実行不可能"_s);
    EXPECT_EQ(missing.icon, run::MessageIcon::Critical);
    EXPECT_EQ(missing.buttons, run::MessageButtons::Ok);

    const run::RunMessage same = refusalMessage(DiffRefusal::SameFileName);
    EXPECT_EQ(same.text,
              u"同一ファイル名は比較できません\r\n\r\nどちらかのファイル名を変更してから、"
              u"比較を実行して下さい"_s);
    EXPECT_EQ(same.title, u"実行中止"_s);
    EXPECT_EQ(same.icon, run::MessageIcon::Exclamation);

    const run::RunMessage none = refusalMessage(DiffRefusal::FilesNotSelected);
    EXPECT_EQ(none.text, u"対象ファイルを選択して下さい"_s);
    EXPECT_EQ(none.title, u"指定エラー"_s);
    EXPECT_EQ(none.icon, run::MessageIcon::Exclamation);
}

TEST(DiffRules, SheetNumberReadsTheNumericPrefix)
{
    EXPECT_EQ(sheetNumber(u"12abc"_s), 12);
    EXPECT_EQ(sheetNumber(u"  7"_s), 7);
    EXPECT_EQ(sheetNumber(u"-1"_s), -1);
    EXPECT_EQ(sheetNumber(u"+4"_s), 4);
    EXPECT_EQ(sheetNumber(u"1e2"_s), 100);
    EXPECT_EQ(sheetNumber(u"1E+1x"_s), 10);
    EXPECT_EQ(sheetNumber(u"25e-1"_s), 2);
    // An exponent without digits is not part of the number.
    EXPECT_EQ(sheetNumber(u"3e"_s), 3);
    EXPECT_EQ(sheetNumber(u"3e+"_s), 3);
    EXPECT_EQ(sheetNumber(u"1.5.5"_s), 2);
    EXPECT_EQ(sheetNumber(u"１２"_s), 0); // full-width digits are not digits here
}

TEST(DiffRules, SheetNumberIsZeroWithoutDigits)
{
    for (const QString& text : {u""_s, u"abc"_s, u"-"_s, u"."_s, u"+.e5"_s, u"e5"_s, u"x12"_s})
        EXPECT_EQ(sheetNumber(text), 0) << text.toStdString();
}

TEST(DiffRules, SheetNumberRoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(sheetNumber(u"2.5"_s), 2);
    EXPECT_EQ(sheetNumber(u"3.5"_s), 4);
    EXPECT_EQ(sheetNumber(u"2.51"_s), 3);
    EXPECT_EQ(sheetNumber(u"-2.5"_s), -2);
    EXPECT_EQ(sheetNumber(u".6"_s), 1);
    EXPECT_EQ(sheetNumber(u"32767"_s), 32767);
    EXPECT_EQ(sheetNumber(u"32767.5"_s), 32767);
    EXPECT_EQ(sheetNumber(u"40000"_s), 32767);
    EXPECT_EQ(sheetNumber(u"-32768"_s), -32768);
    EXPECT_EQ(sheetNumber(u"-99999"_s), -32768);
    EXPECT_EQ(sheetNumber(u"1e999"_s), 32767);
    EXPECT_EQ(sheetNumber(u"-1e999"_s), -32768);
    EXPECT_EQ(sheetNumber(u"1e-999"_s), 0);
    EXPECT_EQ(sheetNumber(u"123456789012345678901234567890"_s), 32767);
}

TEST(DiffRules, SheetRangeFillsBlanksAndRefusesAReversedRange)
{
    auto range = [](const QString& start, const QString& last) {
        const std::optional<SheetRange> r = sheetRange(start, last);
        return r ? std::optional(std::pair(r->start, r->last)) : std::nullopt;
    };
    EXPECT_EQ(range(QString(), QString()), std::pair(1, 999));
    EXPECT_EQ(range(u"5"_s, QString()), std::pair(5, 999));
    EXPECT_EQ(range(u"0"_s, u"-3"_s), std::pair(1, 999));
    EXPECT_EQ(range(u"2"_s, u"2"_s), std::pair(2, 2));
    EXPECT_EQ(range(u"3"_s, u"2"_s), std::nullopt);
    EXPECT_EQ(range(u"1000"_s, QString()), std::nullopt);
}

TEST(DiffRules, BaseNameDropsTheLastFourCharacters)
{
    EXPECT_EQ(baseName(u"売上2003.xls"_s), u"売上2003"_s);
    EXPECT_EQ(baseName(u"見積書.xlsx"_s), u"見積書"_s);
    EXPECT_EQ(baseName(u"v1.2.ods"_s), u"v1.2"_s);
    EXPECT_EQ(baseName(u".xls"_s), QString());
    EXPECT_EQ(baseName(u"README"_s), u"README"_s);
}

TEST(DiffRules, ChangeHistoryNameJoinsShortBaseNames)
{
    EXPECT_EQ(changeHistorySheetName(u"売上2003.xls"_s, u"売上2004.xls"_s),
              u"変更履歴　売上2003-売上2004"_s);
    EXPECT_EQ(changeHistorySheetName(u"Book1.xls"_s, u"Book2.xls"_s), u"変更履歴　Book1-Book2"_s);
    // 13 + 12 = 25 characters: not yet shortened, and exactly the 31 a sheet name holds.
    const QString b13 = u"ABCDEFGHIJKLM"_s;
    const QString b12 = u"abcdefghijkl"_s;
    const QString longest = changeHistorySheetName(b13 + u".xls"_s, b12 + u".xls"_s);
    EXPECT_EQ(longest, u"変更履歴　"_s + b13 + u'-' + b12);
    EXPECT_EQ(longest.size(), 31);
}

TEST(DiffRules, ChangeHistoryNameShortensLongBaseNames)
{
    const QString b20 = u"ABCDEFGHIJKLMNOPQRST"_s;
    const QString b10 = u"abcdefghij"_s;
    const QString first = changeHistorySheetName(b20 + u".xls"_s, b10 + u".xls"_s);
    EXPECT_EQ(first, u"変更履歴　ABCDEFGHI...-abcdefghij"_s);
    EXPECT_EQ(first.size(), 28);

    const QString b15 = u"売上集計表二〇〇三年度上半期分"_s;
    const QString both = changeHistorySheetName(b15 + u".xls"_s, b15 + u".xls"_s);
    EXPECT_EQ(both, u"変更履歴　売上集計表二〇〇三...-売上集計表二〇〇三..."_s);
    EXPECT_EQ(both.size(), 30);

    // A base of exactly 12 characters stays whole even when the pair is too long.
    const QString b14 = u"ABCDEFGHIJKLMN"_s;
    EXPECT_EQ(changeHistorySheetName(b14 + u".xls"_s, u"abcdefghijkl.xls"_s),
              u"変更履歴　ABCDEFGHI...-abcdefghijkl"_s);

    // However long the names, the result fits a sheet name.
    const QString huge = QString(40, u'長') + u".xls"_s;
    EXPECT_EQ(changeHistorySheetName(huge, huge).size(), 30);
}

} // namespace
} // namespace brelix::compare
