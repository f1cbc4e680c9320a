#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace brelix::ui {

// The About window: program name and version, author, contact and a link to the home page.
// Only "OK" or Enter closes it.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Shows the window modally until the user presses OK.
    static void showModal(QWidget* parent);

    // The text of lblTitle, lines ending with CR LF; the minor version has two digits.
    static QString titleText(int major, int minor, const QString& author, const QString& contact,
                             const QString& notice);

    // The home page: the help document beside the program.
    static QUrl homePage();

    QLabel* lblTitle;
    QLabel* lblHttp;
    QPushButton* cmdEnd;

    void lblHttp_Click();

public Q_SLOTS:
    // Esc and the window manager's Close end up here; they leave the window open.
    void reject() override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);
};

} // namespace brelix::ui
