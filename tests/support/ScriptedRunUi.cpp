#include "ScriptedRunUi.h"

using namespace Qt::StringLiterals;

namespace brelix::support {

namespace {

QString flag(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

QString iconName(run::MessageIcon icon)
{
    static const QString names[] = {u"None"_s, u"Critical"_s, u"Exclamation"_s, u"Information"_s,
                                    u"Question"_s};
    return names[static_cast<int>(icon)];
}

} // namespace

void ScriptedRunUi::showProgress(const QString& caption)
{
    m_calls.append(u"showProgress("_s + caption + u')');
}

void ScriptedRunUi::setProgressCaption(const QString& caption)
{
    m_calls.append(u"caption("_s + caption + u')');
}

void ScriptedRunUi::setProgressBarVisible(bool visible)
{
    m_calls.append(u"barVisible("_s + flag(visible) + u')');
}

void ScriptedRunUi::setProgressPercent(int percent)
{
    m_calls.append(u"percent("_s + QString::number(percent) + u')');
}

void ScriptedRunUi::setCancelEnabled(bool enabled)
{
    m_calls.append(u"cancelEnabled("_s + flag(enabled) + u')');
}

void ScriptedRunUi::setProgressHidden(bool hidden)
{
    m_calls.append(u"hidden("_s + flag(hidden) + u')');
}

void ScriptedRunUi::closeProgress()
{
    m_calls.append(u"closeProgress"_s);
}

void ScriptedRunUi::processEvents()
{
    m_calls.append(u"events"_s);
    if (++m_eventCount == m_cancelAtEvent)
        m_cancel = true;
}

void ScriptedRunUi::clearCancel()
{
    m_calls.append(u"clearCancel"_s);
    m_cancel = false;
}

std::optional<QString> ScriptedRunUi::askPassword(const QString& book, const QString& offered)
{
    m_calls.append(u"password("_s + book + u',' + offered + u')');
    if (m_passwords.isEmpty())
        return std::nullopt;
    return m_passwords.takeFirst();
}

run::MessageAnswer ScriptedRunUi::showMessage(const run::RunMessage& message)
{
    m_calls.append(u"message("_s + message.title + u'|' + message.text + u'|' +
                   iconName(message.icon) + u')');
    m_messages.append(message);
    return message.buttons == run::MessageButtons::YesNo ? m_answer : run::MessageAnswer::Ok;
}

void ScriptedRunUi::showErrorReport(const QString& text)
{
    m_calls.append(u"errorReport"_s);
    m_errorReports.append(text);
}

} // namespace brelix::support
