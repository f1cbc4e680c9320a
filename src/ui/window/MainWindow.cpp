#include "ui/window/MainWindow.h"

#include "core/compare/DiffRun.h"
#include "core/files/DroppedFile.h"
#include "core/files/FolderFileList.h"
#include "core/files/ProgramFolder.h"
#include "core/print/PrintRun.h"
#include "core/search/SearchRun.h"
#include "core/settings/History.h"
#include "core/settings/SettingsFile.h"
#include "ui/desktop/OpenWithDesktop.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/run/GuiRunUi.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WrappingPushButton.h"
#include "ui/widgets/WrappingRadioButton.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

namespace brelix::ui {

namespace {

template <typename W> W* place(W* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

// Puts the combo's current text at the head of its history and selects it.
void updateHistory(QComboBox* combo)
{
    const QString current = combo->currentText();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    settings::History::pushFront(current, items);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(0);
}

files::ListColumnView columnView(const QListWidget* list)
{
    files::ListColumnView view;
    view.topRow = list->verticalScrollBar()->value();
    for (int i = 0; i < list->count(); ++i)
        view.selected.append(list->item(i)->isSelected());
    return view;
}

void showColumnView(QListWidget* list, const files::ListColumnView& view)
{
    list->verticalScrollBar()->setValue(view.topRow);
    for (int i = 0; i < list->count() && i < view.selected.size(); ++i)
        list->item(i)->setSelected(view.selected[i]);
}

} // namespace

MainWindow::MainWindow(host::SpreadsheetHostFactory& factory, const QString& argument,
                       QWidget* parent)
    : QMainWindow(parent), m_factory(factory), m_keepHitFile(!argument.isEmpty())
{
    setWindowTitle(QStringLiteral("Brelix - diff"));
    setFont(gothicFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    fraMain[0] = place(new QFrame(client), 120, 120, 6015, 3495);
    fraMain[1] = place(new QFrame(client), 120, 3735, 6015, 3495);
    buildCompareScreen();
    buildMenus();
    buildFolderList();
    buildSearchPrintControls();
    cmdEnd2 = place(new QPushButton(QStringLiteral("終了"), fraMain[1]), 3240, 3000, 2655, 495);
    connect(cmdEnd2, &QPushButton::clicked, this, &QWidget::close);
    // The search text first, the scopes before the start buttons, the case box last.
    const QList<QWidget*> order = {searchHistory, folderHistory, cmdDirChg,     fileTypeFilter,
                                   cmdTitle[0],   cmdTitle[1],   List1[0],      List1[1],
                                   printScope[0], printScope[1], printScope[2], printScope[3],
                                   cmdPrint,      cmdGrep,       cmdEnd2,       caseSensitive};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    Form_Load(argument);
}

void MainWindow::buildCompareScreen()
{
    QFrame* screen = fraMain[0];
    Frame1 = place(new QGroupBox(QStringLiteral("ファイルを指定"), screen), 120, 0, 5775, 1335);
    QFont pGothic = font();
    pGothic.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    for (int i = 0; i < 2; ++i) {
        txtFile[i] = place(new QLineEdit(Frame1), 240, 240 + i * 360, 5055, 270);
        cmdDir[i] =
            place(new QPushButton(QStringLiteral("..."), Frame1), 5280, 240 + i * 360, 255, 255);
        cmdDir[i]->setFont(pGothic);
        connect(cmdDir[i], &QPushButton::clicked, this, [this, i] { cmdDir_Click(i); });
        // The boxes take dropped files themselves; nothing else on the window accepts drops.
        txtFile[i]->setAcceptDrops(true);
        txtFile[i]->installEventFilter(this);
    }
    Label1 = place(new QLabel(QStringLiteral("ドラッグ＆ドロップでも指定できます"), Frame1), 240,
                   960, 4455, 255);

    frmOption =
        place(new QGroupBox(QStringLiteral("オプションを指定"), screen), 120, 1440, 5775, 1335);
    colourDifferences = place(new QCheckBox(QStringLiteral("差分個所の背景色変更"), frmOption), 240,
                              240, 2175, 255);
    colourDifferences->setChecked(true);
    lblSheet = place(new QLabel(QStringLiteral("比較シート指定　　　　　～"), frmOption), 3000, 280,
                     2655, 255);
    for (int i = 0; i < 2; ++i) {
        txtSheet[i] = place(new QLineEdit(frmOption), 4320 + i * 720, 240, 375, 270);
        txtSheet[i]->setMaxLength(2);
        txtSheet[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        txtSheet[i]->setToolTip(QStringLiteral("ブランクで全て指定"));
    }
    Frame2 = place(new QGroupBox(QStringLiteral("表示形式"), frmOption), 240, 600, 5295, 615);
    const std::array<std::pair<QString, int>, 3> options = {
        std::pair{QStringLiteral("通常"), 120}, std::pair{QStringLiteral("左右に並べる"), 1440},
        std::pair{QStringLiteral("上下に並べる"), 3120}};
    for (int i = 0; i < 3; ++i)
        windowLayout[i] = place(new QRadioButton(options[i].first, Frame2), options[i].second, 240,
                                i == 0 ? 735 : 1455, 255);
    windowLayout[0]->setChecked(true);

    cmdDiff = place(new QPushButton(QStringLiteral("比較開始"), screen), 120, 3000, 2655, 495);
    cmdEnd = place(new QPushButton(QStringLiteral("終了"), screen), 3240, 3000, 2655, 495);
    connect(cmdDiff, &QPushButton::clicked, this, &MainWindow::startComparison);
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);

    const QList<QWidget*> order = {cmdEnd,          txtFile[0],        cmdDir[0],       txtFile[1],
                                   cmdDir[1],       colourDifferences, txtSheet[0],     txtSheet[1],
                                   windowLayout[0], windowLayout[1],   windowLayout[2], cmdDiff};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::buildFolderList()
{
    QFrame* screen = fraMain[1];
    folderHistory = place(new QComboBox(screen), 120, 300, 4695, 300);
    folderHistory->setEditable(true);
    // The history is kept by History::pushFront, not by the combo's own insertion.
    folderHistory->setInsertPolicy(QComboBox::NoInsert);
    cmdDirChg = place(new WrappingPushButton(QStringLiteral("ディレクトリ選択"), screen), 4920, 360,
                      1095, 495);
    fileTypeFilter = place(new QComboBox(screen), 4920, 960, 1095, 300);
    fileTypeFilter->addItems(files::fileTypePatterns());
    fileTypeFilter->setCurrentIndex(-1);
    cmdTitle[0] = place(new QPushButton(QStringLiteral("名　　前"), screen), 150, 635, 2970, 255);
    cmdTitle[1] = place(new QPushButton(QStringLiteral("更新日時"), screen), 3135, 635, 1650, 255);
    List1[0] = place(new QListWidget(screen), 120, 850, 3000, 2040);
    List1[1] = place(new QListWidget(screen), 3120, 850, 1680, 2040);
    for (int i = 0; i < 2; ++i) {
        QListWidget* list = List1[static_cast<size_t>(i)];
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // The top row is the scroll bar's value only when it scrolls by rows.
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->viewport()->installEventFilter(this);
        connect(cmdTitle[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdTitle_Click(i); });
        connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, i] {
            files::ListColumnView names = columnView(List1[0]);
            files::ListColumnView times = columnView(List1[1]);
            files::mirrorTopRow(i, names, times);
            List1[static_cast<size_t>(1 - i)]->verticalScrollBar()->setValue(
                (i == 0 ? times : names).topRow);
        });
    }
    connect(folderHistory, &QComboBox::currentTextChanged, this, &MainWindow::cboDir_Change);
    connect(fileTypeFilter, &QComboBox::currentIndexChanged, this, &MainWindow::cboKind_Click);
    connect(cmdDirChg, &QPushButton::clicked, this, &MainWindow::cmdDirChg_Click);
}

void MainWindow::buildSearchPrintControls()
{
    QFrame* screen = fraMain[1];
    lblGrep = place(new QLabel(QStringLiteral("検索文字："), screen), 120, 60, 3255, 255);
    searchHistory = place(new QComboBox(screen), 960, 0, 3855, 300);
    searchHistory->setEditable(true);
    searchHistory->setInsertPolicy(QComboBox::NoInsert);
    fraGrep = place(new QFrame(screen), 4920, 1320, 1095, 1575);
    caseSensitive = place(new QCheckBox(QStringLiteral("大小区別"), fraGrep), 0, 0, 1095, 255);
    caseSensitive->setToolTip(QStringLiteral("検索時に大文字／小文字を区別する"));
    Label3 = place(
        new QLabel(QStringLiteral("検索は値について行います式での検索は行いません。"), fraGrep), 0,
        360, 1095, 1095);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdGrep = place(new QPushButton(QStringLiteral("検索開始"), screen), 120, 3000, 2655, 495);
    connect(cmdGrep, &QPushButton::clicked, this, &MainWindow::startSearch);

    lblTitle =
        place(new QLabel(QStringLiteral("ファイルを選択して「印刷開始」を選択して下さい"), screen),
              120, 30, 4815, 255);
    const std::array<std::pair<QString, QString>, 4> scopes = {
        std::pair{QStringLiteral("全シート全ページ"), QStringLiteral("全シートの全ページを印刷")},
        std::pair{QStringLiteral("１シート全ページ"),
                  QStringLiteral("１枚目のシートの全ページを印刷")},
        std::pair{QStringLiteral("全シート１ページ"),
                  QStringLiteral("全シートの１ページのみを印刷")},
        std::pair{QStringLiteral("１シート１ページ"),
                  QStringLiteral("１枚目のシートの１ページのみを印刷")}};
    for (int i = 0; i < 4; ++i) {
        const auto& [caption, tip] = scopes[static_cast<size_t>(i)];
        QRadioButton* option =
            place(new WrappingRadioButton(caption, screen), 4920, 1320 + i * 420, 1095, 375);
        option->setToolTip(tip);
        printScope[static_cast<size_t>(i)] = option;
    }
    cmdPrint = place(new QPushButton(QStringLiteral("印刷開始"), screen), 120, 3000, 2655, 495);
    connect(cmdPrint, &QPushButton::clicked, this, &MainWindow::startPrint);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    mnuDiff = bar->addAction(QStringLiteral("比較"), this, &MainWindow::mnuDiff_Click);
    mnuGrep = bar->addAction(QStringLiteral("検索"), this, &MainWindow::mnuGrep_Click);
    mnuPrint = bar->addAction(QStringLiteral("連続印刷"), this, &MainWindow::mnuPrint_Click);
    QMenu* mnuOption = bar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    alwaysOnTopAction =
        mnuOption->addAction(QStringLiteral("常に手前に表示"), this, &MainWindow::mnuFront_Click);
    alwaysOnTopAction->setCheckable(true);
    QMenu* mnuHikakuMain = mnuOption->addMenu(QStringLiteral("比較対象"));
    const std::array<QString, 2> targets = {QStringLiteral("値　を比較する"),
                                            QStringLiteral("式　を比較する")};
    for (int i = 0; i < 2; ++i) {
        compareTargetMenu[i] =
            mnuHikakuMain->addAction(targets[i], this, [this, i] { mnuHikaku_Click(i); });
        compareTargetMenu[i]->setCheckable(true);
    }
    QMenu* mnuMainToolBar = mnuOption->addMenu(QStringLiteral("ﾂｰﾙﾊﾞｰの行数"));
    for (int i = 0; i < 6; ++i) {
        mnuToolBar[i] = mnuMainToolBar->addAction(QStringLiteral("%1 行").arg(i), this,
                                                  [this, i] { mnuToolBar_Click(i); });
        mnuToolBar[i]->setCheckable(true);
    }
    mnuSet = mnuOption->addAction(QStringLiteral("比較背景色"), this, &MainWindow::mnuSet_Click);
    mnuHelp = bar->addAction(QStringLiteral("ヘルプ"), this, &MainWindow::mnuHelp_Click);
    mnuVer = bar->addAction(QStringLiteral("バージョン"), this, &MainWindow::mnuVer_Click);
}

void MainWindow::Form_Load(const QString& argument)
{
    // The window's height is fixed; its width is the client area's.
    setFixedSize(twips(6270) + 2, twips(4430) - 30);
    fraMain[1]->move(fraMain[0]->pos());

    const settings::SettingsFile::Loaded loaded = settings::SettingsFile::load();
    applySettings(loaded.settings, loaded.recovered);

    if (argument == QLatin1String("xls") || argument == QLatin1String("csv")) {
        const QString folder = files::programFolder();
        txtFile[0]->setText(folder + QStringLiteral("/テストデータ/TEST1.") + argument);
        txtFile[1]->setText(folder + QStringLiteral("/テストデータ/TEST2.") + argument);
    } else {
        txtFile[0]->clear();
        txtFile[1]->clear();
    }
    mnuDiff_Click();
    m_password.clear();
    if (m_settings.startMode == 1)
        mnuGrep_Click();
    else if (m_settings.startMode == 2)
        mnuPrint_Click();
    if (alwaysOnTopAction->isChecked())
        setStaysOnTop(this, true);
}

void MainWindow::applySettings(const settings::Settings& settings, bool recovered)
{
    m_settings = settings;
    if (settings.top && settings.left)
        move(twips(*settings.left), twips(*settings.top));
    colourDifferences->setCheckState(settings.colourDifferences);
    caseSensitive->setCheckState(settings.caseSensitive);
    for (int i = 0; i < 4; ++i)
        printScope[static_cast<size_t>(i)]->setChecked(settings.printScope == i);
    searchHistory->clear();
    searchHistory->addItems(settings.searchHistory);
    // A stopped reading offers no search text.
    searchHistory->setCurrentIndex(recovered ? -1 : 0);
    // The file type is chosen before the folder, so the first listing already uses it. A
    // stopped reading applied its choice while reading; the result is the same.
    fileTypeFilter->setCurrentIndex(settings.fileTypeFilter);
    m_pattern = fileTypeFilter->currentText();
    folderHistory->clear();
    folderHistory->addItems(settings.folderHistory);
    folderHistory->setCurrentIndex(0);
    pointFileList(folderHistory->currentText(), m_pattern);
    for (int i = 0; i < 3; ++i)
        windowLayout[i]->setChecked(settings.windowLayout == i);
    alwaysOnTopAction->setChecked(settings.alwaysOnTop);
    for (int i = 0; i < 2; ++i)
        compareTargetMenu[i]->setChecked(settings.compareTarget == i);
    for (int i = 0; i < 6; ++i)
        mnuToolBar[i]->setChecked(settings.toolbarRows == i);
}

settings::Settings MainWindow::currentSettings() const
{
    settings::Settings s = m_settings;
    s.startMode = !mnuDiff->isEnabled()    ? 0
                  : !mnuGrep->isEnabled()  ? 1
                  : !mnuPrint->isEnabled() ? 2
                                           : -1;
    s.top = pos().y() * 15;
    s.left = pos().x() * 15;
    s.colourDifferences = colourDifferences->checkState();
    s.windowLayout = -1;
    for (int i = 0; i < 3; ++i)
        if (windowLayout[i]->isChecked())
            s.windowLayout = i;
    s.alwaysOnTop = alwaysOnTopAction->isChecked();
    s.caseSensitive = caseSensitive->checkState();
    s.printScope = -1;
    for (int i = 0; i < 4; ++i)
        if (printScope[static_cast<size_t>(i)]->isChecked())
            s.printScope = i;
    s.fileTypeFilter = fileTypeFilter->currentIndex();
    s.folderHistory.clear();
    for (int i = 0; i < folderHistory->count(); ++i)
        s.folderHistory.append(folderHistory->itemText(i));
    s.searchHistory.clear();
    for (int i = 0; i < searchHistory->count(); ++i)
        s.searchHistory.append(searchHistory->itemText(i));
    return s;
}

void MainWindow::switchMode(QAction* current, int screen, const QString& caption)
{
    for (QAction* mode : {mnuDiff, mnuGrep, mnuPrint})
        mode->setEnabled(mode != current);
    fraMain[screen]->show();
    fraMain[1 - screen]->hide();
    setWindowTitle(caption);
}

void MainWindow::mnuDiff_Click()
{
    switchMode(mnuDiff, 0, QStringLiteral("Brelix - diff"));
}

void MainWindow::showSearchControls(bool search)
{
    lblGrep->setVisible(search);
    searchHistory->setVisible(search);
    lblTitle->setVisible(!search);
    for (QRadioButton* option : printScope)
        option->setVisible(!search);
    fraGrep->setVisible(search);
    cmdPrint->setVisible(!search);
    cmdGrep->setVisible(search);
}

void MainWindow::mnuGrep_Click()
{
    showSearchControls(true);
    switchMode(mnuGrep, 1, QStringLiteral("Brelix - grep"));
    // Before the window is shown there is nothing to focus.
    if (searchHistory->isVisible())
        searchHistory->setFocus();
}

void MainWindow::mnuPrint_Click()
{
    showSearchControls(false);
    switchMode(mnuPrint, 1, QStringLiteral("Brelix - print"));
}

void MainWindow::mnuFront_Click()
{
    // The action has inverted its check mark already.
    setStaysOnTop(this, alwaysOnTopAction->isChecked());
}

void MainWindow::mnuHikaku_Click(int index)
{
    for (QAction* item : compareTargetMenu)
        item->setChecked(false);
    m_settings.compareTarget = index;
    compareTargetMenu[static_cast<size_t>(index)]->setChecked(true);
}

void MainWindow::mnuToolBar_Click(int index)
{
    for (QAction* item : mnuToolBar)
        item->setChecked(false);
    m_settings.toolbarRows = index;
    mnuToolBar[static_cast<size_t>(index)]->setChecked(true);
}

void MainWindow::mnuHelp_Click()
{
    const QString help = files::programFile(QStringLiteral("Brelix.html"));
    if (QFileInfo::exists(help)) {
        openWithDesktop(help);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("ヘルプ無し"),
                         QStringLiteral("ヘルプファイルがありません"));
}

void MainWindow::mnuSet_Click()
{
    // Saved with the other settings when the window closes.
    if (const std::optional<int> chosen = CellColourDialog::ask(this, m_settings.diffColourIndex))
        m_settings.diffColourIndex = *chosen;
}

void MainWindow::mnuVer_Click()
{
    AboutDialog::showModal(this);
}

void MainWindow::startComparison()
{
    if (m_running)
        return;
    compare::DiffSettings settings;
    settings.firstPath = txtFile[0]->text();
    settings.secondPath = txtFile[1]->text();
    settings.outputPath = files::programFile(QStringLiteral("Brelix.xls"));
    settings.templatePath = files::programFile(QStringLiteral("Brelix_Format.xls"));
    settings.startSheetText = txtSheet[0]->text();
    settings.lastSheetText = txtSheet[1]->text();
    settings.byFormula = compareTargetMenu[1]->isChecked();
    settings.layout = windowLayout[0]->isChecked()   ? 0
                      : windowLayout[1]->isChecked() ? 1
                      : windowLayout[2]->isChecked() ? 2
                                                     : -1;
    settings.colorDiff = colourDifferences->checkState() != Qt::Unchecked;
    settings.toolBarRows = m_settings.toolbarRows;
    settings.diffColor = m_settings.diffColourIndex;

    // Nothing may start a second job or close the window while this one runs.
    m_running = true;
    setEnabled(false);
    GuiRunUi ui(this, alwaysOnTopAction->isChecked());
    bool programEnds = false;
    compare::DiffRun(m_factory, ui, m_password).start(settings, &programEnds);
    setEnabled(true);
    m_running = false;
    if (programEnds)
        close();
}

// The search leaves the window usable, as the folder list may be browsed meanwhile; only a
// second job and closing the window wait for it.
void MainWindow::startSearch()
{
    if (m_running)
        return;
    search::SearchSettings settings;
    settings.searchText = searchHistory->currentText();
    settings.caseSensitive = caseSensitive->isChecked();
    for (int i = 0; i < List1[0]->count(); ++i) {
        const QString name = List1[0]->item(i)->text();
        if (List1[0]->item(i)->isSelected())
            settings.targets.append({name, files::listedFilePath(m_listing.folder, name)});
    }
    settings.templatePath = files::programFile(QStringLiteral("Brelix_Format.xls"));
    settings.outputPath = files::programFile(QStringLiteral("Brelix.xls"));
    settings.hitFilePath = files::programFile(QStringLiteral("Brelix.grp"));
    settings.keepHitFile = m_keepHitFile;
    settings.toolBarRows = m_settings.toolbarRows;

    m_running = true;
    GuiRunUi ui(this, alwaysOnTopAction->isChecked());
    const search::SearchOutcome outcome =
        search::SearchRun(m_factory, ui, m_password).start(settings, [this] {
            updateHistory(searchHistory);
            updateFolderHistory();
        });
    m_running = false;
    if (outcome.ending == search::SearchEnding::EmptyText)
        searchHistory->setFocus();
}

void MainWindow::startPrint()
{
    if (m_running)
        return;
    QStringList names;
    QList<bool> selected;
    for (int i = 0; i < List1[0]->count(); ++i) {
        names.append(List1[0]->item(i)->text());
        selected.append(List1[0]->item(i)->isSelected());
    }
    print::PrintRequest request;
    request.entries = print::listedEntries(m_listing.folder, names, selected);
    for (int i = 0; i < 4 && !request.scope; ++i)
        if (printScope[static_cast<size_t>(i)]->isChecked())
            request.scope = print::printScopeOf(i);
    request.updateFolderHistory = [this] { updateFolderHistory(); };
    request.setMainWindowEnabled = [this](bool enabled) { setEnabled(enabled); };

    // Nothing may start a second job or close the window while this one runs.
    m_running = true;
    GuiRunUi ui(this, alwaysOnTopAction->isChecked());
    print::PrintRun(m_factory, ui).start(request);
    m_running = false;
}

// The folder is the listed one already: pointing the list at it again would only drop the
// selection a job is about to use.
void MainWindow::updateFolderHistory()
{
    const QSignalBlocker keepList(folderHistory);
    updateHistory(folderHistory);
}

void MainWindow::cmdDir_Click(int index)
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, QStringLiteral("ﾌｧｲﾙを指定してください"), files::programFolder(),
        QStringLiteral("Excelファイル(*.xls);;Csvファイル　(*.csv);;全てのファイル(*.*)"));
    if (!chosen.isEmpty())
        txtFile[static_cast<size_t>(index)]->setText(chosen);
}

