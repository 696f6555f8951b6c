#pragma once

#include "data/CardSource.h"

#include <QDialog>
#include <QList>

class CardDavClient;
class CardRefresher;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Adding address books: the server's address (its root, the user's home or a
// book), the login, then the books found there to pick from, the group their
// contacts join and how often they are refreshed. Finding the books runs while
// the window goes on, and can be stopped.
class AddressBookForm : public QDialog
{
    Q_OBJECT
public:
    AddressBookForm(CardRefresher *refresher, const QStringList &userGroups, QWidget *parent = nullptr);
    ~AddressBookForm() override;

    // The books picked, each a source ready to be saved (without an id).
    QList<CardSource> chosenSources() const;
    QString password() const;

private slots:
    void findBooks();
    void onFound(bool ok, const QString &error);
    void updateButtons();

private:
    void setStatus(const QString &text);

    CardRefresher *m_refresher;
    CardDavClient *m_client = nullptr;
    QLineEdit *m_addressEdit;
    QLineEdit *m_userEdit;
    QLineEdit *m_passwordEdit;
    QPushButton *m_findButton;
    QLabel *m_statusLabel;
    QListWidget *m_bookList;
    QComboBox *m_groupBox;
    QComboBox *m_refreshBox;
    QPushButton *m_addButton;
};
