// The main window's size and place: the panels grow with the window, which opens
// where it was left and comes forward when the program is started again.

#include "app/MainWindow.h"

#include "app/SingleInstance.h"
#include "app/WindowMemory.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactView.h"
#include "widgets/GroupView.h"
#include "widgets/SearchEdit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

void MainWindow::restorePlacement()
{
    setMinimumSize(startSize());
    resize(startSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // Off-screen places (a monitor since removed) are brought back by the toolkit.
    const QByteArray saved = WindowMemory::geometry();
    if (!saved.isEmpty())
        restoreGeometry(saved);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placePanels();
}

void MainWindow::placePanels()
{
    if (!m_contactEditor)
        return;
    // What the window has beyond its start size: the groups take a quarter of the
    // width, the contacts a third, the details the rest; all take the height.
    const int dw = qMax(0, width() - startSize().width());
    const int dh = qMax(0, height() - startSize().height());
    const int groupGrowth = dw / 4;
    const int contactGrowth = dw / 3;
    const int detailGrowth = dw - groupGrowth - contactGrowth;

    m_toolStrip->resize(948 + dw, 53);

    const int groupWidth = 230 + groupGrowth;
    m_groupPanel->setGeometry(20, 56, groupWidth, 508 + dh);
    m_groupTitleLabel->setGeometry(0, 0, groupWidth, 30);
    m_groupView->setGeometry(0, 30, groupWidth, 478 + dh);

    const int contactWidth = 280 + contactGrowth;
    m_contactPanel->setGeometry(260 + groupGrowth, 56, contactWidth, 508 + dh);
    m_contactTitleLabel->setGeometry(0, 0, contactWidth, 31);
    m_batchButton->setGeometry(contactWidth - 100, 5, 87, 21);
    m_searchLabel->setGeometry(0, 31, contactWidth, 31);
    m_searchEdit->setGeometry(10, 3, contactWidth - 20, 25);
    if (auto *picture = m_searchEdit->findChild<QLabel *>(QStringLiteral("contact_search_picture")))
        picture->move(m_searchEdit->width() - 20, 4);
    m_addContactButton->setGeometry(0, 62, contactWidth, 31);
    m_contactView->setGeometry(0, 93, contactWidth, 417 + dh);

    m_contactEditor->setGeometry(540 + groupGrowth + contactGrowth, 56, 380 + detailGrowth, 508 + dh);

    if (m_overlay) {
        m_overlay->setFixedSize(size());
        // Its message stays in the middle of the window.
        if (auto *text = m_overlay->findChild<QLabel *>(QStringLiteral("operation_text")))
            text->move(200 + dw / 2, 250 + dh / 2);
    }
}

void MainWindow::answerLaterStarts(SingleInstance *instance)
{
    connect(instance, &SingleInstance::messageReceived, this, &MainWindow::recoverWindow);
}