void MainWindow::txtFile_OLEDragDrop(int index, const QMimeData* dropped)
{
    if (!dropped || !dropped->hasUrls())
        return;
    QStringList names;
    for (const QUrl& url : dropped->urls())
        if (url.isLocalFile())
            names.append(url.toLocalFile());
    if (const std::optional<QString> text = files::textFromDrop(names))
        txtFile[static_cast<size_t>(index)]->setText(*text);
}

void MainWindow::cmdDirChg_Click()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("ﾌｫﾙﾀﾞを指定して下さい。"), m_listing.folder);
    if (chosen.isEmpty())
        return;
    pointFileList(chosen, m_pattern);
    folderHistory->setEditText(chosen);
    updateHistory(folderHistory);
}

void MainWindow::cmdTitle_Click(int index)
{
    m_settings.fileSortOrder =
        files::sortAfterTitlePress(static_cast<qint16>(m_settings.fileSortOrder), index);
    buildFileList();
    List1[0]->setFocus();
}

void MainWindow::cboDir_Change()
{
    pointFileList(folderHistory->currentText(), m_pattern);
}

void MainWindow::cboKind_Click()
{
    m_pattern = fileTypeFilter->currentText();
    pointFileList(m_listing.folder, m_pattern);
}

void MainWindow::pointFileList(const QString& folder, const QString& pattern)
{
    if (const std::optional<files::FolderListing> listing =
            files::FolderListing::read(folder, pattern)) {
        m_listing = *listing;
        buildFileList();
    }
}

