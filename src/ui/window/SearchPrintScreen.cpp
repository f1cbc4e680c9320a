#include "ui/window/SearchPrintScreen.h"

#include "core/files/FolderFileList.h"
#include "ui/widgets/ComboHistory.h"
#include "ui/widgets/StartAndQuitRow.h"
#include "ui/widgets/WrappingRadioButton.h"
#include "ui/window/FolderFileList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brelix::ui {

SearchPrintScreen::SearchPrintScreen(QWidget* parent)
    : QWidget(parent), m_fileList(new FolderFileList(this))
{
    m_fileList->setObjectName(QStringLiteral("fileList"));
    auto* above = new QWidget(this);
    auto* aboveRow = new QHBoxLayout(above);
    aboveRow->setContentsMargins({});
    auto* beside = new QWidget(this);
    auto* besideColumn = new QVBoxLayout(beside);
    besideColumn->setContentsMargins({});
    besideColumn->setSpacing(2);
    buildSearchControls(aboveRow, besideColumn);
    buildPrintControls(aboveRow, besideColumn);
    besideColumn->addStretch();
    m_fileList->addScreenControls(above, beside);
    auto* quitButton =
        new QPushButton(QCoreApplication::translate("SearchPrintScreen", "終了"), this);
    quitButton->setObjectName(QStringLiteral("searchPrintQuitButton"));
    connect(quitButton, &QPushButton::clicked, this, &SearchPrintScreen::quitRequested);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->addWidget(m_fileList, 1);
    // The mode shows one of the start buttons.
    layout->addLayout(startAndQuitRow({m_searchButton, m_printButton}, quitButton));

    // The search text first, the scopes before the start buttons, the case option last.
    QList<QWidget*> order = {m_searchHistory};
    order += m_fileList->tabOrder();
    order += {m_printScope[0], m_printScope[1], m_printScope[2], m_printScope[3],
              m_printButton,   m_searchButton,  quitButton,      m_caseSensitive};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void SearchPrintScreen::buildSearchControls(QHBoxLayout* above, QVBoxLayout* beside)
{
    m_searchTextLabel = new QLabel(QCoreApplication::translate("SearchPrintScreen", "検索文字："));
    m_searchTextLabel->setObjectName(QStringLiteral("searchTextLabel"));
    m_searchHistory = new QComboBox;
    m_searchHistory->setObjectName(QStringLiteral("searchHistory"));
    m_searchHistory->setEditable(true);
    m_searchHistory->setInsertPolicy(QComboBox::NoInsert);
    m_searchHistory->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_searchHistory->setMinimumContentsLength(1);
    above->addWidget(m_searchTextLabel);
    above->addWidget(m_searchHistory, 1);
    m_caseSensitive = new QCheckBox(QCoreApplication::translate("SearchPrintScreen", "大小区別"));
    m_caseSensitive->setObjectName(QStringLiteral("caseSensitive"));
    m_caseSensitive->setToolTip(
        QCoreApplication::translate("SearchPrintScreen", "検索時に大文字／小文字を区別する"));
    m_searchNote = new QLabel(QCoreApplication::translate(
        "SearchPrintScreen", "検索は値について行います式での検索は行いません。"));
    m_searchNote->setObjectName(QStringLiteral("searchNote"));
    m_searchNote->setWordWrap(true);
    m_searchNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    beside->addWidget(m_caseSensitive);
    beside->addWidget(m_searchNote);
    m_searchButton =
        new QPushButton(QCoreApplication::translate("SearchPrintScreen", "検索開始"), this);
    m_searchButton->setObjectName(QStringLiteral("searchButton"));
    connect(m_searchButton, &QPushButton::clicked, this, &SearchPrintScreen::searchRequested);
}

void SearchPrintScreen::buildPrintControls(QHBoxLayout* above, QVBoxLayout* beside)
{
    m_printHint = new QLabel(QCoreApplication::translate(
        "SearchPrintScreen", "ファイルを選択して「印刷開始」を選択して下さい"));
    m_printHint->setObjectName(QStringLiteral("printHint"));
    above->addWidget(m_printHint, 1);
    struct Scope {
        const char* name;
        QString caption;
        QString tip;
    };
    const std::array<Scope, 4> scopes = {
        Scope{"allSheetsAllPages",
              QCoreApplication::translate("SearchPrintScreen", "全シート全ページ"),
              QCoreApplication::translate("SearchPrintScreen", "全シートの全ページを印刷")},
        Scope{"firstSheetAllPages",
              QCoreApplication::translate("SearchPrintScreen", "１シート全ページ"),
              QCoreApplication::translate("SearchPrintScreen", "１枚目のシートの全ページを印刷")},
        Scope{"allSheetsFirstPage",
              QCoreApplication::translate("SearchPrintScreen", "全シート１ページ"),
              QCoreApplication::translate("SearchPrintScreen", "全シートの１ページのみを印刷")},
        Scope{"firstSheetFirstPage",
              QCoreApplication::translate("SearchPrintScreen", "１シート１ページ"),
              QCoreApplication::translate("SearchPrintScreen",
                                          "１枚目のシートの１ページのみを印刷")}};
    for (size_t i = 0; i < scopes.size(); ++i) {
        m_printScope[i] = new WrappingRadioButton(scopes[i].caption);
        m_printScope[i]->setObjectName(QLatin1String(scopes[i].name));
        m_printScope[i]->setToolTip(scopes[i].tip);
        beside->addWidget(m_printScope[i]);
    }
    m_printButton =
        new QPushButton(QCoreApplication::translate("SearchPrintScreen", "印刷開始"), this);
    m_printButton->setObjectName(QStringLiteral("printButton"));
    connect(m_printButton, &QPushButton::clicked, this, &SearchPrintScreen::printRequested);
}

void SearchPrintScreen::showSearchControls()
{
    showControls(true);
}

void SearchPrintScreen::showPrintControls()
{
    showControls(false);
}

void SearchPrintScreen::showControls(bool search)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_searchTextLabel, m_searchHistory, m_caseSensitive, m_searchNote, m_searchButton})
        control->setVisible(search);
    for (QWidget* control : std::initializer_list<QWidget*>{m_printHint, m_printButton})
        control->setVisible(!search);
    for (QRadioButton* scope : m_printScope)
        scope->setVisible(!search);
}

