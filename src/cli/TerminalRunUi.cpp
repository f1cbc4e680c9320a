#include "cli/TerminalRunUi.h"

#include <QCoreApplication>
#include <atomic>
#include <csignal>

using namespace Qt::StringLiterals;

namespace brelix::cli {

namespace {

// Set from the signal handler: it must be lock-free to be safe there.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// The handler in place before the watch: a second press goes to it, to end the program the
// way it would have ended (which first stops our offices).
struct sigaction g_previousInterrupt {};

void onInterrupt(int)
{
    if (g_interrupted.exchange(true)) {
        sigaction(SIGINT, &g_previousInterrupt, nullptr);
        ::raise(SIGINT); // delivered once this handler returns
    }
}

// A caption beyond this would wrap on a narrow terminal, and "\r" only goes back to the start
// of the last row.
constexpr qsizetype MaxCaption = 30;

const QString EraseToEnd = u"\x1b[K"_s;

QString terminalLines(const QString& text)
{
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    return lines;
}

} // namespace

InterruptWatch::InterruptWatch()
{
    g_interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, nullptr, &m_previous);
    g_previousInterrupt = m_previous;
    sigaction(SIGINT, &action, nullptr);
}

InterruptWatch::~InterruptWatch()
{
    sigaction(SIGINT, &m_previous, nullptr);
}

bool InterruptWatch::pressed()
{
    return g_interrupted.load();
}

void InterruptWatch::reset()
{
    g_interrupted.store(false);
}

void TerminalRunUi::showProgress(const QString& caption)
{
    m_open = true;
    m_hidden = false;
    m_barVisible = false;
    m_percent = 0;
    m_caption = caption;
    drawProgress();
}

void TerminalRunUi::setProgressCaption(const QString& caption)
{
    m_caption = caption;
    drawProgress();
}

void TerminalRunUi::setProgressBarVisible(bool visible)
{
    m_barVisible = visible;
    drawProgress();
}

void TerminalRunUi::setProgressPercent(int percent)
{
    m_percent = percent;
    drawProgress();
}

void TerminalRunUi::setProgressHidden(bool hidden)
{
    m_hidden = hidden;
    drawProgress();
}

void TerminalRunUi::closeProgress()
{
    m_open = false;
    drawProgress();
}

QString TerminalRunUi::progressText() const
{
    if (!m_open || m_hidden)
        return QString();
    QString text =
        m_caption.size() > MaxCaption ? m_caption.left(MaxCaption - 1) + u'…' : m_caption;
    if (m_barVisible)
        text += u"  %1%"_s.arg(m_percent, 3);
    return text;
}

// Redrawn only when the text changes: percents come far more often than they move.
void TerminalRunUi::drawProgress()
{
    if (!m_progressLine)
        return;
    const QString text = progressText();
    if (text == m_drawn)
        return;
    m_err << u'\r' << text << EraseToEnd;
    m_err.flush();
    m_drawn = text;
}

void TerminalRunUi::eraseProgress()
{
    if (m_drawn.isEmpty())
        return;
    m_err << u'\r' << EraseToEnd;
    m_drawn.clear();
}

std::optional<QString> TerminalRunUi::askPassword(const QString& book, const QString&)
{
    if (!m_password) {
        eraseProgress();
        m_err
            << QCoreApplication::translate(
                   "TerminalRunUi",
                   "brelix-cli: %1 has a protected sheet; its password is given with --password\n")
                   .arg(book);
        m_err.flush();
        drawProgress();
    }
    return m_password;
}

run::MessageAnswer TerminalRunUi::showMessage(const run::RunMessage& message)
{
    const bool question = message.buttons == run::MessageButtons::YesNo;
    if (question && m_answerYes)
        return run::MessageAnswer::Yes;
    eraseProgress();
    m_err << message.title << u": "_s << terminalLines(message.text);
    const run::MessageAnswer answer = !question ? run::MessageAnswer::Ok
                                      : m_in    ? ask()
                                                : run::MessageAnswer::No;
    if (!question || !m_in)
        m_err << u'\n';
    m_err.flush();
    drawProgress();
    return answer;
}

run::MessageAnswer TerminalRunUi::ask()
{
    m_err << u" [y/N] "_s;
    m_err.flush();
    const QString typed = m_in->readLine();
    if (!m_echoed)
        m_err << typed << u'\n';
    const QString word = typed.trimmed().toLower();
    return word == u"y"_s || word == u"yes"_s ? run::MessageAnswer::Yes : run::MessageAnswer::No;
}

void TerminalRunUi::showErrorReport(const QString& text)
{
    eraseProgress();
    const QString lines = terminalLines(text);
    m_err << lines;
    if (!lines.endsWith(u'\n'))
        m_err << u'\n';
    m_err.flush();
    drawProgress();
}

} // namespace brelix::cli
