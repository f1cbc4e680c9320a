#include "ui/dialogs/AboutDialog.h"

#include "core/Version.h"
#include "ui/desktop/OpenManual.h"
#include "ui/desktop/RemoveCloseButton.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/GothicFont.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace brelix::ui {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);

const QString kAuthor = QStringLiteral("Brelix developers");
const QString kContact = QStringLiteral("Brelix.html");
const QString kNotice = QStringLiteral("Copyright (C) Brelix developers");

const QString kIndent = QStringLiteral("　　");

// The lines above the manual's address: the version's minor number has two digits.
QString headText()
{
    return QStringList{
        QString(),
        kIndent + QCoreApplication::translate("AboutDialog", "Brelix  　バージョン　") +
            QString::number(VersionMajor) + u'.' +
            QStringLiteral("%1").arg(VersionMinor, 2, 10, QLatin1Char('0')),
        QString(), kIndent + QCoreApplication::translate("AboutDialog", "著作権：") + kAuthor,
        kIndent + QCoreApplication::translate("AboutDialog", "連絡先：") + kContact}
        .join(u'\n');
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), m_text(new QLabel(headText())), m_manualLink(new QLabel),
      m_okButton(new QPushButton(QStringLiteral("&OK")))
{
    setFont(gothicFont());
    m_text->setObjectName(QStringLiteral("aboutText"));
    auto* addressLabel =
        new QLabel(kIndent + QCoreApplication::translate("AboutDialog", "ＨＰ　："));
    auto* notice = new QLabel(u'\n' + QStringLiteral("　　　　　　") + kNotice + u'\n');

    // The address is long; the label shows what fits and the tooltip the whole of it.
    const QString address = manualUrl().toString();
    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_manualLink->setObjectName(QStringLiteral("manualLink"));
    m_manualLink->setFont(linkFont);
    m_manualLink->setFixedWidth(fontMetrics().horizontalAdvance(u'あ') * 17);
    m_manualLink->setText(
        // A pixel to spare: the shortened text may round up at a scale factor.
        m_manualLink->fontMetrics().elidedText(address, Qt::ElideMiddle,
                                               m_manualLink->width() - 2));
    m_manualLink->setToolTip(address);
    m_manualLink->setCursor(Qt::PointingHandCursor);
    setLinkColour(kBlue);

    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_okButton->setFocus();
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(0);
    grid->addWidget(m_text, 0, 0, 1, 2);
    grid->addWidget(addressLabel, 1, 0);
    grid->addWidget(m_manualLink, 1, 1);
    grid->addWidget(notice, 2, 0, 1, 2);
    grid->addWidget(m_okButton, 3, 0, 1, 2, Qt::AlignHCenter);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    for (QLabel* label : {m_text, addressLabel, notice, m_manualLink}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }

    setWindowTitle(QCoreApplication::translate("AboutDialog", "Brelix バージョン情報"));
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
