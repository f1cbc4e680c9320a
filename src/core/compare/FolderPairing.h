#pragma once

#include "core/run/RunUi.h"

#include <QList>
#include <QString>
#include <optional>

namespace brelix::compare {

// One file of a folder comparison: a workbook path relative to both folders ("a/b.xls"), and
// which of them holds it. A folder that could not be read stands for every file below it: it
// carries a problem and is not compared.
struct FolderFile {
    QString path;
    bool inFirst = false;
    bool inSecond = false;
    QString problem{};
    friend bool operator==(const FolderFile&, const FolderFile&) = default;
};

// Which workbooks of two folders are compared with which: those under both folders at any
// depth, paired by their path relative to their folder.
class FolderPairing {
public:
    enum class Refusal {
        Missing,       // a path names nothing
        FolderAndFile, // one path is a folder, the other a file
        Nested,        // the same folder, or one inside the other (links and ".." resolved)
    };

    // Is this a folder comparison: is either path a folder?
    static bool isFolderComparison(const QString& first, const QString& second);
    // Why two paths of which one is a folder cannot be compared; nothing when both are folders
    // apart from each other.
    static std::optional<Refusal> refusal(const QString& first, const QString& second);
    static run::RunMessage refusalMessage(Refusal refusal);

    // The .xls, .xlsx, .ods and .csv files under both folders, ordered by relative path. Hidden
    // files and folders are left out, and linked folders are not entered, so that a link
    // loop ends; a folder that cannot be read gives one entry with a problem instead of files.
    static QList<FolderFile> files(const QString& firstFolder, const QString& secondFolder);
};

} // namespace brelix::compare
