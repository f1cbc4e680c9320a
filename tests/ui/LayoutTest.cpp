#include "UiTestHelpers.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/dialogs/ErrorReportDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/run/ProgressWindow.h"
#include "ui/window/MainWindow.h"

#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

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
