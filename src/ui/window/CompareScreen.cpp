#include "ui/window/CompareScreen.h"

#include "core/files/DroppedFile.h"
#include "core/files/ProgramFolder.h"
#include "ui/widgets/Twips.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

namespace brelix::ui {

CompareScreen::CompareScreen(QWidget* parent) : QWidget(parent)
{
    const std::array<QPushButton*, 2> browseButtons = buildFileGroup();
    buildOptionGroup();
    auto* compareButton =
        placeInTwips(new QPushButton(QStringLiteral("比較開始"), this), 120, 3000, 2655, 495);
    auto* quitButton =
        placeInTwips(new QPushButton(QStringLiteral("終了"), this), 3240, 3000, 2655, 495);
    compareButton->setObjectName(QStringLiteral("compareButton"));
    quitButton->setObjectName(QStringLiteral("compareQuitButton"));
    connect(compareButton, &QPushButton::clicked, this, &CompareScreen::compareRequested);
    connect(quitButton, &QPushButton::clicked, this, &CompareScreen::quitRequested);

    // Tab goes round from the quit button to the first file box.
    const QList<QWidget*> order = {quitButton,        m_fileBoxes[0],    browseButtons[0],
                                   m_fileBoxes[1],    browseButtons[1],  m_colourDifferences,
                                   m_sheetRange[0],   m_sheetRange[1],   m_windowLayout[0],
                                   m_windowLayout[1], m_windowLayout[2], compareButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

std::array<QPushButton*, 2> CompareScreen::buildFileGroup()
{
    auto* fileGroup =
        placeInTwips(new QGroupBox(QStringLiteral("ファイルを指定"), this), 120, 0, 5775, 1335);
    fileGroup->setObjectName(QStringLiteral("fileGroup"));
    std::array<QPushButton*, 2> browseButtons{};
    for (size_t i = 0; i < 2; ++i) {
        const int top = 240 + static_cast<int>(i) * 360;
        m_fileBoxes[i] = placeInTwips(new QLineEdit(fileGroup), 240, top, 5055, 270);
        browseButtons[i] =
            placeInTwips(new QPushButton(QStringLiteral("..."), fileGroup), 5280, top, 255, 255);
        browseButtons[i]->setFont(proportionalGothicFont());
        connect(browseButtons[i], &QPushButton::clicked, this,
                [this, i] { chooseFile(static_cast<int>(i)); });
        // The boxes take dropped files (and only files) themselves.
        m_fileBoxes[i]->setAcceptDrops(true);
        m_fileBoxes[i]->installEventFilter(this);
    }
    m_fileBoxes[0]->setObjectName(QStringLiteral("firstFile"));
    m_fileBoxes[1]->setObjectName(QStringLiteral("secondFile"));
    browseButtons[0]->setObjectName(QStringLiteral("firstFileButton"));
    browseButtons[1]->setObjectName(QStringLiteral("secondFileButton"));
    auto* dropHint =
        placeInTwips(new QLabel(QStringLiteral("ドラッグ＆ドロップでも指定できます"), fileGroup),
                     240, 960, 4455, 255);
    dropHint->setObjectName(QStringLiteral("dropHint"));
    return browseButtons;
}

void CompareScreen::buildOptionGroup()
{
    auto* optionGroup = placeInTwips(new QGroupBox(QStringLiteral("オプションを指定"), this), 120,
                                     1440, 5775, 1335);
    optionGroup->setObjectName(QStringLiteral("optionGroup"));
    m_colourDifferences = placeInTwips(
        new QCheckBox(QStringLiteral("差分個所の背景色変更"), optionGroup), 240, 240, 2175, 255);
    m_colourDifferences->setObjectName(QStringLiteral("colourDifferences"));
    m_colourDifferences->setChecked(true);
    auto* sheetRangeLabel =
        placeInTwips(new QLabel(QStringLiteral("比較シート指定　　　　　～"), optionGroup), 3000,
                     280, 2655, 255);
    sheetRangeLabel->setObjectName(QStringLiteral("sheetRangeLabel"));
    for (size_t i = 0; i < 2; ++i) {
        m_sheetRange[i] = placeInTwips(new QLineEdit(optionGroup), 4320 + static_cast<int>(i) * 720,
                                       240, 375, 270);
        m_sheetRange[i]->setMaxLength(2);
        m_sheetRange[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        m_sheetRange[i]->setToolTip(QStringLiteral("ブランクで全て指定"));
    }
    m_sheetRange[0]->setObjectName(QStringLiteral("firstSheet"));
    m_sheetRange[1]->setObjectName(QStringLiteral("lastSheet"));
    auto* layoutGroup =
        placeInTwips(new QGroupBox(QStringLiteral("表示形式"), optionGroup), 240, 600, 5295, 615);
    layoutGroup->setObjectName(QStringLiteral("windowLayoutGroup"));
    struct Layout {
        const char* name;
        QString caption;
        int left;
        int width;
    };
    const std::array<Layout, 3> layouts = {
        Layout{"normalLayout", QStringLiteral("通常"), 120, 735},
        Layout{"sideBySideLayout", QStringLiteral("左右に並べる"), 1440, 1455},
        Layout{"stackedLayout", QStringLiteral("上下に並べる"), 3120, 1455}};
    for (size_t i = 0; i < layouts.size(); ++i) {
        m_windowLayout[i] = placeInTwips(new QRadioButton(layouts[i].caption, layoutGroup),
                                         layouts[i].left, 240, layouts[i].width, 255);
        m_windowLayout[i]->setObjectName(QLatin1String(layouts[i].name));
    }
    m_windowLayout[0]->setChecked(true);
}

void CompareScreen::setFiles(const QString& first, const QString& second)
{
    m_fileBoxes[0]->setText(first);
    m_fileBoxes[1]->setText(second);
}

void CompareScreen::applySettings(const settings::Settings& settings)
{
    m_colourDifferences->setCheckState(settings.colourDifferences);
    for (size_t i = 0; i < m_windowLayout.size(); ++i)
        m_windowLayout[i]->setChecked(settings.windowLayout == static_cast<int>(i));
}

void CompareScreen::writeSettings(settings::Settings& settings) const
{
    settings.colourDifferences = m_colourDifferences->checkState();
    settings.windowLayout = -1;
    for (size_t i = 0; i < m_windowLayout.size(); ++i)
        if (m_windowLayout[i]->isChecked())
            settings.windowLayout = static_cast<int>(i);
}

compare::DiffSettings CompareScreen::diffSettings() const
{
    compare::DiffSettings settings;
    settings.firstPath = m_fileBoxes[0]->text();
    settings.secondPath = m_fileBoxes[1]->text();
    settings.startSheetText = m_sheetRange[0]->text();
    settings.lastSheetText = m_sheetRange[1]->text();
    settings.layout = compare::WindowLayout::None;
    for (size_t i = 0; i < m_windowLayout.size() && settings.layout == compare::WindowLayout::None;
         ++i)
        if (m_windowLayout[i]->isChecked())
            settings.layout = static_cast<compare::WindowLayout>(i);
    settings.colourDifferences = m_colourDifferences->checkState() != Qt::Unchecked;
    return settings;
}

void CompareScreen::chooseFile(int box)
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, QStringLiteral("ﾌｧｲﾙを指定してください"), files::programFolder(),
        QStringLiteral("Excelファイル(*.xls);;Csvファイル　(*.csv);;全てのファイル(*.*)"));
    if (!chosen.isEmpty())
        m_fileBoxes[static_cast<size_t>(box)]->setText(chosen);
}

namespace {

QStringList fileNames(const QMimeData* dropped)
{
    QStringList names;
    for (const QUrl& url : dropped->urls())
        if (url.isLocalFile())
            names.append(url.toLocalFile());
    return names;
}

} // namespace

void CompareScreen::takeDroppedFiles(int box, const QMimeData* dropped)
{
    const QStringList names = fileNames(dropped);
    if (const std::optional<QString> text = files::textFromDrop(names))
        m_fileBoxes[static_cast<size_t>(box)]->setText(*text);
}

bool CompareScreen::eventFilter(QObject* watched, QEvent* event)
{
    for (size_t i = 0; i < m_fileBoxes.size(); ++i) {
        if (watched != m_fileBoxes[i])
            continue;
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            break;
        // Only file names go into a box; dragged text must not reach the box's own editing.
        auto* drag = static_cast<QDropEvent*>(event);
        if (fileNames(drag->mimeData()).isEmpty()) {
            drag->ignore();
            return true;
        }
        if (type == QEvent::Drop)
            takeDroppedFiles(static_cast<int>(i), drag->mimeData());
        drag->acceptProposedAction();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brelix::ui
