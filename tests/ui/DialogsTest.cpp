#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "core/host/ColorPalette.h"
#include "ui/desktop/OpenWithDesktop.h"
#include "ui/desktop/RemoveCloseButton.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

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

// Acts on the modal dialog of type D once it shows; a dialog the action leaves open is a
// failure and is closed, so that a fault cannot hang the test.
template <typename D> void whenShown(std::function<void(D*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog is not shown";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->done(QDialog::Rejected);
            return;
        }
        action(dialog);
        QPointer<D> guard(dialog);
        QTimer::singleShot(0, [guard] {
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                guard->done(QDialog::Rejected);
            }
        });
    });
}

void press(QWidget* target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void mouse(QWidget* target, QEvent::Type type)
{
    const QPointF at(2, 2);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The colour a swatch shows at its corner, beside the indicator.
QRgb swatch(const CellColourDialog& dialog, int index)
{
    return dialog.optColor.at(index)->grab().toImage().pixel(1, 1) & 0xFFFFFF;
}

// The program's folder in a temporary folder, for the help document and the settings.
class ProgramFolderTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    void touch(const QString& name)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QByteArray settingsText()
    {
        QFile ini(file(u"Brelix.ini"_s));
        return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
    }

    support::TemporaryProgramFolder m_dir;
    support::InMemoryHostFactory m_factory;
};

TEST(ColourDialog, SixSwatchesLeftToRightEachStandingForItsPaletteIndex)
{
    CellColourDialog dialog(nullptr, 7);
    EXPECT_EQ(dialog.windowTitle(), u"設定"_s);
    EXPECT_EQ(dialog.Frame1->title(), u"比較背景色"_s);
    EXPECT_EQ(dialog.cmdOk->text(), u"設定"_s);
    EXPECT_EQ(dialog.cmdNg->text(), u"取消"_s);
    EXPECT_EQ(dialog.size(), QSize(216, 113));

    const std::array<int, 6> leftToRight = {7, 44, 6, 4, 8, 15};
    ASSERT_EQ(dialog.optColor.size(), leftToRight.size());
    for (size_t i = 0; i < leftToRight.size(); ++i) {
        const QRadioButton* option = dialog.optColor.at(leftToRight[i]);
        EXPECT_EQ(option->geometry(), QRect(8 + 32 * static_cast<int>(i), 24, 25, 25));
        EXPECT_TRUE(option->text().isEmpty());
    }
    // The swatches show the palette's colours, except 44, which the dialog shows orange.
    for (int index : {7, 6, 4, 8, 15})
        EXPECT_EQ(swatch(dialog, index), host::ColorPalette::rgb(index)) << index;
    EXPECT_EQ(swatch(dialog, 44), 0xFF8000u);

    EXPECT_FALSE(dialog.cmdOk->isDefault() || dialog.cmdOk->autoDefault());
    EXPECT_FALSE(dialog.cmdNg->isDefault() || dialog.cmdNg->autoDefault());
    EXPECT_EQ(dialog.optColor.at(6)->nextInFocusChain(), dialog.optColor.at(8));
    EXPECT_EQ(dialog.optColor.at(8)->nextInFocusChain(), dialog.optColor.at(4));
    EXPECT_EQ(dialog.optColor.at(15)->nextInFocusChain(), dialog.cmdOk);
}

TEST(ColourDialog, OpensOnTheCurrentIndexAndAnUnknownIndexFallsBackToMagenta)
{
    for (int index : {7, 44, 6, 4, 8, 15}) {
        CellColourDialog dialog(nullptr, index);
        EXPECT_TRUE(dialog.optColor.at(index)->isChecked()) << index;
        dialog.cmdOk->click();
        EXPECT_EQ(dialog.diffColor(), index);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    CellColourDialog edited(nullptr, 3);
    EXPECT_TRUE(edited.optColor.at(7)->isChecked());
    EXPECT_EQ(edited.diffColor(), 3); // nothing chosen yet
    edited.cmdOk->click();
    EXPECT_EQ(edited.diffColor(), 7);
}

TEST(ColourDialog, SetReturnsTheChoiceCancelAndCloseReturnNothing)
{
    whenShown<CellColourDialog>([](CellColourDialog* d) {
        d->optColor.at(8)->click();
        d->cmdOk->click();
    });
    EXPECT_EQ(CellColourDialog::ask(nullptr, 44), std::optional<int>(8));

    whenShown<CellColourDialog>([](CellColourDialog* d) {
        d->optColor.at(15)->click();
        d->cmdNg->click();
    });
    EXPECT_EQ(CellColourDialog::ask(nullptr, 44), std::nullopt);

    whenShown<CellColourDialog>([](CellColourDialog* d) {
        d->optColor.at(6)->click();
        d->close();
    });
    EXPECT_EQ(CellColourDialog::ask(nullptr, 44), std::nullopt);
}

TEST(ColourDialog, EscDoesNothingAndEnterPressesOnlyAFocusedButton)
{
    bool openAfterKeys = false;
    whenShown<CellColourDialog>([&openAfterKeys](CellColourDialog* d) {
        d->optColor.at(4)->click();
        d->optColor.at(4)->setFocus();
        press(d->optColor.at(4), Qt::Key_Escape);
        press(d->optColor.at(4), Qt::Key_Return);
        openAfterKeys = d->isVisible();
        d->cmdOk->setFocus();
        press(d->cmdOk, Qt::Key_Return);
    });
    EXPECT_EQ(CellColourDialog::ask(nullptr, 7), std::optional<int>(4));
    EXPECT_TRUE(openAfterKeys);
}

TEST(AboutWindow, TheTitleTextLineByLine)
{
    const QString text = AboutDialog::titleText(4, 6, u"著者"_s, u"連絡"_s, u"注記"_s);
    const QStringList lines = text.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 10); // nine lines, the last one ending with CR LF too
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], u"　　Brelix  　バージョン　4.06"_s);
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], u"　　著作権：著者"_s);
    EXPECT_EQ(lines[4], u"　　連絡先：連絡"_s);
    EXPECT_EQ(lines[5], u"　　ＨＰ　："_s);
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[7], u"　　　　　　注記"_s);
    EXPECT_EQ(lines[8], QString());
    EXPECT_TRUE(AboutDialog::titleText(4, 12, {}, {}, {}).contains(u"バージョン　4.12\r\n"_s));
}