void SearchPrintScreen::focusSearchText()
{
    m_searchHistory->setFocus();
}

void SearchPrintScreen::applySettings(const settings::Settings& settings, bool recovered)
{
    m_caseSensitive->setCheckState(settings.caseSensitive);
    for (size_t i = 0; i < m_printScope.size(); ++i)
        m_printScope[i]->setChecked(settings.printScope == static_cast<int>(i));
    m_searchHistory->clear();
    m_searchHistory->addItems(settings.searchHistory);
    // A stopped reading offers no search text.
    m_searchHistory->setCurrentIndex(recovered ? -1 : 0);
    m_fileList->applySettings(settings);
}

void SearchPrintScreen::writeSettings(settings::Settings& settings) const
{
    settings.caseSensitive = m_caseSensitive->checkState();
    settings.printScope = -1;
    for (size_t i = 0; i < m_printScope.size(); ++i)
        if (m_printScope[i]->isChecked())
            settings.printScope = static_cast<int>(i);
    settings.searchHistory = comboItems(m_searchHistory);
    m_fileList->writeSettings(settings);
}

search::SearchSettings SearchPrintScreen::searchSettings() const
{
    search::SearchSettings settings;
    settings.searchText = m_searchHistory->currentText();
    settings.caseSensitive = m_caseSensitive->isChecked();
    const QStringList names = m_fileList->names();
    const QList<bool> selected = m_fileList->selection();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (selected[i])
            settings.targets.append(
                {names[i], files::listedFilePath(m_fileList->folder(), names[i])});
    return settings;
}

void SearchPrintScreen::updateSearchHistories()
{
    pushCurrentTextToHistory(m_searchHistory);
    m_fileList->updateFolderHistory();
}

print::PrintRequest SearchPrintScreen::printRequest() const
{
    print::PrintRequest request;
    request.entries =
        print::listedEntries(m_fileList->folder(), m_fileList->names(), m_fileList->selection());
    for (size_t i = 0; i < m_printScope.size() && !request.scope; ++i)
        if (m_printScope[i]->isChecked())
            request.scope = print::printScopeOf(static_cast<int>(i));
    return request;
}

void SearchPrintScreen::updateFolderHistory()
{
    m_fileList->updateFolderHistory();
}

} // namespace brelix::ui
