#include "ui/run/GuiRunUi.h"

#include "ui/dialogs/ErrorReportDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/run/ProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>

namespace brelix::ui {

using run::MessageAnswer;
using run::MessageIcon;

GuiRunUi::GuiRunUi(QWidget* mainWindow, bool alwaysOnTop)
    : m_mainWindow(mainWindow), m_alwaysOnTop(alwaysOnTop)
{
}

GuiRunUi::~GuiRunUi()
{
    closeProgress();
}

void GuiRunUi::showProgress(const QString& caption)
{
    closeProgress();
    m_progress = new ProgressWindow(m_mainWindow, m_alwaysOnTop);
    m_progress->setStatus(caption);
    m_progress->show();
    // The run blocks this thread next (the office starts): let the window appear first.
    QElapsedTimer waited;
    waited.start();
    while (m_progress && !(m_progress->windowHandle() && m_progress->windowHandle()->isExposed()) &&
           waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (m_progress) {
        m_progress->repaint();
        QGuiApplication::sync(); // the painted window reaches the screen before the wait
    }
}

void GuiRunUi::setProgressCaption(const QString& caption)
{
    if (m_progress)
        m_progress->setStatus(caption);
}

void GuiRunUi::setProgressBarVisible(bool visible)
{
    if (m_progress)
        m_progress->setBarVisible(visible);
}

void GuiRunUi::setProgressPercent(int percent)
{
    if (m_progress)
        m_progress->setPercent(percent);
}

void GuiRunUi::setCancelEnabled(bool enabled)
{
    if (m_progress)
        m_progress->setCancelEnabled(enabled);
}

void GuiRunUi::setProgressHidden(bool hidden)
{
    if (m_progress)
        m_progress->setVisible(!hidden);
}

void GuiRunUi::closeProgress()
{
    if (m_progress) {
        m_cancel = m_cancel || m_progress->cancelled();
        delete m_progress;
    }
}

void GuiRunUi::processEvents()
{
    QCoreApplication::processEvents();
    if (m_progress && m_progress->cancelled())
        m_cancel = true;
}

void GuiRunUi::clearCancel()
{
    m_cancel = false;
    if (m_progress)
        m_progress->clearCancel();
}

bool GuiRunUi::cancelRequested() const
{
    return m_cancel || (m_progress && m_progress->cancelled());
}

std::optional<QString> GuiRunUi::askPassword(const QString& book, const QString& offered)
{
    return PasswordDialog::ask(m_mainWindow, book, offered);
}

MessageAnswer GuiRunUi::showMessage(const run::RunMessage& message)
{
    QMessageBox box(m_mainWindow);
    box.setWindowTitle(message.title);
    box.setText(QString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (message.icon) {
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        break;
    }
    if (message.buttons == run::MessageButtons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    if (message.foreground)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const int answer = box.exec();
    if (message.buttons == run::MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

void GuiRunUi::showErrorReport(const QString& text)
{
    ErrorReportDialog::show(m_mainWindow, text);
}

} // namespace brelix::ui