TEST_F(ProgramFolderTest, TheAboutWindowShowsTheVersionAuthorAndTheHelpDocumentAsHomePage)
{
    AboutDialog window;
    EXPECT_EQ(window.windowTitle(), u"Brelix バージョン情報"_s);
    EXPECT_EQ(window.size(), QSize(292, 142));
    EXPECT_TRUE(window.lblTitle->text().contains(u"Brelix  　バージョン　4.06"_s));
    EXPECT_TRUE(window.lblTitle->text().contains(u"著作権：Brelix developers"_s));
    EXPECT_EQ(window.lblHttp->pos(), QPoint(72, 60));
    EXPECT_EQ(window.cmdEnd->text(), u"OK"_s);
    EXPECT_EQ(window.cmdEnd->geometry(), QRect(96, 104, 97, 22));
    EXPECT_TRUE(window.cmdEnd->isDefault());

    EXPECT_EQ(AboutDialog::homePage(), QUrl::fromLocalFile(file(u"Brelix.html"_s)));
    EXPECT_EQ(window.lblHttp->toolTip(), AboutDialog::homePage().toString());
    EXPECT_TRUE(window.lblHttp->font().underline());
    EXPECT_EQ(window.lblHttp->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(AboutWindow, EscAndCloseLeaveItOpenOnlyOkOrEnterCloseIt)
{
    bool openAfterEsc = false;
    bool closeRefused = false;
    whenShown<AboutDialog>([&](AboutDialog* w) {
        press(w, Qt::Key_Escape);
        openAfterEsc = w->isVisible();
        closeRefused = !w->close() && w->isVisible();
        press(w, Qt::Key_Return);
    });
    AboutDialog::showModal(nullptr);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_TRUE(closeRefused);

    whenShown<AboutDialog>([](AboutDialog* w) { w->cmdEnd->click(); });
    AboutDialog::showModal(nullptr);
}

TEST_F(ProgramFolderTest, TheLinkTurnsCyanUnderTheMouseAndOpensTheHelpDocument)
{
    OpenedUrls opened;
    AboutDialog window;
    const auto linkColour = [&window] {
        return window.lblHttp->palette().color(QPalette::WindowText);
    };
    mouse(window.lblHttp, QEvent::MouseMove);
    EXPECT_EQ(linkColour(), QColor(0, 255, 255));
    mouse(window.cmdEnd, QEvent::MouseMove); // not the large label: the link stays cyan
    EXPECT_EQ(linkColour(), QColor(0, 255, 255));
    mouse(window.lblTitle, QEvent::MouseMove);
    EXPECT_EQ(linkColour(), QColor(0, 0, 255));
    EXPECT_TRUE(opened.urls.isEmpty());

    mouse(window.lblHttp, QEvent::MouseMove);
    mouse(window.lblHttp, QEvent::MouseButtonPress);
    mouse(window.lblHttp, QEvent::MouseButtonRelease);
    EXPECT_EQ(linkColour(), QColor(0, 0, 255));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(file(u"Brelix.html"_s))});
}

