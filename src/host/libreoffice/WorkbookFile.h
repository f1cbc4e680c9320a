#pragma once

#include <QString>
#include <optional>

namespace brelix::libreoffice {

// How the office is to load a workbook file: with the one filter its name calls for, after its
// bytes were found to be of that kind, and how many worksheets the file itself declares, so
// that sheets the office drops do not go unnoticed.
class WorkbookFile {
public:
    // Reads the file; HostError OpenFailed, saying why, when it is not a workbook of the kind
    // its name calls for or holds what the office would cut.
    static WorkbookFile inspect(const QString& path);

    QString filterName;
    QString filterOptions;
    std::optional<int> declaredSheets; // nothing where the file does not tell
};

} // namespace brelix::libreoffice
