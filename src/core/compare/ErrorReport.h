#pragma once

#include "core/Version.h"

#include <QString>

namespace brelix::compare {

// What the report of an unexpected failure tells: the run's state when it struck.
struct ErrorReportState {
    int majorVersion = VersionMajor;
    int minorVersion = VersionMinor;
    int stage = 0; // where the run stood (see Stage)
    int errorNumber = 0;
    QString errorDescription;
    qint64 workDone = 0; // of the work budget
    int lastSheet = 0;   // of the range, once known
    int maxRows = 0;
    int maxColumns = 0;
    int currentSheet = 0;
    int currentRow = 0;
    int currentColumn = 0;
    QString firstName;
    QString secondName;
    QString outputName;
    QString firstPath;
    QString secondPath;
    QString outputPath;
};

// Where the report asks its reader to send it: the help document shipped beside the program.
QString reportContact();

// The report text: its lines joined by CR LF, ending with CR LF.
QString errorReportText(const ErrorReportState& state);

} // namespace brelix::compare
