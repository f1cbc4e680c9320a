#pragma once

#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace brelix::ui {

// The child of this object name and type; a missing one fails the test that asks for it.
template <typename T = QWidget> T* find(const QObject& parent, const QString& name)
{
    if (T* found = parent.findChild<T*>(name))
        return found;
    throw std::runtime_error("no child named " + name.toStdString());
}
template <typename T = QWidget> T* find(const QObject& parent, const char* name)
{
    return find<T>(parent, QString::fromLatin1(name));
}

// Answers each modal window shown while it lives: `act` handles it (by default Yes, else OK,
// of a message box) and `seen` keeps "title|text" of each. A window still open at the next
// look fails the test and is closed, so that a fault cannot hang it.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> act = pressYesOrOk) : m_act(act)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal && modal == m_last) {
                ADD_FAILURE() << "stayed open: " << modal->windowTitle().toStdString();
                modal->done(QDialog::Rejected);
            } else if ((m_last = modal)) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen << modal->windowTitle() + (box ? u'|' + box->text() : QString());
                m_act(modal);
            }
        });
        m_timer.start(10);
    }
    static void pressYesOrOk(QWidget* window)
    {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            (box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)
                                           : box->button(QMessageBox::Ok))
                ->click();
    }
    QStringList seen;

private:
    std::function<void(QWidget*)> m_act;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};

// The program's folder in a temporary folder, over the in-memory office.
class ProgramFolderTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void writeSettings(const QString& text)
    {
        QFile ini(file(QStringLiteral("Brelix.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(text.toUtf8());
    }
    QString settingsText() const
    {
        QFile ini(file(QStringLiteral("Brelix.ini")));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    }

    support::TemporaryProgramFolder m_dir;
    support::InMemoryHostFactory m_factory;
};

} // namespace brelix::ui
