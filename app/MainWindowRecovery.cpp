// Nothing unsaved is lost when the editor is ended from outside (a signal, the
// end of the desktop session), and nothing saved stays out of sight at start:
// the recovery copy of unsaved edits and the offer of the saved phonebook.

#include "app/MainWindow.h"

#include "app/TerminationSignals.h"
#include "data/RecoveryCopy.h"
#include "manager/DataMgr.h"
#include "widgets/ContactView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>

namespace {

// How long a command still running may hold up the end a signal asked for.
constexpr int kEndRetryMs = 100;
constexpr int kEndRetries = 50;

QString contactCount(int count)
{
    return count == 1 ? MainWindow::tr("1 contact") : MainWindow::tr("%1 contacts").arg(count);
}

} // namespace

void MainWindow::watchSessionEnd()
{
    auto *watcher = new TerminationSignals(this);
    connect(watcher, &TerminationSignals::received, this, &MainWindow::onTerminationSignal);
    // Direct: the manager is only valid during the call.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitSessionData, Qt::DirectConnection);
}

void MainWindow::onTerminationSignal()
{
    if (m_closed || m_endAttempts >= 0)
        return;
    m_endAttempts = 0;
    endWhenIdle();
}

void MainWindow::endWhenIdle()
{
    if (m_closed)
        return;
    // A box or dialog still open is answered as cancelled, and the command behind
    // it runs to its end first, so that the copy holds whole lists.
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *popup = QApplication::activePopupWidget();
    const bool running = modal || popup || DataMgr::instance()->isBusy() || (m_overlay && m_overlay->isVisible());
    if (running && m_endAttempts++ < kEndRetries) {
        if (popup)
            popup->close();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else if (modal)
            modal->close();
        QTimer::singleShot(kEndRetryMs, this, &MainWindow::endWhenIdle);
        return;
    }
    keepUnsavedEdits();
    closeWindow();
}

bool MainWindow::keepUnsavedEdits()
{
    if (m_closed)
        return false;
    commitDetail();
    if (isSaved() || m_sessionEnd == SessionEnd::DropEdits)
        return true;
    DataMgr *mgr = DataMgr::instance();
    QString error;
    if (RecoveryCopy::write(RecoveryCopy::path(), mgr->phonebook().contacts(), mgr->phonebook().groups(), &error))
        return true;
    // Nobody may be left to read a box.
    qCritical("The unsaved edits could not be kept in %s: %s", qPrintable(RecoveryCopy::path()), qPrintable(error));
    return false;
}

bool MainWindow::commitSession(bool mayAsk)
{
    if (m_closed)
        return true;
    commitDetail();
    if (isSaved() || !mayAsk) {
        keepUnsavedEdits();
        m_sessionEnd = SessionEnd::EditsKept;
        return true;
    }
    const SaveAnswer answer = askToSave(QMessageBox::Question, tr("Exit program"),
        tr("Do you want to save this phone book?"), tr("Exit without saving"), QStringLiteral("session_end_box"));
    if (answer == Cancelled || (answer == SaveFirst && !saveFile()))
        return false;
    m_sessionEnd = answer == Discard ? SessionEnd::DropEdits : SessionEnd::EditsKept;
    return true;
}

void MainWindow::commitSessionData(QSessionManager &manager)
{
    const bool mayAsk = manager.allowsInteraction();
    const bool ends = commitSession(mayAsk);
    if (mayAsk)
        manager.release();
    if (!ends)
        manager.cancel();
}

bool MainWindow::closesForSessionEnd(const QCloseEvent *event) const
{
    // The session's end closes every window from within (not the user's click),
    // after commitSession() has settled the edits.
    return m_sessionEnd != SessionEnd::None && !event->spontaneous();
}

void MainWindow::offerRecoveryCopy()
{
    const QString path = RecoveryCopy::path();
    if (!QFile::exists(path))
        return;
    RecoveryCopy::Contents copy;
    QString error;
    if (!RecoveryCopy::read(path, &copy, &error)) {
        QMessageBox::warning(this, tr("Unsaved edits"),
            tr("A copy of unsaved edits was found but cannot be read: %1\nIt is left in %2.")
                .arg(error, QDir::toNativeSeparators(path)));
        return;
    }
    QMessageBox box(QMessageBox::Question, tr("Unsaved edits"),
        tr("The editor was ended on %1 with unsaved edits. A copy of them was kept (%2).")
            .arg(QLocale().toString(copy.written.toLocalTime(), QLocale::ShortFormat),
                contactCount(int(copy.contacts.size()))),
        QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("recovery_box"));
    box.setInformativeText(tr("Restore brings them back as unsaved edits; the saved phonebook stays as it is until "
                              "you save. Discard deletes the copy. Later asks again at the next start."));
    QPushButton *restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(tr("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) {
        DataMgr::instance()->takePhonebook(copy.contacts, copy.groups);
        forgetHistory();
        setSaved(false);
    } else if (box.clickedButton() != discard) {
        return;
    }
    // Restored edits are unsaved edits like any other from now on.
    QFile file(path);
    if (!file.remove()) {
        QMessageBox::warning(this, tr("Unsaved edits"),
            tr("The copy of unsaved edits could not be removed (%1); it will be offered again at "
               "the next start.")
                .arg(file.errorString()));
    }
}

void MainWindow::addSavedPhonebookOffer(QWidget *content)
{
    const DataMgr::StoredPhonebook stored = DataMgr::instance()->storedPhonebook();
    if (stored.isEmpty())
        return;
    content->findChild<QLabel *>(QStringLiteral("nobody_title"))->setText(tr("No phonebook is open"));
    auto *hint = content->findChild<QLabel *>(QStringLiteral("nobody_hint"));
    hint->setText(
        tr("The saved phonebook holds %1 and was saved on %2.")
            .arg(contactCount(qMax(stored.contacts, 0)), QLocale().toString(stored.written, QLocale::ShortFormat)));
    hint->setGeometry(40, 360, 320, 50);
    auto *open = new QPushButton(tr("Open saved phonebook"), content);
    open->setObjectName(QStringLiteral("open_saved_button"));
    open->setGeometry(100, 415, 180, 32);
    connect(open, &QPushButton::clicked, this, &MainWindow::openSavedPhonebook);
    open->show();
}

void MainWindow::openSavedPhonebook()
{
    // As the Recovery Data option loads it at start.
    const Result loaded = DataMgr::instance()->reload();
    if (loaded) {
        forgetHistory();
        setSaved(true);
    } else {
        QMessageBox::critical(this, DataMgr::tr("Phonebook store"), loaded.message());
    }
}
