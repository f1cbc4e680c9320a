#pragma once

#include "Processes.h"
#include "SheetContent.h"
#include "TestData.h"
#include "host/libreoffice/OfficeOptions.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

namespace brelix::contract {

// What the tests that drive a real office share.

inline libreoffice::OfficeOptions headlessOffice()
{
    libreoffice::OfficeOptions options;
    options.display = libreoffice::OfficeOptions::Display::Headless;
    return options;
}

// A sheet of texts, row by row from A1; empty texts leave their cells empty.
inline support::SheetContent textSheet(const QString& name, const QList<QList<QString>>& rows)
{
    support::SheetContent sheet;
    sheet.name = name;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].isEmpty())
                sheet.setCell(r + 1, c + 1, host::CellContent::ofText(rows[r][c]));
    return sheet;
}

using support::bytesOf;

// The page count pdfinfo reads from a PDF file; -1 when it reads none.
inline int pdfPages(const QString& file)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    info.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

using support::processGroupAlive;

} // namespace brelix::contract
