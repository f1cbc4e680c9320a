#pragma once

#include "core/run/RunUi.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brelix::support {

// A RunUi that answers from a script and records what a run showed. Calls read like
// "showProgress(LibreOffice起動中)", "percent(50)", "barVisible(1)", "events",
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

    void showProgress(const QString& caption) override { record(u"showProgress", caption); }
    void setProgressCaption(const QString& caption) override { record(u"caption", caption); }
    void setProgressBarVisible(bool visible) override { record(u"barVisible", flag(visible)); }
    void setProgressPercent(int percent) override { record(u"percent", QString::number(percent)); }
    void setCancelEnabled(bool enabled) override { record(u"cancelEnabled", flag(enabled)); }
    void setProgressHidden(bool hidden) override { record(u"hidden", flag(hidden)); }
    void closeProgress() override { m_calls.append(QStringLiteral("closeProgress")); }
    void processEvents() override
    {
        m_calls.append(QStringLiteral("events"));
        if (++m_eventCount == m_cancelAtEvent)
            m_cancel = true;
    }
    void clearCancel() override
    {
        m_calls.append(QStringLiteral("clearCancel"));
        m_cancel = false;
    }
    bool cancelRequested() const override { return m_cancel; }
    std::optional<QString> askPassword(const QString& book, const QString& offered) override
    {
        record(u"password", book + u',' + offered);
        if (m_passwords.isEmpty())
            return std::nullopt;
        return m_passwords.takeFirst();
    }
    run::MessageAnswer showMessage(const run::RunMessage& message) override
    {
        static const QString icons[] = {QStringLiteral("None"), QStringLiteral("Critical"),
                                        QStringLiteral("Exclamation"),
                                        QStringLiteral("Information"), QStringLiteral("Question")};
        record(u"message",
               message.title + u'|' + message.text + u'|' + icons[static_cast<int>(message.icon)]);
        m_messages.append(message);
        return message.buttons == run::MessageButtons::YesNo ? m_answer : run::MessageAnswer::Ok;
    }
    void showErrorReport(const QString& text) override
    {
        m_calls.append(QStringLiteral("errorReport"));
        m_errorReports.append(text);
    }

private:
    static QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
    void record(QStringView operation, const QString& argument)
    {
        m_calls.append(operation.toString() + u'(' + argument + u')');
    }

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
