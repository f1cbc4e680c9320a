#include "ui/window/FolderFileList.h"

#include "core/files/FolderFileList.h"
#include "ui/widgets/ComboHistory.h"
#include "ui/widgets/WrappingPushButton.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>

namespace brelix::ui {

FolderFileList::FolderFileList(QWidget* parent)
    : QWidget(parent), m_grid(new QGridLayout(this)), m_folderHistory(new QComboBox(this)),
      m_folderButton(new WrappingPushButton(
          QCoreApplication::translate("FolderFileList", "ディレクトリ選択"), this)),
      m_fileTypeFilter(new QComboBox(this)), m_model(new QStandardItemModel(0, 2, this)),
      m_view(new QTreeView(this))
{
    m_folderHistory->setObjectName(QStringLiteral("folderHistory"));
    m_folderHistory->setEditable(true);
    // The history is kept by History::pushFront, not by the combo's own insertion.
    m_folderHistory->setInsertPolicy(QComboBox::NoInsert);
    // Long paths must not widen the window.
    m_folderHistory->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_folderHistory->setMinimumContentsLength(1);
    m_folderButton->setObjectName(QStringLiteral("folderButton"));
    m_fileTypeFilter->setObjectName(QStringLiteral("fileTypeFilter"));
    m_fileTypeFilter->addItems(files::fileTypePatterns());
    m_fileTypeFilter->setCurrentIndex(-1);
    buildList();

    m_grid->setContentsMargins({});
    m_grid->addWidget(m_folderHistory, 1, 0);
    m_grid->addWidget(m_folderButton, 1, 1, 2, 1, Qt::AlignTop);
    auto* titles = new QHBoxLayout;
    titles->setSpacing(0);
    titles->addWidget(m_titles[0], 1);
    titles->addWidget(m_titles[1]);
    m_grid->addLayout(titles, 2, 0);
    m_grid->addWidget(m_view, 3, 0, 2, 1);
    m_grid->addWidget(m_fileTypeFilter, 3, 1);
    m_grid->setVerticalSpacing(2);
    m_grid->setColumnStretch(0, 1);
    m_grid->setRowStretch(4, 1);

    connect(m_folderHistory, &QComboBox::currentTextChanged, this, &FolderFileList::showFolder);
    connect(m_fileTypeFilter, &QComboBox::currentIndexChanged, this,
            [this] { showFolder(m_listing.folder); });
    connect(m_folderButton, &QPushButton::clicked, this, &FolderFileList::chooseFolder);
}

void FolderFileList::buildList()
{
    m_titles[0] = new QPushButton(QCoreApplication::translate("FolderFileList", "名　　前"), this);
    m_titles[1] = new QPushButton(QCoreApplication::translate("FolderFileList", "更新日時"), this);
    m_titles[0]->setObjectName(QStringLiteral("nameTitle"));
    m_titles[1]->setObjectName(QStringLiteral("timeTitle"));
    for (int i = 0; i < 2; ++i) {
        QPushButton* title = m_titles[static_cast<size_t>(i)];
        title->setMinimumWidth(title->fontMetrics().horizontalAdvance(title->text()) + 8);
        title->setFixedHeight(title->fontMetrics().height() + 6);
        connect(title, &QPushButton::clicked, this, [this, i] { pressTitle(i); });
    }
    // The time column holds a time and the list's scroll bar.
    m_titles[1]->setFixedWidth(
        m_titles[1]->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00")) + 12 +
        style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    // The name column follows its title's width.
    m_titles[0]->installEventFilter(this);

    m_view->setObjectName(QStringLiteral("fileView"));
    m_view->setModel(m_model);
    m_view->setHeaderHidden(true);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->header()->setStretchLastSection(true);
    m_view->setMinimumHeight(m_view->fontMetrics().height() * 4);
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

void FolderFileList::addScreenControls(QWidget* above, QWidget* beside)
{
    m_grid->addWidget(above, 0, 0);
    m_grid->addWidget(beside, 4, 1);
    // The right column is as narrow as its widest control allows; the list takes the rest.
    int width = beside->minimumSizeHint().width();
    for (const QWidget* each :
         std::initializer_list<const QWidget*>{m_folderButton, m_fileTypeFilter})
        width = std::max(width, each->sizeHint().width());
    for (QWidget* each : std::initializer_list<QWidget*>{m_folderButton, m_fileTypeFilter, beside})
        each->setFixedWidth(width);
}

QStringList FolderFileList::names() const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names.append(m_model->item(row, 0)->text());
    return names;
}

QList<bool> FolderFileList::selection() const
{
    QList<bool> selected;
    for (int row = 0; row < m_model->rowCount(); ++row)
        selected.append(m_view->selectionModel()->isRowSelected(row));
    return selected;
}

void FolderFileList::updateFolderHistory()
{
    const QSignalBlocker keepList(m_folderHistory);
    pushCurrentTextToHistory(m_folderHistory);
}

QList<QWidget*> FolderFileList::tabOrder() const
{
    return {m_folderHistory, m_folderButton, m_fileTypeFilter, m_titles[0], m_titles[1], m_view};
}

void FolderFileList::chooseFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QCoreApplication::translate("FolderFileList", "ﾌｫﾙﾀﾞを指定して下さい。"),
        m_listing.folder);
    if (chosen.isEmpty())
        return;
    showFolder(chosen);
    m_folderHistory->setEditText(chosen);
    pushCurrentTextToHistory(m_folderHistory);
}

void FolderFileList::pressTitle(int column)
{
    m_sortOrder = files::sortAfterTitlePress(static_cast<qint16>(m_sortOrder), column);
    fillList();
    m_view->setFocus();
}

void FolderFileList::showFolder(const QString& folder)
{
    if (const std::optional<files::FolderListing> listing =
            files::FolderListing::read(folder, m_fileTypeFilter->currentText())) {
        m_listing = *listing;
        fillList();
    }
}

void FolderFileList::fillList()
{
    const files::FileListColumns columns =
        files::buildFileList(m_listing.entries(), static_cast<qint16>(m_sortOrder));
    m_model->setRowCount(0);
    for (qsizetype i = 0; i < columns.names.size(); ++i)
        m_model->appendRow(
            {new QStandardItem(columns.names[i]), new QStandardItem(columns.times[i])});
}

bool FolderFileList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_titles[0] && event->type() == QEvent::Resize)
        m_view->setColumnWidth(0, m_titles[0]->width());
    return QWidget::eventFilter(watched, event);
}

} // namespace brelix::ui