TEST_F(ProgramFolderTest, TskKidouOpensAnExistingFileAndGives2ForAMissingOne)
{
    OpenedUrls opened;
    EXPECT_EQ(openWithDesktop(file(u"missing.html"_s)), 2);
    EXPECT_TRUE(opened.urls.isEmpty());
    touch(u"Brelix.html"_s);
    EXPECT_EQ(openWithDesktop(file(u"Brelix.html"_s)), 0);
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(file(u"Brelix.html"_s))});
}

TEST(WinClose, DropsOnlyTheCloseButtonAndKeepsAShownWindowShown)
{
    QWidget window;
    window.show();
    removeCloseButton(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::CustomizeWindowHint));
}

TEST_F(ProgramFolderTest, TheMenuOpensTheColourDialogAndTheChoiceIsSavedAtTheEnd)
{
    {
        MainWindow window(m_factory, QString());
        ASSERT_TRUE(window.mnuSet->isEnabled());
        whenShown<CellColourDialog>([](CellColourDialog* d) {
            EXPECT_TRUE(d->optColor.at(7)->isChecked());
            d->optColor.at(44)->click();
            d->cmdOk->click();
        });
        window.mnuSet->trigger();
        whenShown<CellColourDialog>([](CellColourDialog* d) {
            EXPECT_TRUE(d->optColor.at(44)->isChecked());
            d->optColor.at(4)->click();
            d->cmdNg->click();
        });
        window.mnuSet->trigger();
        window.close();
    }
    EXPECT_TRUE(settingsText().contains("[DIFFCL]44\r\n"));
}

TEST_F(ProgramFolderTest, TheMenuOpensTheAboutWindowAndTheHelpDocument)
{
    MainWindow window(m_factory, QString());
    ASSERT_TRUE(window.mnuVer->isEnabled());
    bool shown = false;
    whenShown<AboutDialog>([&shown](AboutDialog* w) {
        shown = true;
        w->cmdEnd->click();
    });
    window.mnuVer->trigger();
    EXPECT_TRUE(shown);

    OpenedUrls opened;
    QString message;
    whenShown<QMessageBox>([&message](QMessageBox* box) {
        message = box->windowTitle() + u"/"_s + box->text();
        box->accept();
    });
    window.mnuHelp->trigger();
    EXPECT_EQ(message, u"ヘルプ無し/ヘルプファイルがありません"_s);
    EXPECT_TRUE(opened.urls.isEmpty());

    touch(u"Brelix.html"_s);
    window.mnuHelp->trigger();
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(file(u"Brelix.html"_s))});
}

} // namespace
} // namespace brelix::ui

#include "DialogsTest.moc"
