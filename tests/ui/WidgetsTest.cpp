#include "UiTestHelpers.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/dialogs/ErrorReportDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/run/GuiRunUi.h"
#include "ui/run/ProgressBar.h"
#include "ui/run/ProgressWindow.h"
#include "ui/window/MainWindow.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

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

TEST(ProgressWindow, CancelSetsTheFlagThatTheRunReadsUntilItIsCleared)
{
    GuiRunUi ui(nullptr, false);
    ui.showProgress(u"Excel起動中"_s);
    ui.setCancelEnabled(true);
    EXPECT_FALSE(ui.cancelRequested());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ProgressWindow*>(w))
            find<QPushButton>(*w, u"cancelButton"_s)->click();
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.closeProgress();
    EXPECT_TRUE(ui.cancelRequested()); // until the next run clears it
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
}

TEST(ProgressWindow, EscapeLeavesItOpenWithItsCancelButton)
{
    ProgressWindow window(nullptr, false);
    window.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_TRUE(window.isVisible());
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

void press(QWidget* target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

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
    find<QAction>(window, "helpAction")->trigger();
    EXPECT_TRUE(opened.urls.isEmpty());
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

QString fontText(const QFont& font)
{
    return u"font=%1/%2%3"_s.arg(font.family())
        .arg(font.pointSize())
        .arg(font.underline() ? u"/underline"_s : QString());
}

// The program's own controls, not the parts Qt makes of them.
QList<QWidget*> controls(const QWidget& window)
{
    QList<QWidget*> found;
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"_s) &&
            !widget->isWindow())
            found << widget;
    return found;
}

QString actionName(const QAction* action)
{
    return action->menu() ? action->menu()->objectName() : action->objectName();
}

// A control as a user sees it: class, place and size in the window, caption, and what sets it
// apart. The program folder's path, which changes from run to run, is left out.
QString describe(const QWidget& window, const QWidget& widget, const QString& folder)
{
    const QPoint at = widget.mapTo(&window, QPoint(0, 0));
    QStringList parts = {
        widget.objectName(),
        QString::fromLatin1(widget.metaObject()->className()).section(u"::"_s, -1),
        u"%1,%2 %3x%4"_s.arg(at.x()).arg(at.y()).arg(widget.width()).arg(widget.height())};
    const QString caption =
        QString(widget.property("text").toString() + widget.property("title").toString())
            .replace(u'\n', u"\\n"_s);
    if (!caption.isEmpty())
        parts << u'"' + (caption.contains(u'…') ? u"(elided)"_s : caption) + u'"';
    if (!widget.toolTip().isEmpty())
        parts << u"tip=\""_s + QString(widget.toolTip()).replace(folder, u"<folder>"_s) + u'"';
    if (widget.font() != window.font())
        parts << fontText(widget.font());
    if (widget.autoFillBackground())
        parts << u"background="_s + widget.palette().color(widget.backgroundRole()).name();
    // What sets a control apart from Qt's defaults.
    for (const auto& [property, standard] : {std::pair{"checked", "false"},
                                             {"default", "false"},
                                             {"editable", "false"},
                                             {"readOnly", "false"},
                                             {"maxLength", "32767"},
                                             {"echoMode", "Normal"}})
        if (const QVariant value = widget.property(property);
            value.isValid() && value.toString() != QLatin1String(standard))
            parts << QLatin1String(property) + u'=' + value.toString();
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget); combo && !combo->isEditable())
        for (int i = 0; i < combo->count(); ++i)
            parts << u"item="_s + combo->itemText(i);
    if (!widget.isVisibleTo(&window))
        parts << u"hidden"_s;
    return parts.join(u' ');
}

QStringList windowLines(const QString& section, const QWidget& window, const QString& folder)
{
    QStringList flags;
    if (window.testAttribute(Qt::WA_SetFont))
        flags << fontText(window.font());
    if (window.minimumSize() == window.maximumSize())
        flags << u"fixed"_s;
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        flags << u"stays-on-top"_s;
    if (!window.windowFlags().testFlag(Qt::WindowCloseButtonHint))
        flags << u"no-close-button"_s;
    QStringList lines = {u"== %1 \"%2\" %3x%4 %5"_s.arg(section, window.windowTitle())
                             .arg(window.width())
                             .arg(window.height())
                             .arg(flags.join(u' '))};
    for (const QWidget* widget : controls(window))
        lines << u"  "_s + describe(window, *widget, folder);
    QStringList order;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if (controls(window).contains(w) && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
    return lines << u"  tab order: "_s + order.join(u' ');
}

// Every window on a fresh start; each mode of the main window with its title, the menu items
// it leaves enabled and the controls it shows. After an intended change to a window, run the
// test with BRELIX_UPDATE_GOLDEN=1 to rewrite the file's data, and review the change.
TEST_F(ProgramFolderTest, EveryWindowMatchesTheGoldenLayoutFile)
{
    QStringList lines;
    {
        MainWindow window(m_factory, QString());
        window.show();
        lines << windowLines(u"main window"_s, window, m_dir.path());
        for (const QAction* action : window.menuBar()->findChildren<QAction*>())
            if (!actionName(action).isEmpty())
                lines << u"  menu %1 \"%2\"%3"_s.arg(actionName(action), action->text(),
                                                     !action->isCheckable() ? QString()
                                                     : action->isChecked()  ? u" checked"_s
                                                                            : u" checkable"_s);
        for (const QString& mode :
             {u"searchModeAction"_s, u"printModeAction"_s, u"compareModeAction"_s}) {
            find<QAction>(window, mode)->trigger();
            QStringList enabled, shown;
            for (const QAction* action : window.menuBar()->actions())
                if (action->isEnabled())
                    enabled << actionName(action);
            for (const QWidget* widget : controls(window))
                if (widget->isVisibleTo(&window))
                    shown << widget->objectName();
            lines << u"== mode %1 \"%2\""_s.arg(mode, window.windowTitle())
                  << u"  enabled: "_s + enabled.join(u' ') << u"  shown: "_s + shown.join(u' ');
        }
    }
    lines << windowLines(u"cell colour"_s, CellColourDialog(nullptr, 44), m_dir.path())
          << windowLines(u"about"_s, AboutDialog(), m_dir.path())
          << windowLines(u"password"_s, PasswordDialog(nullptr, u"book.xls"_s, QString()),
                         m_dir.path())
          << windowLines(u"error report"_s, ErrorReportDialog(nullptr, u"report"_s), m_dir.path())
          << windowLines(u"progress"_s, ProgressWindow(nullptr, false), m_dir.path());

    QFile golden(QStringLiteral(BRELIX_TEST_DATA_DIR "/window-layout.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadWrite)) << golden.fileName().toStdString();
    QStringList comments, expected;
    for (const QString& line : QString::fromUtf8(golden.readAll()).split(u'\n', Qt::SkipEmptyParts))
        (line.startsWith(u'#') ? comments : expected) << line;
    if (qEnvironmentVariableIsSet("BRELIX_UPDATE_GOLDEN")) {
        golden.resize(0);
        golden.write(((comments + lines).join(u'\n') + u'\n').toUtf8());
        expected = lines;
    }
    EXPECT_EQ(lines.join(u'\n'), expected.join(u'\n'));
}

} // namespace
} // namespace brelix::ui

#include "WidgetsTest.moc"
