#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "TestData.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/dialogs/CompareOptionsDialog.h"
#include "ui/run/GuiRunUi.h"
#include "ui/run/ProgressBar.h"
#include "ui/run/ProgressWindow.h"
#include "ui/window/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::support::InMemoryHost;
using brelix::support::WorkbookContent;

namespace brelix::ui {
namespace {

// The child of this object name and type; a missing one fails the test that asks for it.
template <typename T = QWidget> T* find(const QObject& parent, const QString& name)
{
    if (T* found = parent.findChild<T*>(name))
        return found;
    throw std::runtime_error("no child named " + name.toStdString());
}
template <typename T = QWidget> T* find(const QObject& parent, const char* name)
{
    return find<T>(parent, QString::fromLatin1(name));
}

// Answers each modal window shown while it lives: `act` handles it (by default Yes, else OK,
// of a message box) and `seen` keeps "title|text" of each. A window still open at the next
// look fails the test and is closed, so that a fault cannot hang it.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> act = pressYesOrOk) : m_act(act)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal && modal == m_last) {
                ADD_FAILURE() << "stayed open: " << modal->windowTitle().toStdString();
                modal->done(QDialog::Rejected);
            } else if ((m_last = modal)) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen << modal->windowTitle() + (box ? u'|' + box->text() : QString());
                m_act(modal);
            }
        });
        m_timer.start(10);
    }
    static void pressYesOrOk(QWidget* window)
    {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            (box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)
                                           : box->button(QMessageBox::Ok))
                ->click();
    }
    QStringList seen;

private:
    std::function<void(QWidget*)> m_act;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};

