#include "core/host/CellText.h"

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

namespace brelix::host {
namespace {

using Style = CellContent::NumberStyle;

// One line of the golden file as the cell it describes; fields of '-' keep their defaults.
CellContent cellOf(const QStringList& f)
{
    static const QHash<QString, Style> styles = {{QStringLiteral("general"), Style::General},
                                                 {QStringLiteral("date"), Style::Date},
                                                 {QStringLiteral("time"), Style::Time},
                                                 {QStringLiteral("datetime"), Style::DateTime}};
    CellContent cell;
    if (f[0] == u"number")
        cell = CellContent::ofNumber(f[1].toDouble(), styles.value(f[2]));
    else if (f[0] == u"text")
        cell = CellContent::ofText(f[1]);
    else if (f[0] == u"boolean")
        cell = CellContent::ofBoolean(f[1] == u"1");
    else if (f[0] == u"error")
        cell = CellContent::ofError(f[1]);
    if (f[4] != u"-")
        cell.formula = f[4];
    return cell;
}

TEST(CellText, EveryCellOfTheGoldenFileGivesItsTwoTexts)
{
    QFile golden(QStringLiteral(BRELIX_TEST_DATA_DIR "/cell-texts.tsv"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    for (const QString& line : QString::fromUtf8(golden.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 7) << line.toStdString();
        const CellContent cell = cellOf(f);
        const QDate nullDate =
            f[3] == u"-" ? defaultNullDate() : QDate::fromString(f[3], Qt::ISODate);
        EXPECT_EQ(valueText(cell, nullDate).toStdString(), f[5].toStdString())
            << line.toStdString();
        EXPECT_EQ(formulaText(cell, nullDate).toStdString(), f[6].toStdString())
            << line.toStdString();
        ++cases;
    }
    EXPECT_GT(cases, 60);
}

} // namespace
} // namespace brelix::host
