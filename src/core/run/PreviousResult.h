#pragma once

#include <QString>

namespace brelix::run {

// The results workbook of an earlier run, moved aside while a run makes its own: dropped once
// the new one is saved, put back when the run ends without saving it.
class PreviousResult {
public:
    PreviousResult() = default;
    // Moves the file at `path` aside, if there is one.
    explicit PreviousResult(const QString& path);

    void drop();
    // Call once the office has let go of the new file.
    void restore();

private:
    QString m_path;
    QString m_aside; // empty when nothing was set aside
};

} // namespace brelix::run
