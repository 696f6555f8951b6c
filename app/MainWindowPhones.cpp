// The "Phones" window: for each phone model the service serves, what its file
// makes of the phonebook; a finding leads to its contact.

#include "app/MainWindow.h"

#include "httpd/HttpRequest.h"
#include "manager/DataMgr.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupView.h"
#include "widgets/PhoneCheckRunner.h"
#include "widgets/PhoneCheckView.h"

#include <QScreen>
#include <QTimer>

PhoneCheckView *MainWindow::phonesView() const
{
    return m_phonesView;
}

void MainWindow::showPhones()
{
    if (!m_phonesView) {
        m_phonesView = new PhoneCheckView(this);
        m_phonesView->setObjectName(QStringLiteral("phones_view"));
        m_phonesView->setWindowFlags(Qt::Window);
        m_phonesView->setWindowIcon(programIcon());
        m_phonesView->setWindowTitle(tr("Phones"));
        connect(m_phonesView, &PhoneCheckView::contactChosen, this, &MainWindow::revealContact);
        m_phonesRunner = new PhoneCheckRunner(this);
        connect(m_phonesRunner, &PhoneCheckRunner::finished, m_phonesView, &PhoneCheckView::setEntries);
        m_phonesTimer = new QTimer(this);
        m_phonesTimer->setSingleShot(true);
        m_phonesTimer->setInterval(300);
        connect(m_phonesTimer, &QTimer::timeout, this, &MainWindow::checkPhones);
        connect(DataMgr::instance(), &DataMgr::updateModel, m_phonesTimer, [this] {
            if (m_phonesView && m_phonesView->isVisible())
                m_phonesTimer->start();
        });
    }
    // To the window's right, so the contact list a finding selects in stays in
    // sight; on a narrow screen it covers the lower part of the details, below
    // the shown contact's name.
    if (!m_phonesView->isVisible()) {
        const QRect area = screen()->availableGeometry();
        const QSize size = m_phonesView->frameGeometry().size();
        const QRect frame = frameGeometry();
        const bool fits = frame.right() + size.width() <= area.right();
        const int x = qMax(area.left(), qMin(frame.right() + 1, area.right() + 1 - size.width()));
        const int y = fits ? frame.top() : frame.bottom() + 1 - size.height();
        m_phonesView->move(x, qBound(area.top(), y, qMax(area.top(), area.bottom() + 1 - size.height())));
    }
    checkPhones();
    m_phonesView->show();
    m_phonesView->raise();
    m_phonesView->activateWindow();
}

void MainWindow::checkPhones()
{
    if (!m_phonesView)
        return;
    updatePhonesHeading();
    QList<PhoneCheckRunner::Layout> layouts;
    const QString utf8 = QStringLiteral("UTF-8");
    for (const char *model : { "Alder", "Birch", "Cedar", "Brenn" }) {
        const QString product = QString::fromLatin1(model);
        layouts.append({ product, HttpRequest::modelFormat(product), utf8 });
    }
    layouts.append({ tr("Other models"), HttpRequest::modelFormat(QString()), utf8 });
    const Phonebook &book = DataMgr::instance()->phonebook();
    m_phonesView->setChecking(true);
    m_phonesRunner->start(layouts, book.contacts(), book.groupsAsSaved());
}

void MainWindow::updatePhonesHeading()
{
    // The phones fetch the files a save writes; the working lists are what they
    // get after the next one.
    m_phonesView->setHeading(isSaved() ? tr("The phonebook as saved: what each phone model fetches.")
                                       : tr("The phonebook with its unsaved edits: what each phone model "
                                            "fetches once it is saved."));
}

void MainWindow::revealContact(int contactId)
{
    const int position = DataMgr::instance()->phonebook().indexOfContact(contactId);
    // Deleted since the check ran.
    if (position < 0)
        return;
    if (!m_contactView->selectContact(position)) {
        m_contactView->clearSearch();
        m_groupView->selectGroupRow(0);
        if (!m_contactView->selectContact(position))
            return;
    }
    const ContactModel *model = m_contactView->contactModel();
    m_contactView->scrollTo(model->index(model->rowOf(position), 0), QAbstractItemView::PositionAtCenter);
}
