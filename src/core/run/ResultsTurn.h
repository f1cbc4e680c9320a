#pragma once

#include <QString>
#include <chrono>

namespace brelix::run {

class RunUi;

// Runs that leave their results in one folder take turns: a second run would set aside, copy
// the template over or save the workbook the first is still loading or writing. A turn is a
// lock on the folder, held while the object lives; the system drops it when the process ends.
class ResultsTurn {
public:
    explicit ResultsTurn(const QString& resultsPath);
    ~ResultsTurn();
    ResultsTurn(const ResultsTurn&) = delete;
    ResultsTurn& operator=(const ResultsTurn&) = delete;

    // Waits while another run holds the folder, with the run's cancel on and its window
    // answering: false when the user cancels first. A folder that cannot be read or locked is
    // not waited for.
    bool take(RunUi& ui);

private:
    static constexpr std::chrono::milliseconds kLookEvery{20};
    int m_folder = -1;
};

} // namespace brelix::run
