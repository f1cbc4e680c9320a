#pragma once

#include <QString>
#include <stdexcept>

namespace brelix::host {

// The one failure type of every host operation. The number and the description fill the error
// report; the kind lets callers tell the failures they act on from the rest.
class HostError : public std::runtime_error {
public:
    enum class Kind {
        General,        // the host refused or failed an operation
        NotFound,       // no such workbook, sheet or name
        OpenFailed,     // a file that is missing, unreadable or not a workbook
        SheetProtected, // the extent of a protected sheet cannot be read
        WrongPassword,  // unprotect with a wrong password
        NameRefused,    // a sheet name the host does not accept
        PrintFailed,    // a print job that did not reach its printer or file
        StartFailed,    // no instance could be started
        Unavailable,    // the instance died or stopped answering
    };

    HostError(Kind kind, const QString& description);

    Kind kind() const { return m_kind; }
    int number() const;
    const QString& description() const { return m_description; }

private:
    Kind m_kind;
    QString m_description;
};

} // namespace brelix::host
