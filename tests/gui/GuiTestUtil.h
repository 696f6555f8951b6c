#pragma once

// Helpers for the GUI tests: a program folder with the built translations, and
// an answerer that presses a button on every modal message box, so that no test
// ever waits for a person.

#include "tests/TestUtil.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace GuiTestUtil {

// A temporary program folder (store open, data manager cleared) whose
// language/ folder holds the built translations.
class ProgramFolder : public TestUtil::Workspace
{
public:
    ProgramFolder()
    {
        QDir().mkpath(file(QStringLiteral("language")));
        const QDir built(QStringLiteral(QUORVANE_LANGUAGE_DIR));
        for (const QString &qm : built.entryList({ QStringLiteral("*.qm") }, QDir::Files))
            QFile::copy(built.filePath(qm), file(QStringLiteral("language/") + qm));
    }
    void write(const QString &name, const QByteArray &content) const
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// While it lives, answers every modal message box that opens by pressing the
// button with `role`, and records what the box showed.
class BoxAnswerer : public QObject
{
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
    };
    QList<Box> boxes;

    explicit BoxAnswerer(QMessageBox::ButtonRole role = QMessageBox::AcceptRole)
        : m_role(role)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }
    void setRole(QMessageBox::ButtonRole role) { m_role = role; }
    QStringList titles() const
    {
        QStringList list;
        for (const Box &b : boxes)
            list << b.title;
        return list;
    }

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Box seen { box->windowTitle(), box->text(), box->icon(), {} };
        QAbstractButton *press = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            seen.buttons << b->text();
            if (!press && box->buttonRole(b) == m_role)
                press = b;
        }
        boxes.append(seen);
        if (press)
            press->click();
        else
            box->reject();
    }

    QMessageBox::ButtonRole m_role;
    QTimer m_timer;
};

// Clicks the middle of a row of a list (in column `column`).
inline void clickRow(QAbstractItemView *view, int row, int column = 2, Qt::MouseButton button = Qt::LeftButton)
{
    const QRect rect = view->visualRect(view->model()->index(row, column));
    QTest::mouseClick(view->viewport(), button, Qt::NoModifier, rect.center());
}

// Runs `answer` on the next modal dialog that opens (found once the event loop
// runs it), so a test can fill it in and press a button.
inline void answerNextDialog(const std::function<void(QWidget *)> &answer)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start();
}

} // namespace GuiTestUtil
