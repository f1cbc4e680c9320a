#include "core/host/HostError.h"

namespace brelix::host {

HostError::HostError(Kind kind, const QString& description)
    : std::runtime_error(description.toStdString()), m_kind(kind), m_description(description)
{
}

// The number the error report shows beside the description: one for each failure a user
// acts on in its own way, 1004 for every other refusal.
int HostError::number() const
{
    switch (m_kind) {
    case Kind::NotFound:
        return 9; // no such workbook, sheet or name
    case Kind::StartFailed:
        return 429; // no instance could be started
    case Kind::Unavailable:
        return 462; // the instance went away
    case Kind::General:
    case Kind::OpenFailed:
    case Kind::SheetProtected:
    case Kind::WrongPassword:
    case Kind::NameRefused:
    case Kind::PrintFailed:
        break;
    }
    return 1004; // the instance refused or failed the operation
}

} // namespace brelix::host
