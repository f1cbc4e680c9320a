#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <optional>

namespace brelix::ui {

// Picks the palette index with which the comparison paints the background of differing cells.
class CellColourDialog : public QDialog {
    Q_OBJECT
public:
    CellColourDialog(QWidget* parent, int diffColor);

    // Shows the dialog modally: the chosen index on "設定", nothing on "取消" or Close.
    static std::optional<int> ask(QWidget* parent, int diffColor);

    // The index given at the start, or the one chosen by "設定".
    int diffColor() const { return m_diffColor; }

    QGroupBox* Frame1;
    std::map<int, QRadioButton*> optColor; // keyed by the palette index each swatch stands for
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdNg = nullptr;

    void cmdOk_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_diffColor;
};

} // namespace brelix::ui
