#pragma once

#include <QString>
#include <stdexcept>

namespace brelix::run {

// A failure of a run outside the spreadsheet host (a file that cannot be copied), with a
// number and a description for the error report as the host's failures have.
class RunFailure : public std::runtime_error {
public:
    RunFailure(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number),
          m_description(description)
    {
    }
    int number() const { return m_number; }
    const QString& description() const { return m_description; }

    static constexpr int FileAccess = 75; // path or file access error

private:
    int m_number;
    QString m_description;
};

} // namespace brelix::run
