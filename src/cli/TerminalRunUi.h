#pragma once

#include "core/run/RunUi.h"

#include <QTextStream>
#include <signal.h>

namespace brelix::cli {

// While it lives, Ctrl+C (SIGINT) asks the run to stop as the cancel button does, instead of
// ending the program. The first press only sets the flag; a second one goes to the handler in
// place before, which ends the program as usual. That handler is restored on destruction.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Was Ctrl+C pressed since the last reset?
    static bool pressed();
    static void reset();

private:
    struct sigaction m_previous {};
};

// The run's screen on a terminal: messages and the error report on `err`, the password from
// the command line, the progress window as one line redrawn in place (only when `err` is a
// terminal). The cancel flag is the InterruptWatch's.
class TerminalRunUi : public run::RunUi {
public:
    // `password` answers every prompt; without it every prompt is given up.
    TerminalRunUi(QTextStream& err, bool progressLine, std::optional<QString> password)
        : m_err(err), m_progressLine(progressLine), m_password(std::move(password))
    {
    }

    // Yes/No questions are asked on `in` ("y" or "yes" is Yes, anything else No); when the
    // answer is not echoed there (not a terminal), it is written after the question.
    void askQuestionsOn(QTextStream& in, bool echoed)
    {
        m_in = &in;
        m_echoed = echoed;
    }
    // Yes/No questions are answered Yes without asking.
    void answerQuestionsYes() { m_answerYes = true; }

    void showProgress(const QString& caption) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressBarVisible(bool visible) override;
    void setProgressPercent(int percent) override;
    void setCancelEnabled(bool) override {}
    void setProgressHidden(bool hidden) override;
    void closeProgress() override;

    void processEvents() override {}
    void clearCancel() override { InterruptWatch::reset(); }
    bool cancelRequested() const override { return InterruptWatch::pressed(); }

    std::optional<QString> askPassword(const QString& book, const QString& offered) override;
    // Written as "title: text"; a question nobody can be asked is answered No.
    run::MessageAnswer showMessage(const run::RunMessage& message) override;
    void showErrorReport(const QString& text) override;

private:
    run::MessageAnswer ask();
    QString progressText() const;
    void drawProgress();
    void eraseProgress();

    QTextStream& m_err;
    const bool m_progressLine;
    const std::optional<QString> m_password;
    QTextStream* m_in = nullptr;
    bool m_echoed = true;
    bool m_answerYes = false;
    QString m_caption;
    int m_percent = 0;
    bool m_open = false;
    bool m_hidden = false;
    bool m_barVisible = false;
    QString m_drawn; // the line on the terminal now; empty when none
};

} // namespace brelix::cli
