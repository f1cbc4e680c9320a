#pragma once

#include "core/compare/DiffOutcome.h"
#include "core/compare/DiffRunState.h"
#include "core/compare/DiffSettings.h"
#include "core/compare/Stage.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/ResultsTurn.h"
#include "core/run/RunUi.h"

#include <memory>
#include <optional>

namespace brelix::compare {

// One comparison of two workbooks, from the press of the compare button to the office left
// to the user: it starts a private office, opens both workbooks and the change history,
// arranges their windows, compares the sheets of the range pair by pair and ends in one of its
// endings, each of which has told the user by the time run() returns.
class DiffRun {
public:
    // `password` is the sheet password typed last; it outlives the run, never the program.
    DiffRun(host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& password)
        : m_factory(factory), m_ui(ui), m_password(password)
    {
    }

    // The checks of the compare button and then the run; nothing starts when a check fails.
    // `programEnds` tells the caller that the program must end after the message.
    DiffOutcome start(const DiffSettings& settings, bool* programEnds = nullptr);

    // The run itself, as the button calls it after its checks.
    DiffOutcome run(const DiffSettings& settings);

private:
    const DiffInputs& inputs() const { return m_state->inputs; }
    DiffEnding work(run::ResultsTurn& turn);
    // The windows and the change history, made afresh from the template.
    void arrange();
    void arrangeNormal();
    void arrangeTiled(host::WindowArrangement arrangement, const TiledStages& stages);
    DiffEnding finish();
    DiffEnding abort(DiffEnding ending);
    DiffEnding fail(int number, const QString& description);
    void closeEverythingIgnoringFailure();
    void message(const QString& text, const QString& title, run::MessageIcon icon,
                 bool foreground = false);

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    QString& m_password;
    std::optional<DiffRunState> m_state; // made anew by each run
    std::unique_ptr<host::SpreadsheetHost> m_host;
};

} // namespace brelix::compare
