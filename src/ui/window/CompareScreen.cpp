#include "ui/window/CompareScreen.h"

#include "core/files/DroppedFile.h"
#include "core/files/ProgramFolder.h"
#include "ui/widgets/GothicFont.h"
#include "ui/widgets/StartAndQuitRow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace brelix::ui {

namespace {

// The width of `count` wide characters in the widget's font.
int wideCharacters(const QWidget* widget, int count)
{
    return widget->fontMetrics().horizontalAdvance(u'あ') * count;
}

// Frames as close round their controls as the fixed screen had them.
void tighten(QLayout* frameLayout)
{
    frameLayout->setContentsMargins(8, 2, 8, 6);
    frameLayout->setSpacing(4);
}

} // namespace

CompareScreen::CompareScreen(QWidget* parent) : QWidget(parent)
{
    auto* compareButton =
        new QPushButton(QCoreApplication::translate("CompareScreen", "比較開始"), this);
    auto* quitButton = new QPushButton(QCoreApplication::translate("CompareScreen", "終了"), this);
    compareButton->setObjectName(QStringLiteral("compareButton"));
    quitButton->setObjectName(QStringLiteral("compareQuitButton"));
    connect(compareButton, &QPushButton::clicked, this, &CompareScreen::compareRequested);
    connect(quitButton, &QPushButton::clicked, this, &CompareScreen::quitRequested);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->addWidget(buildFileGroup());
    layout->addWidget(buildOptionGroup());
    layout->addStretch();
    layout->addLayout(startAndQuitRow({compareButton}, quitButton));

    // Tab goes round from the quit button to the first file box.
    const QList<QWidget*> order = {quitButton,        m_fileBoxes[0],     m_browseButtons[0],
                                   m_fileBoxes[1],    m_browseButtons[1], m_colourDifferences,
                                   m_sheetRange[0],   m_sheetRange[1],    m_windowLayout[0],
                                   m_windowLayout[1], m_windowLayout[2],  compareButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QGroupBox* CompareScreen::buildFileGroup()
{
    auto* fileGroup =
        new QGroupBox(QCoreApplication::translate("CompareScreen", "ファイルを指定"), this);
    fileGroup->setObjectName(QStringLiteral("fileGroup"));
    auto* grid = new QGridLayout(fileGroup);
    tighten(grid);
    grid->setHorizontalSpacing(0);
    for (size_t i = 0; i < 2; ++i) {
        m_fileBoxes[i] = new QLineEdit(fileGroup);
        // Wide enough for a real path at the window's narrowest: 29.75 wide characters make
        // the window 420 pixels wide at the default font, as it always was.
        m_fileBoxes[i]->setMinimumWidth(wideCharacters(m_fileBoxes[i], 119) / 4);
        m_browseButtons[i] = new QPushButton(QStringLiteral("&..."), fileGroup);
        m_browseButtons[i]->setFont(proportionalGothicFont());
        const int side = m_fileBoxes[i]->sizeHint().height();
        m_browseButtons[i]->setFixedSize(
            std::max(side, m_browseButtons[i]->fontMetrics().horizontalAdvance(u"..."_s) + 8),
            side);
        grid->addWidget(m_fileBoxes[i], static_cast<int>(i), 0);
        grid->addWidget(m_browseButtons[i], static_cast<int>(i), 1);
        connect(m_browseButtons[i], &QPushButton::clicked, this,
                [this, i] { chooseFile(static_cast<int>(i)); });
        // The boxes take dropped files (and only files) themselves.
        m_fileBoxes[i]->setAcceptDrops(true);
        m_fileBoxes[i]->installEventFilter(this);
    }
    m_fileBoxes[0]->setObjectName(QStringLiteral("firstFile"));
    m_fileBoxes[1]->setObjectName(QStringLiteral("secondFile"));
    m_browseButtons[0]->setObjectName(QStringLiteral("firstFileButton"));
    m_browseButtons[1]->setObjectName(QStringLiteral("secondFileButton"));
    auto* dropHint = new QLabel(
        QCoreApplication::translate("CompareScreen", "ドラッグ＆ドロップでも指定できます"));
    dropHint->setObjectName(QStringLiteral("dropHint"));
    grid->addWidget(dropHint, 2, 0, 1, 2);
    return fileGroup;
}

QGroupBox* CompareScreen::buildOptionGroup()
{
    auto* optionGroup =
        new QGroupBox(QCoreApplication::translate("CompareScreen", "オプションを指定"), this);
    optionGroup->setObjectName(QStringLiteral("optionGroup"));
    m_colourDifferences =
        new QCheckBox(QCoreApplication::translate("CompareScreen", "差分個所の背景色変更"));
    m_colourDifferences->setObjectName(QStringLiteral("colourDifferences"));
    m_colourDifferences->setChecked(true);
    auto* sheetRangeLabel =
        new QLabel(QCoreApplication::translate("CompareScreen", "比較シート指定"));
    sheetRangeLabel->setObjectName(QStringLiteral("sheetRangeLabel"));
    auto* sheetRangeDash = new QLabel(QCoreApplication::translate("CompareScreen", "～"));
    sheetRangeDash->setObjectName(QStringLiteral("sheetRangeDash"));
    for (size_t i = 0; i < 2; ++i) {
        m_sheetRange[i] = new QLineEdit(optionGroup);
        m_sheetRange[i]->setMaxLength(2);
        m_sheetRange[i]->setFixedWidth(wideCharacters(m_sheetRange[i], 2));
        m_sheetRange[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        m_sheetRange[i]->setToolTip(
            QCoreApplication::translate("CompareScreen", "ブランクで全て指定"));
    }
    m_sheetRange[0]->setObjectName(QStringLiteral("firstSheet"));
    m_sheetRange[1]->setObjectName(QStringLiteral("lastSheet"));
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(m_colourDifferences);
    firstRow->addStretch();
    for (QWidget* each : std::initializer_list<QWidget*>{sheetRangeLabel, m_sheetRange[0],
                                                         sheetRangeDash, m_sheetRange[1]})
        firstRow->addWidget(each);

    auto* column = new QVBoxLayout(optionGroup);
    tighten(column);
    column->addLayout(firstRow);
    column->addWidget(buildLayoutGroup());
    return optionGroup;
}

QGroupBox* CompareScreen::buildLayoutGroup()
{
    auto* layoutGroup = new QGroupBox(QCoreApplication::translate("CompareScreen", "表示形式"));
    layoutGroup->setObjectName(QStringLiteral("windowLayoutGroup"));
    auto* layouts = new QHBoxLayout(layoutGroup);
    tighten(layouts);
    const std::array<std::pair<const char*, QString>, 3> captions = {
        std::pair{"normalLayout", QCoreApplication::translate("CompareScreen", "通常")},
        std::pair{"sideBySideLayout", QCoreApplication::translate("CompareScreen", "左右に並べる")},
        std::pair{"stackedLayout", QCoreApplication::translate("CompareScreen", "上下に並べる")}};
    for (size_t i = 0; i < captions.size(); ++i) {
        m_windowLayout[i] = new QRadioButton(captions[i].second);
        m_windowLayout[i]->setObjectName(QLatin1String(captions[i].first));
        layouts->addWidget(m_windowLayout[i]);
        layouts->addStretch();
    }
    m_windowLayout[0]->setChecked(true);
    return layoutGroup;
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
        this, QCoreApplication::translate("CompareScreen", "ﾌｧｲﾙを指定してください"),
        files::programFolder(),
        QCoreApplication::translate(
            "CompareScreen", "Excelファイル(*.xls);;Csvファイル　(*.csv);;全てのファイル(*.*)"));
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
