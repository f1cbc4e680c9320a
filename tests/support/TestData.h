#pragma once

#include "core/host/CellContent.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

namespace brelix::support {

// The cases of a file under tests/data: one a line, fields separated by tabs, where \t, \r, \n
// and \\ stand for a tab, CR, LF and a backslash; empty lines and lines starting with '#' explain.
inline QList<QStringList> caseRows(const QString& name)
{
    QFile file(QStringLiteral(BRELIX_TEST_DATA_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList fields;
        for (const QString& field : line.split(u'\t')) {
            QString text;
            for (qsizetype i = 0; i < field.size(); ++i) {
                const QChar c = field[i] == u'\\' && i + 1 < field.size() ? field[++i] : QChar();
                text += c.isNull()  ? field[i]
                        : c == u't' ? u'\t'
                        : c == u'r' ? u'\r'
                        : c == u'n' ? u'\n'
                                    : c;
            }
            fields.append(text);
        }
        rows.append(fields);
    }
    return rows;
}

// A file's bytes; none when it cannot be read.
inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Compares `actual` with a golden file under tests/data whose leading '#' lines explain it;
// with BRELIX_UPDATE_GOLDEN set, writes `actual` there under the same lines instead.
inline void expectGolden(const QString& name, const QString& actual)
{
    QFile file(QStringLiteral(BRELIX_TEST_DATA_DIR "/") + name);
    ASSERT_TRUE(!file.exists() || file.open(QIODevice::ReadOnly)) << name.toStdString();
    QString expected = QString::fromUtf8(file.readAll()), comments;
    while (expected.startsWith(u'#')) {
        const qsizetype end = expected.indexOf(u'\n') + 1;
        comments += expected.left(end);
        expected.remove(0, end);
    }
    file.close();
    if (qEnvironmentVariableIsSet("BRELIX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write((comments + actual).toUtf8());
        return;
    }
    EXPECT_EQ(actual, expected);
}

// The cell a line of a cell-text case file describes: what it holds, its number or text, its
// number style, then (after the null date) its formula; '-' keeps a field's default.
inline host::CellContent cellOfCase(const QStringList& f)
{
    using host::CellContent;
    using Style = CellContent::NumberStyle;
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

} // namespace brelix::support
