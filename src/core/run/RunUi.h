#pragma once

#include <QString>
#include <optional>

namespace brelix::run {

// Message texts break their lines with CR LF.
inline const QString kCrLf = QStringLiteral("\r\n");

enum class MessageIcon { None, Critical, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A message box: text, title, icon, buttons; `foreground` brings it in front of every window.
struct RunMessage {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    bool foreground = false;

    friend bool operator==(const RunMessage&, const RunMessage&) = default;
};

// Everything a run (comparison, search, print) asks of the screen. The GUI answers with its
// windows, the command line with the terminal, the tests with a script. No run touches a
// widget.
class RunUi {
public:
    virtual ~RunUi() = default;

    // The progress window: shown without waiting, with its caption; bar hidden, cancel off.
    virtual void showProgress(const QString& caption) = 0;
    virtual void setProgressCaption(const QString& caption) = 0;
    virtual void setProgressBarVisible(bool visible) = 0;
    virtual void setProgressPercent(int percent) = 0;
    virtual void setCancelEnabled(bool enabled) = 0;
    // Hidden while a prompt is open, shown again afterwards.
    virtual void setProgressHidden(bool hidden) = 0;
    virtual void closeProgress() = 0;

    // Lets pending events run (repaints, a press of cancel).
    virtual void processEvents() = 0;
    // The cancel flag: cleared by a run at its start, set by the progress window's button.
    virtual void clearCancel() = 0;
    virtual bool cancelRequested() const = 0;

    // The password of a protected sheet of `book`; `offered` is the password typed last.
    // Nothing when the user cancels.
    virtual std::optional<QString> askPassword(const QString& book, const QString& offered) = 0;
    virtual MessageAnswer showMessage(const RunMessage& message) = 0;
    // The report of an unexpected failure, shown until the user closes it.
    virtual void showErrorReport(const QString& text) = 0;
};

} // namespace brelix::run
