#include "core/host/HostError.h"

namespace brelix::host {

HostError::HostError(Kind kind, const QString& description)
    : std::runtime_error(description.toStdString()), m_kind(kind), m_description(description)
{
}

// Numbers in the range a user of the original automation errors would recognise.
int HostError::number() const
{
    switch (m_kind) {
    case Kind::NotFound:
        return 9; // subscript out of range
    case Kind::StartFailed:
        return 429; // cannot create the application object
    case Kind::Unavailable:
        return 462; // the server is no longer available
    case Kind::General:
    case Kind::OpenFailed:
    case Kind::SheetProtected:
    case Kind::WrongPassword:
    case Kind::NameRefused:
    case Kind::PrintFailed:
        break;
    }
    return 1004; // application-defined error
}

} // namespace brelix::host
