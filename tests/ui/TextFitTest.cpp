#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/dialogs/CompareOptionsDialog.h"
#include "ui/dialogs/ErrorReportDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/run/ProgressWindow.h"
#include "ui/widgets/WrappingPushButton.h"
#include "ui/widgets/WrappingRadioButton.h"
#include "ui/window/MainWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

// What of a control's text does not fit, or "" when all of it does: the text against the room
// the style leaves for it, measured with the control's font.
QString textProblem(QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const auto tooSmall = [&](const QRect& room, const QString& text, bool twoLines = false) {
        const QString shown = QString(text).remove(u'&');
        const bool fits = twoLines ? fm.horizontalAdvance(shown) <= 2 * room.width() &&
                                         QFontInfo(w->font()).pixelSize() * 2 <= room.height()
                                   : fm.size(0, shown).width() <= room.width() &&
                                         fm.size(0, shown).height() <= room.height() + 2;
        return fits ? QString() : shown;
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->wordWrap())
            return tooSmall(label->contentsRect(), label->text());
        const QRect room = label->contentsRect();
        return fm.boundingRect(room, Qt::TextWordWrap, label->text()).height() <= room.height()
                   ? QString()
                   : label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const bool push = qobject_cast<QPushButton*>(w);
        const bool radio = qobject_cast<QRadioButton*>(w);
        const QRect room = w->style()->subElementRect(push    ? QStyle::SE_PushButtonContents
                                                      : radio ? QStyle::SE_RadioButtonContents
                                                              : QStyle::SE_CheckBoxContents,
                                                      &option, w);
        return tooSmall(room, button->text(),
                        dynamic_cast<WrappingPushButton*>(w) ||
                            dynamic_cast<WrappingRadioButton*>(w));
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label =
            w->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, w);
        // The frame's top line as drawn, looked for at the right edge, away from the title.
        const QImage image = group->grab().toImage();
        const int x = image.width() - 3;
        int line = 0;
        while (line < image.height() && image.pixel(x, line) == image.pixel(x, 0))
            ++line;
        if (line / image.devicePixelRatio() <= label.bottom())
            return group->title() + u" on its frame's line"_s;
        for (const QWidget* inside : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (inside->isVisible() && inside->geometry().intersects(label))
                return group->title() + u" under "_s + inside->objectName();
        return tooSmall(label, group->title());
    }
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        return tooSmall(w->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                   QStyle::SC_ComboBoxEditField, w),
                        combo->currentText());
    }
    return {};
}

bool isControl(const QWidget* w)
{
    // The parts a combo box or a list is made of are theirs to place.
    for (const QObject* p = w->parent(); p; p = p->parent())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractItemView*>(p))
            return false;
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

// Every shown control of the window: its text fits, it lies inside its parent and overlaps no
// shown control beside it. Each fault as "window: control: what".
QStringList faults(QWidget* window, const QString& name)
{
    QStringList found;
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisible() && isControl(w))
            controls << w;
    for (QWidget* w : controls) {
        const QString id =
            name + u": "_s +
            (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                       : w->objectName());
        if (const QString problem = textProblem(w); !problem.isEmpty())
            found << id + u": cut off: "_s + problem;
        const QRect inParent = QRect(w->mapTo(window, QPoint()), w->size());
        if (!window->rect().contains(inParent))
            found << id + u": outside the window"_s;
        for (QWidget* other : controls)
            if (other != w && other->parentWidget() == w->parentWidget() && w < other &&
                w->geometry().intersects(other->geometry()))
                found << id + u": overlaps "_s + other->objectName();
    }
    return found;
}

// At the desktop's 9 points and at 12; the test runs again at a scale factor of 2 (CMake).
TEST(TextFit, EveryTextOfEveryScreenAndDialogFitsAndNoControlOverlapsAnother)
{
    const QFont desktop = QApplication::font();
    for (const int points : {9, 12}) {
        QFont font = desktop;
        font.setPointSize(points);
        QApplication::setFont(font);
        support::TemporaryProgramFolder folder;
        support::InMemoryHostFactory factory;
        MainWindow window(factory, u"xls"_s);
        window.show();
        std::vector<std::pair<std::unique_ptr<QWidget>, QString>> dialogs;
        dialogs.emplace_back(new AboutDialog, u"about"_s);
        dialogs.emplace_back(new CellColourDialog(nullptr, 7), u"colour"_s);
        dialogs.emplace_back(new CompareOptionsDialog(nullptr, {}), u"options"_s);
        dialogs.emplace_back(new ErrorReportDialog(nullptr, u"予期せぬエラー\r\n"_s.repeated(30)),
                             u"report"_s);
        dialogs.emplace_back(new PasswordDialog(nullptr, u"/tmp/帳票.xls"_s, QString()),
                             u"password"_s);
        auto* progress = new ProgressWindow(nullptr, false);
        progress->setBarVisible(true);
        progress->setPercent(50);
        dialogs.emplace_back(progress, u"progress"_s);
        QStringList found;
        for (const char* mode : {"searchModeAction", "printModeAction", "compareModeAction"}) {
            window.findChild<QAction*>(QLatin1String(mode))->trigger();
            QApplication::processEvents();
            found << faults(&window, QLatin1String(mode));
        }
        for (const auto& [dialog, name] : dialogs) {
            dialog->show();
            QApplication::processEvents();
            found << faults(dialog.get(), name);
        }
        EXPECT_TRUE(found.isEmpty()) << points << " points:\n" << found.join(u'\n').toStdString();
    }
    QApplication::setFont(desktop);
}

} // namespace
} // namespace brelix::ui
