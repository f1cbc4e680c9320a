#pragma once

#include "core/compare/DiffSettings.h"
#include "core/settings/Settings.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace brelix::ui {

// The screen of the compare mode: the two workbooks (typed, chosen or dropped), whether to
// colour the differences, the range of sheets and how to lay out the office's windows.
class CompareScreen : public QWidget {
    Q_OBJECT
public:
    explicit CompareScreen(QWidget* parent);

    void setFiles(const QString& first, const QString& second);

    void applySettings(const settings::Settings& settings);
    void writeSettings(settings::Settings& settings) const;

    // The comparison as this screen's controls set it; the window adds what the menus hold.
    compare::DiffSettings diffSettings() const;

Q_SIGNALS:
    void compareRequested();
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The two file boxes with their browse buttons, and the drop hint.
    QGroupBox* buildFileGroup();
    // Colouring, the sheet range and the window layout.
    QGroupBox* buildOptionGroup();
    // How to lay out the office's windows.
    QGroupBox* buildLayoutGroup();
    void chooseFile(int box);
    // A drop of files onto a file box: the last name that resolves wins.
    void takeDroppedFiles(int box, const QMimeData* dropped);

    std::array<QLineEdit*, 2> m_fileBoxes{};
    std::array<QPushButton*, 2> m_browseButtons{};
    QCheckBox* m_colourDifferences;
    std::array<QLineEdit*, 2> m_sheetRange{}; // the first and the last sheet
    std::array<QRadioButton*, 3> m_windowLayout{};
};

} // namespace brelix::ui
