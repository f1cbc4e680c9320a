#pragma once

#include "core/host/HostError.h"
#include "core/run/PreviousResult.h"
#include "core/search/HitFile.h"
#include "core/search/HitRecord.h"
#include "core/search/SearchSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brelix::search {

// The cells one workbook may have searched, summed over its sheets' extents.
constexpr qint64 kWorkbookCellLimit = 16382;

// What a search carries from the first workbook to the results.
struct SearchRunState {
    SearchSettings settings;
    QString searchText; // trimmed; upper case when case is ignored
    int selectedCount = 0;
    int workbookNumber = 0; // of the workbook being searched, from 1
    int nextHitRow = 2;     // the results row of the next hit, whose number is one less
    // Cells of the current workbook's sheets visited so far.
    qint64 cellsOfWorkbook = 0;
    QString cutShortNote;      // set for each sheet of the current workbook within the limit
    QString lastSheetSearched; // the sheet it names
    QString currentFile;
    QList<HitRecord> hits;
    QStringList skippedFiles;
    // Each workbook the limit cut short: its name, then how far it was searched, if at all.
    QList<QStringList> tooLarge;
    run::PreviousResult previousResults; // back in place unless the new ones are saved
    bool officeDied = false;             // while the current workbook was read

    // A failure of the office, as opposed to one of the file, is noted for one more try.
    void noteFailure(const host::HostError& failure)
    {
        if (failure.kind() == host::HostError::Kind::Unavailable)
            officeDied = true;
    }

    bool overLimit() const { return !settings.noSizeLimit && cellsOfWorkbook > kWorkbookCellLimit; }
    bool cutShort() const { return !tooLarge.isEmpty(); }
    void cutShortHere()
    {
        tooLarge.append(cutShortNote.isEmpty()
                            ? QStringList{currentFile}
                            : QStringList{currentFile, cutShortNote, lastSheetSearched});
    }
    void skip(const QString& file)
    {
        if (!skippedFiles.contains(file))
            skippedFiles.append(file);
    }
};

} // namespace brelix::search
