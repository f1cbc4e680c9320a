#include "EnglishTexts.h"
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
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

// The text of a control that does not fit the room its style leaves for it (two lines for the
// wrapping buttons), or of a frame whose title lies on its line or under a control.
QString cutOffText(QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const auto fits = [&](const QRect& room, QString text, bool twoLines = false) {
        text.remove(u'&');
        const QSize need = twoLines ? QSize((fm.horizontalAdvance(text) + 1) / 2,
                                            2 * QFontInfo(w->font()).pixelSize())
                                    : fm.size(0, text) - QSize(0, 2);
        return room.width() >= need.width() && room.height() >= need.height() ? QString() : text;
    };
    const QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->wordWrap())
            return fits(label->contentsRect(), label->text());
        const QRect room = label->contentsRect();
        return fm.boundingRect(room, Qt::TextWordWrap, label->text()).height() > room.height()
                   ? label->text()
                   : QString();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const auto room = qobject_cast<QPushButton*>(w)    ? QStyle::SE_PushButtonContents
                          : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                           : QStyle::SE_CheckBoxContents;
        return fits(style->subElementRect(room, &option, w), button->text(),
                    dynamic_cast<WrappingPushButton*>(w) || dynamic_cast<WrappingRadioButton*>(w));
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, w);
        // The frame's top line as drawn, looked for at the right edge, away from the title.
        const QImage image = group->grab().toImage();
        int line = 0;
        while (line < image.height() &&
               image.pixel(image.width() - 3, line) == image.pixel(image.width() - 3, 0))
            ++line;
        bool covered = line / image.devicePixelRatio() <= title.bottom();
        for (const QWidget* inside : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            covered = covered || (inside->isVisible() && inside->geometry().intersects(title));
        return covered ? group->title() + u" covered"_s : fits(title, group->title());
    }
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        return fits(
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, w),
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
    return w->isVisible() &&
           (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
            qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
            qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractItemView*>(w));
}

// Each control whose text is cut off, that leaves the window or that overlaps another beside it.
QStringList faults(QWidget* window)
{
    window->show();
    QApplication::processEvents();
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.removeIf([](const QWidget* w) { return !isControl(w); });
    QStringList found;
    for (QWidget* w : controls) {
        const QString id = window->windowTitle() + u": "_s + w->objectName() + u": "_s;
        if (const QString text = cutOffText(w); !text.isEmpty())
            found << id + text;
        if (!window->rect().contains(QRect(w->mapTo(window, QPoint()), w->size())))
            found << id + u"outside"_s;
        for (QWidget* other : controls)
            if (w < other && other->parentWidget() == w->parentWidget() &&
                w->geometry().intersects(other->geometry()))
                found << id + u"overlaps "_s + other->objectName();
    }
    return found;
}

// Every text a user reads on `window` and its children: titles, captions, tooltips, hints,
// list entries and the menus' items.
QStringList readableTexts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(&window));
    for (QWidget* w : widgets) {
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        else if (auto* line = qobject_cast<QLineEdit*>(w))
            texts << line->placeholderText();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        for (QAction* action : w->actions())
            texts << action->text() << action->toolTip();
    }
    return texts;
}

// At the desktop's 9 points and at 12; CMake runs it again at a scale factor of 2.
TEST(TextFit, EveryTextOfEveryScreenAndDialogFitsAndNoControlOverlapsAnother)
{
    const QFont desktop = QApplication::font();
    for (const int points : {9, 12}) {
        QFont font = desktop;
        font.setPointSize(points);
        QApplication::setFont(font);
        const support::TemporaryProgramFolder folder;
        support::InMemoryHostFactory factory;
        MainWindow window(factory, u"xls"_s);
        QStringList found;
        for (const char* mode : {"searchModeAction", "printModeAction", "compareModeAction"}) {
            window.findChild<QAction*>(QLatin1String(mode))->trigger();
            found << faults(&window);
        }
        AboutDialog about;
        CellColourDialog colour(nullptr, 7);
        CompareOptionsDialog options(nullptr, {});
        ErrorReportDialog report(nullptr, u"予期せぬエラー\r\n"_s.repeated(30));
        PasswordDialog password(nullptr, u"/tmp/帳票.xls"_s, QString());
        ProgressWindow progress(nullptr, false);
        progress.setBarVisible(true);
        progress.setPercent(50);
        for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &colour, &options, &report,
                                                               &password, &progress})
            found << faults(dialog);
        EXPECT_TRUE(found.isEmpty()) << points << " points:\n" << found.join(u'\n').toStdString();
    }
    QApplication::setFont(desktop);
}

// In English every screen and dialog speaks English, and its texts fit as the Japanese ones do.
TEST(TextFit, InEnglishEveryScreenAndDialogSpeaksEnglishAndItsTextsFit)
{
    const support::EnglishTexts english;
    const support::TemporaryProgramFolder folder;
    support::InMemoryHostFactory factory;
    MainWindow window(factory, u"xls"_s);
    QStringList found;
    QStringList texts;
    for (const char* mode : {"searchModeAction", "printModeAction", "compareModeAction"}) {
        window.findChild<QAction*>(QLatin1String(mode))->trigger();
        found << faults(&window);
        texts << readableTexts(window);
    }
    AboutDialog about;
    CellColourDialog colour(nullptr, 7);
    CompareOptionsDialog options(nullptr, {});
    ErrorReportDialog report(nullptr, u"An unexpected error occurred"_s);
    PasswordDialog password(nullptr, u"/tmp/帳票.xls"_s, QString());
    ProgressWindow progress(nullptr, false);
    for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &colour, &options, &report,
                                                           &password, &progress}) {
        found << faults(dialog);
        texts << readableTexts(*dialog);
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
    EXPECT_EQ(support::japaneseLines(texts.join(u'\n'), {u"帳票"_s, u"テストデータ"_s}),
              QStringList());
}

} // namespace
} // namespace brelix::ui
