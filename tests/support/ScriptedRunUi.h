#pragma once

#include "core/run/RunUi.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brelix::support {

// A RunUi that answers from a script and records what a run showed. Calls read like
// "showProgress(Excel起動中)", "percent(50)", "barVisible(1)", "events",
// "password(book.xls,offered)", "message(title|text|Exclamation)", in the order made.
class ScriptedRunUi : public run::RunUi {
public:
    // The n-th processEvents call (from 1) sets the cancel flag, as a press of cancel would.
    void cancelAtEvent(int n) { m_cancelAtEvent = n; }
    // Answers to askPassword, in turn; once they run out, the user cancels.
    void answerPasswords(const QStringList& passwords) { m_passwords = passwords; }
    // The answer to Yes/No messages (Yes unless set); Ok messages answer Ok.
    void setAnswer(run::MessageAnswer answer) { m_answer = answer; }

    const QStringList& calls() const { return m_calls; }
    const QList<run::RunMessage>& messages() const { return m_messages; }
    const QStringList& errorReports() const { return m_errorReports; }

    void showProgress(const QString& caption) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressBarVisible(bool visible) override;
    void setProgressPercent(int percent) override;
    void setCancelEnabled(bool enabled) override;
    void setProgressHidden(bool hidden) override;
    void closeProgress() override;
    void processEvents() override;
    void clearCancel() override;
    bool cancelRequested() const override { return m_cancel; }
    std::optional<QString> askPassword(const QString& book, const QString& offered) override;
    run::MessageAnswer showMessage(const run::RunMessage& message) override;
    void showErrorReport(const QString& text) override;

private:
    QStringList m_calls;
    QList<run::RunMessage> m_messages;
    QStringList m_errorReports;
    QStringList m_passwords;
    run::MessageAnswer m_answer = run::MessageAnswer::Yes;
    int m_cancelAtEvent = 0;
    int m_eventCount = 0;
    bool m_cancel = false;
};

} // namespace brelix::support
