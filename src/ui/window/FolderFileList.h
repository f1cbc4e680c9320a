#pragma once

#include "core/files/FolderListing.h"
#include "core/settings/Settings.h"

#include <QWidget>
#include <array>

class QComboBox;
class QGridLayout;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace brelix::ui {

// The files of one folder that the search and print screens work on: the folder history with
// its folder button, the file-type filter, and one sorted list of names and times under two
// title buttons. The screen puts its own controls above the list and beside it, under the
// filter, so that they share the list's two columns.
class FolderFileList : public QWidget {
    Q_OBJECT
public:
    explicit FolderFileList(QWidget* parent);

    // The screen's controls: `above` over the folder history, `beside` under the filter.
    void addScreenControls(QWidget* above, QWidget* beside);

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
    void buildList();
    void chooseFolder();
    void pressTitle(int column);
    // Lists `folder`; a folder that cannot be listed keeps the shown list.
    void showFolder(const QString& folder);
    void fillList();

    QGridLayout* m_grid;
    QComboBox* m_folderHistory;
    QPushButton* m_folderButton;
    QComboBox* m_fileTypeFilter;
    std::array<QPushButton*, 2> m_titles{}; // over the name and the time column
    QStandardItemModel* m_model;            // a row a file: its name and its time
    QTreeView* m_view;
    files::FolderListing m_listing; // what the list was built from
    int m_sortOrder = files::SortByName;
};

} // namespace brelix::ui
