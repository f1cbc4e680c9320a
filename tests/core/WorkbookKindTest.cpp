#include "core/files/WorkbookKind.h"

#include "GTestPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kCorpus = QStringLiteral(BRELIX_TEST_DATA_DIR "/corpus/");

// The worksheets an .xls file declares, in BIFF8 and BIFF5, "?" for none readable and "-" for
// bytes that are no whole .xls workbook.
TEST(WorkbookKindTest, ExcelFilesDeclareTheirWorksheetsAndNothingWhenCutOrForeign)
{
    const QByteArray templ = bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE));
    const QByteArray datasets = bytesOf(kCorpus + u"readxl/datasets.xls"_s);
    const QList<std::pair<QByteArray, QString>> cases = {
        {templ, u"変更履歴|Grep結果"_s},
        {bytesOf(kCorpus + u"parseexcel/Test97J.xls"_s), u"Sheet1-ASC|漢字名"_s},
        {bytesOf(kCorpus + u"readxl/biff5-label-records.xls"_s), u"worksheet1"_s},
        {bytesOf(kCorpus + u"parseexcel/pers-protected.xls"_s), u"?"_s}, // names encrypted
        {datasets, u"mtcars|chickwts|quakes"_s},
        {datasets.left(datasets.size() * 9 / 10), u"-"_s},
        {datasets.left(datasets.size() / 2), u"-"_s},
        {templ.left(1024), u"-"_s},
        {templ.left(511), u"-"_s},
        {bytesOf(kCorpus + u"readxl/types.xlsx"_s), u"-"_s},
        {QByteArray(4096, 'x'), u"-"_s},
    };
    for (const auto& [bytes, expected] : cases) {
        QString problem;
        const std::optional<QStringList> sheets = WorkbookKind::excelSheets(bytes, problem);
        const QString found = !sheets ? u"-"_s : sheets->isEmpty() ? u"?"_s : sheets->join(u'|');
        EXPECT_EQ(found, expected) << expected.toStdString();
        EXPECT_EQ(problem.isEmpty(), sheets.has_value()) << expected.toStdString();
    }
}

TEST(WorkbookKindTest, TheLongestCsvFieldCountsTheCharactersBetweenTheQuotes)
{
    const QList<std::pair<QString, qsizetype>> cases = {
        {QString(), 0},
        {u"a,bcd,ef"_s, 3},
        {u"a\r\nbcde\r\n"_s, 4},
        {u"\"ab,c\"\"d\",x"_s, 6}, // a quoted comma and a doubled quote are one character
        {u"\"line\r\nbreak\""_s, 11},
        {u"1,\"\"\"\""_s, 1},
        {u"漢字,"_s, 2},
    };
    for (const auto& [text, longest] : cases)
        EXPECT_EQ(WorkbookKind::longestCsvField(text), longest) << text.toStdString();
}

} // namespace
} // namespace brelix::files
