#pragma once

#include "core/compare/DiffSettings.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace brelix::ui {

// Chooses how a comparison pairs rows and sheets and when differing texts still count as
// equal: the key columns, sheets by name and the rules of equality.
class CompareOptionsDialog : public QDialog {
    Q_OBJECT
public:
    CompareOptionsDialog(QWidget* parent, const compare::DiffSettings& settings);

    // Shows the dialog modally: `settings` with the pairing and rules chosen on OK, nothing on
    // cancel or Close.
    static std::optional<compare::DiffSettings> ask(QWidget* parent,
                                                    const compare::DiffSettings& settings);

    // The settings given at the start, or as OK took them.
    const compare::DiffSettings& settings() const { return m_settings; }

private:
    QGroupBox* pairingGroup();  // the key columns and sheets by name
    QGroupBox* equalityGroup(); // the rules of equality
    void acceptChoices();
    // Says what the edit takes and gives it the focus, the dialog staying open.
    void refuse(QLineEdit* edit, const QString& message);

    compare::DiffSettings m_settings;
    QLineEdit* m_keyColumns = nullptr;
    QCheckBox* m_bySheetName = nullptr;
    QCheckBox* m_ignoreCase = nullptr;
    QCheckBox* m_ignoreWidth = nullptr;
    QCheckBox* m_ignoreBlanks = nullptr;
    QLineEdit* m_tolerance = nullptr;
    QLineEdit* m_ignoredColumns = nullptr;
};

} // namespace brelix::ui
