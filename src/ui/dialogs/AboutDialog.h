#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace brelix::ui {

// The About window: program name and version, author, contact and a link to the manual. Only
// "OK" or Enter closes it.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Shows the window modally until the user presses OK.
    static void showModal(QWidget* parent);

public Q_SLOTS:
    // Esc and the window manager's Close end up here; they leave the window open.
    void reject() override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);

    QLabel* m_text;
    QLabel* m_manualLink;
    QPushButton* m_okButton;
};

} // namespace brelix::ui
