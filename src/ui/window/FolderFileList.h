#pragma once

#include "core/files/FolderListing.h"
#include "core/settings/Settings.h"

#include <QWidget>
#include <array>

class QComboBox;
class QListWidget;
class QPushButton;

namespace brelix::ui {

// The files of one folder that the search and print screens work on: the folder history with
// its folder button, the file-type filter, and two sorted columns (names and times) under
// title buttons. The columns select and scroll together, as one list would.
class FolderFileList : public QWidget {
    Q_OBJECT
public:
    explicit FolderFileList(QWidget* parent);

    // The file type is chosen before the folder, so the first listing already uses it.
    void applySettings(const settings::Settings& settings);
    void writeSettings(settings::Settings& settings) const;

    // The folder the list shows; empty before one could be listed.
    QString folder() const { return m_listing.folder; }
    // The names in the order shown, and beside them whether each is selected.
    QStringList names() const;
    QList<bool> selection() const;

    // Puts the shown folder at the head of the history when a job starts. The folder is listed
    // already: listing it again would only drop the selection the job is about to use.
    void updateFolderHistory();

    // The controls in the order Tab visits them.
    QList<QWidget*> tabOrder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseFolder();
    void pressTitle(int column);
    // Lists `folder`; a folder that cannot be listed keeps the shown list.
    void showFolder(const QString& folder);
    void fillColumns();
    // Column `column` was pressed or released with the mouse: the other one follows it.
    void followSelection(int column);
    // Column `column` scrolled: the other one follows it.
    void followScroll(int column);

    QComboBox* m_folderHistory;
    QPushButton* m_folderButton;
    QComboBox* m_fileTypeFilter;
    std::array<QPushButton*, 2> m_titles{}; // over the name and the time column
    std::array<QListWidget*, 2> m_columns{};
    files::FolderListing m_listing; // what the columns were built from
    int m_sortOrder = files::SortByName;
};

} // namespace brelix::ui