// The program's folder in a temporary folder, over the in-memory office.
class ProgramFolderTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void writeSettings(const QString& text)
    {
        QFile ini(file(QStringLiteral("Brelix.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(text.toUtf8());
    }
    QString settingsText() const
    {
        QFile ini(file(QStringLiteral("Brelix.ini")));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    }

    support::TemporaryProgramFolder m_dir;
    support::InMemoryHostFactory m_factory;
};

TEST(ProgressBar, NavyOnWhiteWithTheTextInvertedInsideTheBar)
{
    const QRgb navy = qRgb(0, 0, 128);
    const QRgb white = qRgb(255, 255, 255);
    // Per percentage, a band of columns of the 400 x 20 inside, a colour and whether every
    // pixel of the band has it or only some (the text's).
    const std::vector<std::tuple<int, int, int, QRgb, bool>> bands = {
        {0, 0, 150, white, true},    {0, 180, 220, navy, false},    {50, 0, 150, navy, true},
        {50, 250, 400, white, true}, {50, 170, 200, white, false},  {50, 200, 230, navy, false},
        {100, 0, 150, navy, true},   {100, 170, 230, white, false}, {150, 0, 150, navy, true}};
    for (const auto& [percent, from, to, colour, all] : bands) {
        ProgressBar bar;
        bar.resize(402, 22); // within a one-pixel panel
        QFont font;
        font.setPointSize(12);
        bar.setFont(font);
        bar.setPercent(percent);
        const QImage image = bar.grab().toImage().copy(bar.contentsRect());
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < image.height(); ++y)
                count += image.pixel(x, y) == colour ? 1 : 0;
        EXPECT_TRUE(all ? count == (to - from) * image.height() : count > 0)
            << percent << "% from " << from;
    }
}

void press(QWidget* target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(ProgressWindow, EscapeLeavesItOpenAndCancelSetsTheFlagUntilItIsCleared)
{
    GuiRunUi ui(nullptr, false);
    ui.showProgress(u"LibreOffice起動中"_s);
    ui.setCancelEnabled(true);
    EXPECT_FALSE(ui.cancelRequested());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ProgressWindow*>(w)) {
            press(w, Qt::Key_Escape); // leaves it open, with its cancel button
            EXPECT_TRUE(w->isVisible());
            find<QPushButton>(*w, u"cancelButton"_s)->click();
        }
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.closeProgress();
    EXPECT_TRUE(ui.cancelRequested()); // until the next run clears it
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
}

// Takes the files the desktop is asked to open, so that no program starts.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(u"file"_s, this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(u"file"_s); }
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

void click(const QWidget* window, const char* name)
{
    find<QAbstractButton>(*window, name)->click();
}

TEST(ColourDialog, OpensOnTheGivenIndexOrMagentaAndGivesTheChoiceOnlyOnSet)
{
    for (const auto& [given, shown] : {std::pair{44, 44}, {15, 15}, {3, 7}}) {
        CellColourDialog dialog(nullptr, given);
        EXPECT_TRUE(find<QAbstractButton>(dialog, u"swatch%1"_s.arg(shown))->isChecked());
        click(&dialog, "okButton");
        EXPECT_EQ(dialog.colourIndex(), shown);
    }
    // How the dialog ends after a click on swatch 8, and what it gives then.
    const QList<std::pair<std::function<void(QWidget*)>, std::optional<int>>> ends = {
        {[](QWidget* d) { click(d, "okButton"); }, 8},
        {[](QWidget* d) { click(d, "cancelButton"); }, std::nullopt},
        {[](QWidget* d) { d->close(); }, std::nullopt},
        {[](QWidget* d) { // Esc does nothing; Enter presses only a focused button
             find(*d, "swatch8")->setFocus();
             press(d, Qt::Key_Escape);
             press(d, Qt::Key_Return);
             EXPECT_TRUE(d->isVisible());
             find(*d, "okButton")->setFocus();
             press(d, Qt::Key_Return);
         },
         8}};
    for (const auto& [end, expected] : ends) {
        const ModalAnswerer answerer([end](QWidget* d) {
            click(d, "swatch8");
            end(d);
        });
        EXPECT_EQ(CellColourDialog::ask(nullptr, 44), expected);
    }
}

// The dialog shows the choices given and OK gives what it shows; an entry it cannot take gets a
// message naming the box, and the dialog stays open with the choices as they were.
TEST(CompareOptionsDialog, GivesTheChosenPairingAndRulesAndRefusesWhatItCannotTake)
{
    compare::DiffSettings given;
    given.keyColumns = {2, 28};
    given.equality.tolerance = 0.25;
    given.layout = compare::WindowLayout::Stacked;
    CompareOptionsDialog dialog(nullptr, given);
    const auto edit = [&](const auto& name) { return find<QLineEdit>(dialog, name); };
    EXPECT_EQ(edit("keyColumns")->text() + u'|' + edit("tolerance")->text(), u"B,AB|0.25"_s);
    // What it refuses: tests/data/compare-options-refused.txt.
    for (const QStringList& c : support::caseRows(u"compare-options-refused.txt"_s)) {
        const QString &name = c[0], &text = c[1], &box = c[2];
        const QString old = edit(name)->text();
        edit(name)->setText(text);
        const ModalAnswerer answerer;
        click(&dialog, "okButton");
        EXPECT_TRUE(answerer.seen.size() == 1 && answerer.seen[0].contains(u'|' + box))
            << name.toStdString();
        EXPECT_TRUE(dialog.result() == QDialog::Rejected &&
                    dialog.settings().keyColumns == given.keyColumns &&
                    dialog.settings().equality == given.equality)
            << name.toStdString();
        edit(name)->setText(old);
    }
    edit("keyColumns")->setText(u" c, a"_s);
    edit("tolerance")->setText(u"0.01"_s);
    edit("ignoredColumns")->setText(u"F,D"_s);
    for (const char* box : {"bySheetName", "ignoreCase", "ignoreWidth", "ignoreBlanks"})
        click(&dialog, box);
    click(&dialog, "okButton");
    const compare::EqualityRules rules{true, true, true, 0.01, {6, 4}};
    EXPECT_TRUE(dialog.result() == QDialog::Accepted && dialog.settings().bySheetName &&
                dialog.settings().equality == rules &&
                dialog.settings().layout == compare::WindowLayout::Stacked);
    EXPECT_EQ(dialog.settings().keyColumns, QList<int>({3, 1}));
    // Empty boxes: rows by place, no tolerance, every column compared.
    for (const char* name : {"keyColumns", "tolerance", "ignoredColumns"})
        edit(name)->setText(u" "_s);
    click(&dialog, "okButton");
    EXPECT_TRUE(dialog.settings().keyColumns.isEmpty() && !dialog.settings().equality.tolerance &&
                dialog.settings().equality.ignoredColumns.isEmpty());
    const ModalAnswerer cancel([](QWidget* d) { click(d, "cancelButton"); });
    EXPECT_FALSE(CompareOptionsDialog::ask(nullptr, given));
}

// The menu opens the About window, which only OK or Enter closes, and the manual, or says that
// it is missing; the About window's link opens it too.
TEST_F(ProgramFolderTest, TheMenuOpensTheAboutWindowAndTheManualAsTheLinkDoes)
{
    MainWindow window(m_factory, QString());
    OpenedUrls opened;
    bool openAfterEscAndClose = false;
    const ModalAnswerer answerer([&](QWidget* w) {
        if (!qobject_cast<AboutDialog*>(w))
            return ModalAnswerer::pressYesOrOk(w);
        press(w, Qt::Key_Escape);
        openAfterEscAndClose = !w->close() && w->isVisible();
        press(w, Qt::Key_Return);
    });
    find<QAction>(window, "aboutAction")->trigger();
    find<QAction>(window, "helpAction")->trigger(); // no manual: nothing opened (see below)
    QFile(file(u"Brelix.html"_s)).open(QIODevice::WriteOnly);
    find<QAction>(window, "helpAction")->trigger();
    EXPECT_TRUE(openAfterEscAndClose);
    EXPECT_EQ(answerer.seen, QStringList({u"Brelix バージョン情報"_s,
                                          u"ヘルプ無し|ヘルプファイルがありません"_s}));

    AboutDialog about;
    auto* link = find<QLabel>(about, "manualLink");
    // The link turns cyan under the mouse, keeps it over the button, and turns blue again over
    // the text beside it or when clicked.
    const QList<std::pair<QWidget*, QEvent::Type>> moves = {
        {link, QEvent::MouseMove},
        {find(about, "okButton"), QEvent::MouseMove},
        {find(about, "aboutText"), QEvent::MouseMove},
        {link, QEvent::MouseMove},
        {link, QEvent::MouseButtonRelease}};
    QStringList colours;
    for (const auto& [target, type] : moves) {
        QMouseEvent event(type, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, {}, {});
        QApplication::sendEvent(target, &event);
        colours << link->palette().color(QPalette::WindowText).name();
    }
    EXPECT_EQ(colours.join(u' '), u"#00ffff #00ffff #0000ff #00ffff #0000ff"_s);
    EXPECT_EQ(opened.urls, QList<QUrl>(2, QUrl::fromLocalFile(file(u"Brelix.html"_s))));
}

// The main window over a folder of three workbooks and a text file, each with its own time and
// a text in C2, and the template the jobs write their results into.
class MainWindowTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        QDir(m_dir.path()).mkpath(u"data"_s);
        touch(u"b.xls"_s, QDateTime(QDate(2001, 2, 3), QTime(4, 5)), u"Sum"_s);
        touch(u"a.xls"_s, QDateTime(QDate(2003, 1, 1), QTime(23, 59)));
        touch(u"c.xls"_s, QDateTime(QDate(2002, 12, 31), QTime(0, 0)));
        touch(u"d.csv"_s, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        for (const QString& name : {u"Brelix_Format.xls"_s, u"Brelix.xls"_s})
            put(file(name), WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
        writeSettings(u"[PRINT ]%1\r\n"_s.arg(m_data));
    }
    void put(const QString& path, const WorkbookContent& content)
    {
        if (path.endsWith(u"/Brelix_Format.xls"_s)) // the runs read its bytes
            QFile::copy(QStringLiteral(BRELIX_BUILT_TEMPLATE), path);
        QFile(path).open(QIODevice::WriteOnly | QIODevice::Append);
        m_factory.addFile(path, content);
    }
    void touch(const QString& name, const QDateTime& time, const QString& c2 = u"Total"_s)
    {
        WorkbookContent book = WorkbookContent::withSheets({u"S"_s});
        book.sheets[0].setCell(2, 3, CellContent::ofText(c2));
        put(data(name), book);
        QFile f(data(name));
        ASSERT_TRUE(f.open(QIODevice::Append) &&
                    f.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QString data(const QString& name) const { return QDir(m_data).filePath(name); }
    MainWindow& open(const QString& argument = {})
    {
        m_window = std::make_unique<MainWindow>(m_factory, argument);
        return *m_window;
    }
    template <typename T = QWidget> T* w(const char* name) const
    {
        return find<T>(*m_window, name);
    }
    void press(const char* name) const { w<QAbstractButton>(name)->click(); }
    void dropOn(const char* box, const QMimeData& mime) const
    {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(w(box), &enter); // the drop goes where the drag entered
        QApplication::sendEvent(w(box), &event);
    }
    void trigger(const char* name) const { w<QAction>(name)->trigger(); }
    // The texts of the file list's name (0) or time (1) column, in the order shown.
    QString column(int index) const
    {
        const QAbstractItemModel* files = w<QTreeView>("fileView")->model();
        QStringList texts;
        for (int row = 0; row < files->rowCount(); ++row)
            texts << files->index(row, index).data().toString();
        return texts.join(u',');
    }
    void select(int row) const
    {
        auto* view = w<QTreeView>("fileView");
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool selected(int row) const
    {
        return w<QTreeView>("fileView")->selectionModel()->isRowSelected(row);
    }

    const QString m_data = file(u"data"_s);
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, TheSettingsReadAtTheStartAreWrittenBackUnchanged)
{
    const QString text =
        u"[KIND  ]2\r\n[TOP   ]1500\r\n[LEFT  ]3000\r\n[COLOR ]0\r\n[DAISYO]1\r\n[HYOUJI]2\r\n"
        "[FRONT ]1\r\n[PRINT ]%1\r\n[PRINT ]/tmp\r\n[GREP  ]sum\r\n[GREP  ]total\r\n"
        "[Sheet ]2\r\n[PATRN ]1\r\n[TOOLBR]4\r\n[HIKAKU]1\r\n[DIFFCL]44\r\n[READY ]0\r\n"_s.arg(
            m_data);
    writeSettings(text);
    EXPECT_EQ(open().windowTitle(), u"Brelix - print"_s);
    m_window->close();
    EXPECT_EQ(settingsText(), text);
    // A reading stopped by a bad line offers no search text.
    writeSettings(u"[GREP  ]sum\r\n[Sheet ]9\r\n"_s);
    EXPECT_EQ(open().findChild<QComboBox*>(u"searchHistory"_s)->currentIndex(), -1);
}

TEST_F(MainWindowTest, EachMenuChoiceIsSavedUnderItsOwnTagAndChecksOneItem)
{
    writeSettings(settingsText() + u"[KEYCOL]B\r\n"_s); // the comparison dialog adds C
    // The menu items and the lines they leave in the settings file (tests/data/menu-choices.txt).
    for (const QStringList& c : support::caseRows(u"menu-choices.txt"_s)) {
        const QString& line = c[1];
        open();
        const ModalAnswerer answerer([](QWidget* dialog) {
            if (auto* keys = dialog->findChild<QLineEdit*>(u"keyColumns"_s))
                keys->setText(keys->text() + u",c"_s);
            else
                find<QAbstractButton>(*dialog, "swatch44")->click();
            find<QAbstractButton>(*dialog, "okButton")->click();
        });
        trigger(c[0].toLatin1().constData());
        m_window->close();
        EXPECT_TRUE(settingsText().contains(line + u"\r\n"_s)) << line.toStdString();
    }
    const QList<const char*> rows = {"toolbarRows0Action", "toolbarRows1Action",
                                     "toolbarRows2Action", "toolbarRows3Action",
                                     "toolbarRows4Action", "toolbarRows5Action"};
    for (const char* chosen : rows + rows) { // the second round chooses checked items
        trigger(chosen);
        for (const char* item : rows)
            EXPECT_EQ(w<QAction>(item)->isChecked(), item == chosen) << chosen << " " << item;
    }
}

TEST_F(MainWindowTest, TheFileListSortsChoosesAndKeepsItsFolderOnCancel)
{
    EXPECT_EQ(open().findChild<QLineEdit*>(u"firstFile"_s)->text(), QString());
    EXPECT_EQ(column(0), u"a.xls,b.xls,c.xls"_s);
    EXPECT_EQ(column(1), u"2003/01/01 23:59,2001/02/03 04:05,2002/12/31 00:00"_s);
    press("timeTitle"); // the time orders show the whole sort key: time, blanks, index
    EXPECT_EQ(column(0), u"b.xls,c.xls,a.xls"_s);
    EXPECT_EQ(column(1).section(u',', 0, 0), u"2001/02/03 04:05    1"_s);
    press("nameTitle");
    press("nameTitle");
    EXPECT_EQ(column(0), u"c.xls,b.xls,a.xls"_s);
    w<QComboBox>("fileTypeFilter")->setCurrentIndex(1);
    EXPECT_EQ(column(0) + u' ' + column(1), u"d.csv 2000/01/01 00:00"_s);
    w<QComboBox>("folderHistory")->setEditText(data(u"missing"_s)); // the list stays
    EXPECT_EQ(column(0), u"d.csv"_s);
    w<QComboBox>("folderHistory")->setEditText(m_dir.path());
    EXPECT_EQ(column(0), QString());

    for (int i = 0; i < 40; ++i)
        touch(u"f%1.xls"_s.arg(i, 2, 10, QChar(u'0')), QDateTime(QDate(2004, 1, 1), QTime(0, i)));
    w<QComboBox>("fileTypeFilter")->setCurrentIndex(0);
    w<QComboBox>("folderHistory")->setEditText(m_data);
    const ModalAnswerer cancel([](QWidget* dialog) { dialog->close(); });
    press("folderButton");
    EXPECT_EQ(cancel.seen.size(), 1);
    EXPECT_EQ(w<QComboBox>("folderHistory")->currentText() +
                  QString::number(w<QTreeView>("fileView")->model()->rowCount()),
              m_data + u"43"_s);
}

// Each job takes the screen's choices and the selected files and keeps the window to itself
// while it runs (the search leaves it usable); the search and print put the folder at the head
// of its history without listing it again.
TEST_F(MainWindowTest, EachStartButtonRunsItsJobAloneWithTheScreensChoices)
{
    const auto drop = [this](const char* box, const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        dropOn(box, mime);
    };
    struct Job {
        const char *mode, *button;
        std::function<void()> choose, check;
    };
    const Job jobs[] = {
        {"compareModeAction", "compareButton",
         [&] {
             ModalAnswerer cancel([](QWidget* dialog) { dialog->close(); });
             press("firstFileButton");
             // A web address is no file; the last name that resolves wins.
             drop("secondFile",
                  {QUrl(u"https://example.invalid/x"_s), QUrl::fromLocalFile(data(u"b.xls"_s))});
             press("colourDifferences");
             trigger("alignRowsAction");
         },
         [this] {
             const auto history = m_factory.savedContent(file(u"Brelix.xls"_s))->sheets[0];
             EXPECT_EQ(history.cell(2, 4).text + history.cell(2, 6).text + history.cell(2, 8).text,
                       u"C2Sum変更"_s);
             EXPECT_EQ(m_factory.lastHost().workbook(u"a.xls"_s).sheets[0].fill(2, 3), 0);
         }},
        {"searchModeAction", "searchButton",
         [this] { w<QComboBox>("searchHistory")->setEditText(u"total"_s); },
         [this] {
             const auto results = m_factory.savedContent(file(u"Brelix.xls"_s))->sheets[0];
             EXPECT_EQ(results.cell(2, 2).text + results.cell(3, 2).text + results.cell(4, 2).text,
                       u"a.xlsc.xls"_s);
             EXPECT_EQ(w<QComboBox>("searchHistory")->itemText(0), u"total"_s);
         }},
        {"printModeAction", "printButton",
         [this] {
             press("firstSheetFirstPage");
             trigger("officeCount1Action"); // one office prints every job
         },
         [this] {
             QString books;
             for (const auto& printed : m_factory.lastHost().printJobs()) // sheet 1, page 1
                 books += u"%1:%2:%3 "_s.arg(printed.book)
                              .arg(printed.sheet)
                              .arg(printed.pages ? printed.pages->to : 0);
             EXPECT_EQ(books, u"a.xls:1:1 c.xls:1:1 "_s);
         }}};
    MainWindow& window = open();
    w<QLineEdit>("firstFile")->setText(data(u"a.xls"_s));
    for (const Job& job : jobs) {
        trigger(job.mode);
        job.choose();
        w<QComboBox>("folderHistory")->insertItem(0, u"/tmp"_s);
        select(0);
        select(2);
        bool inside = false, guarded = false;
        m_factory.onStart([&](InMemoryHost&) {
            if (std::exchange(inside, true))
                return;
            const int starts = m_factory.startCount();
            press(job.button);
            guarded = !window.close() && m_factory.startCount() == starts &&
                      window.isEnabled() == (job.button == std::string("searchButton"));
        });
        const ModalAnswerer answerer;
        press(job.button);
        EXPECT_TRUE(guarded && window.isEnabled()) << job.button;
        job.check();
        EXPECT_EQ(w<QComboBox>("folderHistory")->itemText(0) == m_data,
                  job.button != std::string("compareButton"));
        EXPECT_TRUE(selected(2));
    }
    // The comparison dialog's choices reach the next comparison: rows paired by C's texts.
    m_factory.onStart({});
    // The office's copy of the template, which the search and print above replaced.
    put(file(u"Brelix.xls"_s), WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
    const ModalAnswerer answerer([](QWidget* dialog) {
        auto* keys = dialog->findChild<QLineEdit*>(u"keyColumns"_s);
        if (!keys)
            return ModalAnswerer::pressYesOrOk(dialog);
        keys->setText(u"C"_s);
        click(dialog, "okButton");
    });
    trigger("compareOptionsAction");
    trigger("compareModeAction");
    press("compareButton");
    EXPECT_EQ(m_factory.savedContent(file(u"Brelix.xls"_s))->sheets[0].cell(2, 8).text,
              u"行削除"_s);
    // Two folders dropped into the boxes: every workbook under both, and only the history stays.
    for (const QString& folder : {u"f1"_s, u"f2"_s}) {
        QDir(m_data).mkdir(folder);
        put(data(folder + u"/b.xls"_s), WorkbookContent::withSheets({u"S"_s}));
    }
    put(file(u"Brelix.xls"_s), WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
    drop("firstFile", {QUrl::fromLocalFile(data(u"f1"_s))});
    drop("secondFile", {QUrl::fromLocalFile(data(u"f2"_s))});
    press("compareButton");
    const auto summary = m_factory.savedContent(file(u"Brelix.xls"_s))->sheets[0];
    EXPECT_EQ(summary.name + summary.cell(2, 2).text + summary.cell(2, 3).text,
              u"一覧　f1-f2b.xls一致"_s);
    EXPECT_EQ(m_factory.lastHost().openWorkbookNames(), QStringList{u"Brelix.xls"_s});
}

TEST_F(MainWindowTest, TheWindowOpensCentredOnEachAxisTheSettingsDoNotPlace)
{
    // Settings that place the window's left, its top (at 200, 100), both or neither.
    for (const auto& [placesLeft, placesTop] :
         {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        const QString lines = (placesTop ? u"[TOP   ]1500\r\n"_s : QString()) +
                              (placesLeft ? u"[LEFT  ]3000\r\n"_s : QString());
        writeSettings(lines);
        const QWidget& window = open();
        const QRect area = window.screen()->availableGeometry();
        const QSize size = window.frameGeometry().size();
        EXPECT_EQ(window.pos(),
                  QPoint(placesLeft ? 200 : area.left() + (area.width() - size.width()) / 2,
                         placesTop ? 100 : area.top() + (area.height() - size.height()) / 2))
            << lines.toStdString();
    }
}

// Only wider, never taller; the file boxes and the list take the width, which the settings keep
// once it differs from the width the controls need.
TEST_F(MainWindowTest, TheWindowWidensWithItsBoxesAndKeepsAWidthItWasGiven)
{
    const int natural = open().width();
    EXPECT_EQ(natural * 15, settings::kDefaultWindowWidth); // as wide as it always was
    EXPECT_EQ(m_window->minimumHeight(), m_window->maximumHeight());
    // The widths of the boxes and the list, each in its mode, on the screen, less `extra`.
    const auto widths = [this](int extra) {
        m_window->show();
        QList<int> found;
        for (const char* mode : {"searchModeAction", "compareModeAction"}) {
            trigger(mode);
            QApplication::processEvents();
            for (const char* name : {"firstFile", "secondFile", "searchHistory", "fileView"})
                if (w(name)->isVisible())
                    found << w(name)->width() - extra;
        }
        return found;
    };
    const QList<int> before = widths(0);
    m_window->resize(natural + 200, m_window->height());
    m_window->close();
    EXPECT_TRUE(settingsText().contains(u"[WIDTH ]%1\r\n"_s.arg((natural + 200) * 15)));
    EXPECT_EQ(open().width(), natural + 200);
    EXPECT_EQ(widths(200), before); // each 200 wider
    m_window->resize(natural, m_window->height());
    m_window->close();
    EXPECT_FALSE(settingsText().contains(u"[WIDTH ]"_s));
    // Narrower than the controls allow, wider than the screen.
    writeSettings(u"[WIDTH ]15\r\n"_s);
    EXPECT_EQ(open().width(), natural);
    writeSettings(u"[WIDTH ]2000000000\r\n"_s);
    EXPECT_EQ(open().width(), m_window->screen()->availableGeometry().width());
}

// Each mode shows its own screen under its own title, its menu item the one greyed. Tab visits
// every control of the screen once (so no other screen's button shows), in reading order with
// the exceptions the screens always had (search text first, case option last), and comes back.
TEST_F(MainWindowTest, EachModeShowsItsScreenWhichTabVisitsInOrder)
{
    open().show();
    QApplication::setActiveWindow(m_window.get());
    const std::tuple<const char*, QString, QString> screens[] = {
        {"compareModeAction", u"diff"_s,
         u"firstFile firstFileButton secondFile secondFileButton colourDifferences firstSheet "
         "lastSheet normalLayout compareButton compareQuitButton"_s},
        {"searchModeAction", u"grep"_s,
         u"searchHistory folderHistory folderButton fileTypeFilter nameTitle timeTitle "
         "fileView searchButton searchPrintQuitButton caseSensitive"_s},
        {"printModeAction", u"print"_s,
         u"folderHistory folderButton fileTypeFilter nameTitle timeTitle "
         "fileView allSheetsAllPages printButton searchPrintQuitButton"_s}};
    for (const auto& [mode, title, expected] : screens) {
        trigger(mode);
        EXPECT_EQ(m_window->windowTitle(), u"Brelix - "_s + title);
        for (const auto& [other, unused, controls] : screens)
            EXPECT_EQ(w<QAction>(other)->isEnabled(), other != mode) << mode << " " << other;
        const QStringList names = expected.split(u' ');
        w(names[0].toLatin1().constData())->setFocus();
        QStringList visited;
        for (qsizetype i = 0; i <= names.size(); ++i) {
            visited << QApplication::focusWidget()->objectName();
            ui::press(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(visited.join(u' '), expected + u' ' + names[0]);
    }
}

// Only the exact test argument fills the file boxes; a drop without file names leaves them.
TEST_F(MainWindowTest, OnlyTheExactTestArgumentOrDroppedFileNamesFillTheFileBoxes)
{
    const QString test = m_dir.path() + u"/テストデータ/TEST"_s;
    for (const QString& argument : {u"csv"_s, u"CSV"_s, u"csv x"_s}) {
        open(argument);
        EXPECT_EQ(w<QLineEdit>("firstFile")->text() + w<QLineEdit>("secondFile")->text(),
                  argument == u"csv"_s ? test + u"1.csv"_s + test + u"2.csv"_s : QString());
    }
    w<QLineEdit>("firstFile")->setText(u"typed"_s);
    QMimeData text, web;
    text.setText(u"DRAGGED"_s);
    web.setUrls({QUrl(u"https://example.invalid/x.xls"_s)});
    for (const QMimeData* mime : {&text, &web}) {
        dropOn("firstFile", *mime);
        EXPECT_EQ(w<QLineEdit>("firstFile")->text(), u"typed"_s);
    }
}

} // namespace
} // namespace brelix::ui

// Widgets need an application object; the tests run without a screen, whatever display the
// shell had.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "WidgetsTest.moc"
