#include "ui/window/FolderFileList.h"

#include "core/files/FolderFileList.h"
#include "ui/widgets/ComboHistory.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WrappingPushButton.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

namespace brelix::ui {

namespace {

files::ListColumnView columnView(const QListWidget* column)
{
    files::ListColumnView view;
    view.topRow = column->verticalScrollBar()->value();
    for (int i = 0; i < column->count(); ++i)
        view.selected.append(column->item(i)->isSelected());
    return view;
}

void showColumnView(QListWidget* column, const files::ListColumnView& view)
{
    column->verticalScrollBar()->setValue(view.topRow);
    for (int i = 0; i < column->count() && i < view.selected.size(); ++i)
        column->item(i)->setSelected(view.selected[i]);
}

} // namespace

// The geometry is the screen's less this widget's corner, 120 and 300 twips in.
FolderFileList::FolderFileList(QWidget* parent) : QWidget(parent)
{
    m_folderHistory = placeInTwips(new QComboBox(this), 0, 0, 4695, 300);
    m_folderHistory->setObjectName(QStringLiteral("folderHistory"));
    m_folderHistory->setEditable(true);
    // The history is kept by History::pushFront, not by the combo's own insertion.
    m_folderHistory->setInsertPolicy(QComboBox::NoInsert);
    m_folderButton = placeInTwips(new WrappingPushButton(QStringLiteral("ディレクトリ選択"), this),
                                  4800, 60, 1095, 495);
    m_folderButton->setObjectName(QStringLiteral("folderButton"));
    m_fileTypeFilter = placeInTwips(new QComboBox(this), 4800, 660, 1095, 300);
    m_fileTypeFilter->setObjectName(QStringLiteral("fileTypeFilter"));
    m_fileTypeFilter->addItems(files::fileTypePatterns());
    m_fileTypeFilter->setCurrentIndex(-1);
    m_titles[0] =
        placeInTwips(new QPushButton(QStringLiteral("名　　前"), this), 30, 335, 2970, 255);
    m_titles[1] =
        placeInTwips(new QPushButton(QStringLiteral("更新日時"), this), 3015, 335, 1650, 255);
    m_titles[0]->setObjectName(QStringLiteral("nameTitle"));
    m_titles[1]->setObjectName(QStringLiteral("timeTitle"));
    // Made after the titles: the columns' top edge lies over the titles' bottom.
    m_columns[0] = placeInTwips(new QListWidget(this), 0, 550, 3000, 2040);
    m_columns[1] = placeInTwips(new QListWidget(this), 3000, 550, 1680, 2040);
    m_columns[0]->setObjectName(QStringLiteral("nameColumn"));
    m_columns[1]->setObjectName(QStringLiteral("timeColumn"));
    for (int i = 0; i < 2; ++i) {
        QListWidget* column = m_columns[static_cast<size_t>(i)];
        column->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // The top row is the scroll bar's value only when it scrolls by rows.
        column->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        column->viewport()->installEventFilter(this);
        connect(m_titles[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { pressTitle(i); });
        connect(column->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this, i] { followScroll(i); });
    }
    connect(m_folderHistory, &QComboBox::currentTextChanged, this, &FolderFileList::showFolder);
    connect(m_fileTypeFilter, &QComboBox::currentIndexChanged, this,
            [this] { showFolder(m_listing.folder); });
    connect(m_folderButton, &QPushButton::clicked, this, &FolderFileList::chooseFolder);
}

void FolderFileList::applySettings(const settings::Settings& settings)
{
    m_sortOrder = settings.fileSortOrder;
    m_fileTypeFilter->setCurrentIndex(settings.fileTypeFilter);
    m_folderHistory->clear();
    m_folderHistory->addItems(settings.folderHistory);
    m_folderHistory->setCurrentIndex(0);
    showFolder(m_folderHistory->currentText());
}

void FolderFileList::writeSettings(settings::Settings& settings) const
{
    settings.fileSortOrder = m_sortOrder;
    settings.fileTypeFilter = m_fileTypeFilter->currentIndex();
    settings.folderHistory = comboItems(m_folderHistory);
}

QStringList FolderFileList::names() const
{
    QStringList names;
    for (int i = 0; i < m_columns[0]->count(); ++i)
        names.append(m_columns[0]->item(i)->text());
    return names;
}

QList<bool> FolderFileList::selection() const
{
    return columnView(m_columns[0]).selected;
}

void FolderFileList::updateFolderHistory()
{
    const QSignalBlocker keepList(m_folderHistory);
    pushCurrentTextToHistory(m_folderHistory);
}

QList<QWidget*> FolderFileList::tabOrder() const
{
    return {m_folderHistory, m_folderButton, m_fileTypeFilter, m_titles[0],
            m_titles[1],     m_columns[0],   m_columns[1]};
}

void FolderFileList::chooseFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("ﾌｫﾙﾀﾞを指定して下さい。"), m_listing.folder);
    if (chosen.isEmpty())
        return;
    showFolder(chosen);
    m_folderHistory->setEditText(chosen);
    pushCurrentTextToHistory(m_folderHistory);
}

void FolderFileList::pressTitle(int column)
{
    m_sortOrder = files::sortAfterTitlePress(static_cast<qint16>(m_sortOrder), column);
    fillColumns();
    m_columns[0]->setFocus();
}

void FolderFileList::showFolder(const QString& folder)
{
    if (const std::optional<files::FolderListing> listing =
            files::FolderListing::read(folder, m_fileTypeFilter->currentText())) {
        m_listing = *listing;
        fillColumns();
    }
}

void FolderFileList::fillColumns()
{
    const files::FileListColumns columns =
        files::buildFileList(m_listing.entries(), static_cast<qint16>(m_sortOrder));
    for (QListWidget* column : m_columns)
        column->clear();
    m_columns[0]->addItems(columns.names);
    m_columns[1]->addItems(columns.times);
}

void FolderFileList::followSelection(int column)
{
    files::ListColumnView names = columnView(m_columns[0]);
    files::ListColumnView times = columnView(m_columns[1]);
    files::syncListSelection(column, names, times);
    showColumnView(m_columns[static_cast<size_t>(1 - column)], column == 0 ? times : names);
}

void FolderFileList::followScroll(int column)
{
    files::ListColumnView names = columnView(m_columns[0]);
    files::ListColumnView times = columnView(m_columns[1]);
    files::mirrorTopRow(column, names, times);
    m_columns[static_cast<size_t>(1 - column)]->verticalScrollBar()->setValue(
        (column == 0 ? times : names).topRow);
}

bool FolderFileList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < 2; ++i)
            if (watched == m_columns[static_cast<size_t>(i)]->viewport())
                // After the column has taken the press or release.
                QMetaObject::invokeMethod(
                    this, [this, i] { followSelection(i); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

} // namespace brelix::ui
