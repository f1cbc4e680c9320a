#pragma once

#include "core/Version.h"

#include <QString>

namespace brelix::compare {

// What the report of an unexpected failure tells: the run's state when it struck.
struct ErrorReportState {
    // A sheet and a number of rows and columns.
    struct Place {
        int sheet = 0;
        int rows = 0;
        int columns = 0;
    };

    int majorVersion = VersionMajor;
    int minorVersion = VersionMinor;
    int stage = 0; // where the run stood (see Stage)
    int errorNumber = 0;
    QString errorDescription;
    qint64 workDone = 0; // of the work budget
    Place largest;       // the last sheet of the range once known; the sheet pair's extent
    Place current;       // where the run stood
    QString names[3];    // the two workbooks and the change history
    QString paths[3];
    QString environment; // the system and the office it ran on
};

// Where the report asks its reader to send it: the help document shipped beside the program.
QString reportContact();

// The report text: its lines joined by CR LF, ending with CR LF.
QString errorReportText(const ErrorReportState& state);

} // namespace brelix::compare
