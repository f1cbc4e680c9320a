#include "ui/dialogs/AboutDialog.h"

#include "core/Version.h"
#include "ui/desktop/OpenManual.h"
#include "ui/desktop/RemoveCloseButton.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/FixedPitchLabel.h"
#include "ui/widgets/Twips.h"

#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

namespace brelix::ui {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);

const QString kAuthor = QStringLiteral("Brelix developers");
const QString kContact = QStringLiteral("Brelix.html");
const QString kNotice = QStringLiteral("Copyright (C) Brelix developers");

// Nine lines; the manual's address goes beside the fifth, "ＨＰ　：". The minor version has two
// digits.
QString aboutText()
{
    const QString indent = QStringLiteral("　　");
    return QStringList{QString(),
                       indent + QStringLiteral("Brelix  　バージョン　") +
                           QString::number(VersionMajor) + u'.' +
                           QStringLiteral("%1").arg(VersionMinor, 2, 10, QLatin1Char('0')),
                       QString(),
                       indent + QStringLiteral("著作権：") + kAuthor,
                       indent + QStringLiteral("連絡先：") + kContact,
                       indent + QStringLiteral("ＨＰ　："),
                       QString(),
                       QStringLiteral("　　　　　　") + kNotice,
                       QString(),
                       QString()}
        .join(u'\n');
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), m_text(new FixedPitchLabel(twips(180), this)),
      m_manualLink(new QLabel(this)), m_okButton(new QPushButton(QStringLiteral("OK"), this))
{
    setFont(gothicFont());
    setFixedSize(twips(4380), twips(2130));

    // 180 twips apart, the height of a 9 point line, so that the link stays beside its line
    // and the last line clear of the OK button.
    m_text->setObjectName(QStringLiteral("aboutText"));
    m_text->setGeometry(twipsRect(0, 0, 4695, 2055));
    m_text->setText(aboutText());

    // The address is long; the label shows what fits and the tooltip the whole of it.
    const QString address = manualUrl().toString();
    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_manualLink->setObjectName(QStringLiteral("manualLink"));
    m_manualLink->setFont(linkFont);
    // Top-aligned like the lines beside it; as tall as the face so that nothing is cut off.
    m_manualLink->setGeometry(twipsRect(1080, 900, 3090, 180));
    m_manualLink->resize(m_manualLink->width(),
                         std::max(m_manualLink->height(), m_manualLink->fontMetrics().height()));
    m_manualLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_manualLink->setText(
        m_manualLink->fontMetrics().elidedText(address, Qt::ElideMiddle, m_manualLink->width()));
    m_manualLink->setToolTip(address);
    m_manualLink->setCursor(Qt::PointingHandCursor);
    setLinkColour(kBlue);

    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setGeometry(twipsRect(1440, 1560, 1455, 335));
    m_okButton->setDefault(true);
    m_okButton->setFocus();
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    for (QLabel* label : {m_text, m_manualLink}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }

    setWindowTitle(QStringLiteral("Brelix バージョン情報"));
    removeCloseButton(this);
    setStaysOnTop(this, true);
}

void AboutDialog::showModal(QWidget* parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The link turns cyan under the mouse and stays so until the mouse moves over the text
    // beside it.
    if (event->type() == QEvent::MouseMove)
        setLinkColour(watched == m_manualLink ? kCyan : kBlue);
    if (watched == m_manualLink && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_manualLink->rect().contains(mouse->position().toPoint())) {
            setLinkColour(kBlue);
            openManual();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::setLinkColour(const QColor& colour)
{
    QPalette palette = m_manualLink->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_manualLink->setPalette(palette);
}

} // namespace brelix::ui
