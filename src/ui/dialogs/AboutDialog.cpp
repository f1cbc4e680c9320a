#include "ui/dialogs/AboutDialog.h"

#include "core/Version.h"
#include "core/files/ProgramFolder.h"
#include "ui/desktop/OpenPage.h"
#include "ui/desktop/RemoveCloseButton.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace brelix::ui {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);

const QString kAuthor = QStringLiteral("Brelix developers");
const QString kContact = QStringLiteral("Brelix.html");
const QString kNotice = QStringLiteral("Copyright (C) Brelix developers");

// Draws its lines 180 twips apart, the height of the design's font, whatever face stands in
// for it: a taller face's own spacing would run the last line into the OK button and leave the
// link off its line.
class FixedPitchLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int ascent = fontMetrics().ascent();
        int top = 0;
        for (const QString& line : text().split(QLatin1Char('\n'))) {
            painter.drawText(QPoint(0, top + ascent), line);
            top += twips(180);
        }
    }
};

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), lblTitle(new FixedPitchLabel(this)), lblHttp(new QLabel(this)),
      cmdEnd(new QPushButton(QStringLiteral("OK"), this))
{
    setFont(gothicFont());
    setFixedSize(twips(4380), twips(2130));

    lblTitle->setGeometry(twipsRect(0, 0, 4695, 2055));
    lblTitle->setText(
        titleText(VersionMajor, VersionMinor, kAuthor, kContact, kNotice)
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // The address is long; the label shows what fits and the tooltip the whole of it.
    const QString address = homePage().toString();
    QFont linkFont = font();
    linkFont.setUnderline(true);
    lblHttp->setFont(linkFont);
    // Top-aligned like the lines beside it; as tall as the face so that nothing is cut off.
    lblHttp->setGeometry(twipsRect(1080, 900, 3090, 180));
    lblHttp->resize(lblHttp->width(), std::max(lblHttp->height(), lblHttp->fontMetrics().height()));
    lblHttp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHttp->setText(lblHttp->fontMetrics().elidedText(address, Qt::ElideMiddle, lblHttp->width()));
    lblHttp->setToolTip(address);
    lblHttp->setCursor(Qt::PointingHandCursor);
    setLinkColour(kBlue);

    cmdEnd->setGeometry(twipsRect(1440, 1560, 1455, 335));
    cmdEnd->setDefault(true);
    cmdEnd->setFocus();
    connect(cmdEnd, &QPushButton::clicked, this, &QDialog::accept);

    for (QLabel* label : {lblTitle, lblHttp}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }

    setWindowTitle(QStringLiteral("Brelix") + QStringLiteral(" バージョン情報"));
    removeCloseButton(this);
    setStaysOnTop(this, true);
}

void AboutDialog::showModal(QWidget* parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

QString AboutDialog::titleText(int major, int minor, const QString& author, const QString& contact,
                               const QString& notice)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString indent = QStringLiteral("　　");
    return crlf + indent + QStringLiteral("Brelix") + QStringLiteral("  　バージョン　") +
           QString::number(major) + QLatin1Char('.') +
           QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0')) + crlf + crlf + indent +
           QStringLiteral("著作権：") + author + crlf + indent + QStringLiteral("連絡先：") +
           contact + crlf + indent + QStringLiteral("ＨＰ　：") + crlf + crlf +
           QStringLiteral("　　　　　　") + notice + crlf + crlf;
}

QUrl AboutDialog::homePage()
{
    return QUrl::fromLocalFile(files::programFile(QStringLiteral("Brelix.html")));
}

void AboutDialog::lblHttp_Click()
{
    setLinkColour(kBlue);
    openPage(homePage());
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The link turns cyan under the mouse and stays so until the mouse moves elsewhere in the
    // window.
    if (event->type() == QEvent::MouseMove)
        setLinkColour(watched == lblHttp ? kCyan : kBlue);
    if (watched == lblHttp && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            lblHttp->rect().contains(mouse->position().toPoint()))
            lblHttp_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::setLinkColour(const QColor& colour)
{
    QPalette palette = lblHttp->palette();
    palette.setColor(QPalette::WindowText, colour);
    lblHttp->setPalette(palette);
}

} // namespace brelix::ui
