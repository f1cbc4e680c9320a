#include "ui/dialogs/CompareOptionsDialog.h"

#include "core/host/CellAddress.h"
#include "core/settings/SettingsNumber.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/GothicFont.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace brelix::ui {

namespace {

QLineEdit* lineEdit(const QString& objectName, const QString& example, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(objectName);
    edit->setPlaceholderText(example);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false); // letters and numbers only
    return edit;
}

QCheckBox* checkBox(const QString& objectName, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(objectName);
    box->setChecked(checked);
    return box;
}

// An empty edit stands for no columns.
std::optional<QList<int>> columnsOf(const QLineEdit* edit, int most)
{
    if (edit->text().trimmed().isEmpty())
        return QList<int>();
    return host::columnList(edit->text(), most);
}

} // namespace

CompareOptionsDialog::CompareOptionsDialog(QWidget* parent, const compare::DiffSettings& settings)
    : QDialog(parent), m_settings(settings)
{
    auto* okButton = new QPushButton(QStringLiteral("&OK"));
    auto* cancelButton =
        new QPushButton(QCoreApplication::translate("CompareOptionsDialog", "ｷｬﾝｾﾙ"));
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    okButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pairingGroup());
    layout->addWidget(equalityGroup());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setWindowTitle(QCoreApplication::translate("CompareOptionsDialog", "比較の設定"));
    setFont(proportionalGothicFont());
    connect(okButton, &QPushButton::clicked, this, &CompareOptionsDialog::acceptChoices);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setStaysOnTop(this, true);
    m_keyColumns->setFocus();
}

QGroupBox* CompareOptionsDialog::pairingGroup()
{
    m_keyColumns = lineEdit(QStringLiteral("keyColumns"),
                            QCoreApplication::translate("CompareOptionsDialog", "例: A または A,C"),
                            host::columnListText(m_settings.keyColumns));
    m_bySheetName =
        checkBox(QStringLiteral("bySheetName"),
                 QCoreApplication::translate("CompareOptionsDialog", "シートを名前で対応付ける"),
                 m_settings.bySheetName);

    auto* group = new QGroupBox(QCoreApplication::translate("CompareOptionsDialog", "対応付け"));
    auto* keyForm = new QFormLayout;
    keyForm->addRow(QCoreApplication::translate("CompareOptionsDialog", "キー列："), m_keyColumns);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(keyForm);
    layout->addWidget(new QLabel(QCoreApplication::translate(
        "CompareOptionsDialog", "キー列の値が同じ行どうしを比較します。\n"
                                "空欄なら行の位置で対応付けます。")));
    layout->addWidget(m_bySheetName);
    return group;
}

QGroupBox* CompareOptionsDialog::equalityGroup()
{
    const compare::EqualityRules& rules = m_settings.equality;
    m_ignoreCase =
        checkBox(QStringLiteral("ignoreCase"),
                 QCoreApplication::translate("CompareOptionsDialog", "大文字・小文字を区別しない"),
                 rules.ignoreCase);
    m_ignoreWidth =
        checkBox(QStringLiteral("ignoreWidth"),
                 QCoreApplication::translate("CompareOptionsDialog", "全角・半角を区別しない"),
                 rules.ignoreWidth);
    m_ignoreBlanks =
        checkBox(QStringLiteral("ignoreBlanks"),
                 QCoreApplication::translate("CompareOptionsDialog", "前後の空白を無視する"),
                 rules.ignoreBlanks);
    m_tolerance = lineEdit(QStringLiteral("tolerance"),
                           QCoreApplication::translate("CompareOptionsDialog", "例: 0.01"),
                           rules.tolerance ? settings::toleranceText(*rules.tolerance) : QString());
    m_ignoredColumns =
        lineEdit(QStringLiteral("ignoredColumns"),
                 QCoreApplication::translate("CompareOptionsDialog", "例: D または D,F"),
                 host::columnListText(rules.ignoredColumns));

    auto* group =
        new QGroupBox(QCoreApplication::translate("CompareOptionsDialog", "同じとみなす条件"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_ignoreCase);
    layout->addWidget(m_ignoreWidth);
    layout->addWidget(m_ignoreBlanks);
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("CompareOptionsDialog", "数値の許容誤差："),
                 m_tolerance);
    form->addRow(QCoreApplication::translate("CompareOptionsDialog", "比較しない列："),
                 m_ignoredColumns);
    layout->addLayout(form);
    return group;
}

void CompareOptionsDialog::acceptChoices()
{
    const std::optional<QList<int>> keys = columnsOf(m_keyColumns, compare::kMostKeyColumns);
    if (!keys)
        return refuse(m_keyColumns,
                      QCoreApplication::translate(
                          "CompareOptionsDialog",
                          "キー列には、列の文字を 5 列まで、コンマで区切って入力して"
                          "下さい。\n例: A または A,C\n空欄なら行の位置で対応付けます。"));
    std::optional<double> tolerance;
    if (!m_tolerance->text().trimmed().isEmpty() &&
        !(tolerance = settings::toleranceOf(m_tolerance->text())))
        return refuse(m_tolerance,
                      QCoreApplication::translate("CompareOptionsDialog",
                                                  "数値の許容誤差には、0 以上の数を入力して下さい。"
                                                  "\n例: 0.01\n空欄なら誤差を認めません。"));
    const std::optional<QList<int>> ignored = columnsOf(m_ignoredColumns, host::kLastColumn);
    if (!ignored)
        return refuse(m_ignoredColumns,
                      QCoreApplication::translate(
                          "CompareOptionsDialog",
                          "比較しない列には、列の文字をコンマで区切って入力して下さい。"
                          "\n例: D または D,F\n空欄なら全ての列を比較します。"));
    m_settings.keyColumns = *keys;
    m_settings.bySheetName = m_bySheetName->isChecked();
    compare::EqualityRules& rules = m_settings.equality;
    rules.ignoreCase = m_ignoreCase->isChecked();
    rules.ignoreWidth = m_ignoreWidth->isChecked();
    rules.ignoreBlanks = m_ignoreBlanks->isChecked();
    rules.tolerance = tolerance;
    rules.ignoredColumns = *ignored;
    accept();
}

void CompareOptionsDialog::refuse(QLineEdit* edit, const QString& message)
{
    QMessageBox::warning(this, windowTitle(), message);
    edit->setFocus();
    edit->selectAll();
}

std::optional<compare::DiffSettings>
CompareOptionsDialog::ask(QWidget* parent, const compare::DiffSettings& settings)
{
    CompareOptionsDialog dialog(parent, settings);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}

} // namespace brelix::ui
