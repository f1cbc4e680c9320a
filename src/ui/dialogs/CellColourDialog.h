#pragma once

#include <QDialog>
#include <map>
#include <optional>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace brelix::ui {

// Picks the palette index with which the comparison paints the background of differing cells.
class CellColourDialog : public QDialog {
    Q_OBJECT
public:
    CellColourDialog(QWidget* parent, int colourIndex);

    // Shows the dialog modally: the chosen index on "設定", nothing on "取消" or Close.
    static std::optional<int> ask(QWidget* parent, int colourIndex);

    // The index given at the start, or the one chosen by "設定".
    int colourIndex() const { return m_colourIndex; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The six swatches, one radio button each, in their frame.
    QGroupBox* buildSwatchGroup();
    void acceptChoice();

    std::map<int, QRadioButton*> m_swatches; // keyed by the palette index each one stands for
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    int m_colourIndex;
};

} // namespace brelix::ui