void MainWindow::buildFileList()
{
    const files::FileListColumns columns =
        files::buildFileList(m_listing.entries(), static_cast<qint16>(m_settings.fileSortOrder));
    List1[0]->clear();
    List1[1]->clear();
    List1[0]->addItems(columns.names);
    List1[1]->addItems(columns.times);
}

void MainWindow::syncListSelection(int index)
{
    files::ListColumnView names = columnView(List1[0]);
    files::ListColumnView times = columnView(List1[1]);
    files::syncListSelection(index, names, times);
    if (index == 0)
        showColumnView(List1[1], times);
    else if (index == 1)
        showColumnView(List1[0], names);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < 2; ++i)
            if (watched == List1[static_cast<size_t>(i)]->viewport())
                // After the list has taken the press or release.
                QMetaObject::invokeMethod(
                    this, [this, i] { syncListSelection(i); }, Qt::QueuedConnection);
    for (int i = 0; i < 2; ++i) {
        if (watched != txtFile[static_cast<size_t>(i)])
            continue;
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasUrls()) {
                txtFile_OLEDragDrop(i, drop->mimeData());
                drop->acceptProposedAction();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    if (windowState() == Qt::WindowNoState)
        settings::SettingsFile::save(currentSettings());
    event->accept();
}

} // namespace brelix::ui
