#pragma once

#include "core/print/PrintRequest.h"
#include "core/search/SearchSettings.h"
#include "core/settings/Settings.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;

namespace brelix::ui {

class FolderFileList;

// The screen of the search and print modes: the folder's file list, and either the search text
// with its case option or the print scopes, each with its start button.
class SearchPrintScreen : public QWidget {
    Q_OBJECT
public:
    explicit SearchPrintScreen(QWidget* parent);

    void showSearchControls();
    void showPrintControls();
    void focusSearchText();

    void applySettings(const settings::Settings& settings, bool recovered);
    void writeSettings(settings::Settings& settings) const;

    // The search text, its case option and the selected files; the window adds the rest.
    search::SearchSettings searchSettings() const;
    // Puts the search text and the folder at the heads of their histories as a search starts.
    void updateSearchHistories();
    // The listed files with their selection and the chosen scope.
    print::PrintRequest printRequest() const;
    void updateFolderHistory();

Q_SIGNALS:
    void searchRequested();
    void printRequested();
    void quitRequested();

private:
    // Each puts its controls above the list and beside it; the start button goes to the foot.
    void buildSearchControls(QHBoxLayout* above, QVBoxLayout* beside);
    void buildPrintControls(QHBoxLayout* above, QVBoxLayout* beside);
    void showControls(bool search);

    FolderFileList* m_fileList;
    QLabel* m_searchTextLabel;
    QComboBox* m_searchHistory;
    QCheckBox* m_caseSensitive;
    QLabel* m_searchNote;
    QPushButton* m_searchButton;
    QLabel* m_printHint;
    std::array<QRadioButton*, 4> m_printScope{}; // in the order of print::printScopeOf
    QPushButton* m_printButton;
};

} // namespace brelix::ui
