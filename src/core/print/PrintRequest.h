#pragma once

#include "core/print/PrintScope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace brelix::print {

// One entry of the file list a batch print takes: the name the list shows, the file it
// stands for, and whether it is selected.
struct PrintEntry {
    QString name;
    QString path;
    bool selected = false;

    friend bool operator==(const PrintEntry&, const PrintEntry&) = default;
};

// The entries of the print screen's list: each name stands for the file of that name in
// `folder`, its path made as the file list makes it (a doubled separator collapsed).
// `selected` runs beside `names`; a missing flag counts as not selected.
QList<PrintEntry> listedEntries(const QString& folder, const QStringList& names,
                                const QList<bool>& selected);

// What the print button hands to a batch print, and what the run asks back of the screen.
struct PrintRequest {
    QList<PrintEntry> entries;       // every entry of the list, in its order
    std::optional<PrintScope> scope; // nothing when no option is chosen
    // Puts the current folder at the head of the folder history. Called once the list holds
    // entries, before the selection and the question: a declined run has moved it too.
    std::function<void()> updateFolderHistory;
    // Disables the main window while the office works; enables it before the last message.
    std::function<void(bool enabled)> setMainWindowEnabled;
};

} // namespace brelix::print
