#pragma once

#include <QDialog>

class CardRefresher;
class PasswordStore;
class QLabel;
class QPushButton;
class QTreeWidget;

// The address books that feed the phonebook: their list with the last result of
// each, adding (AddressBookForm), removing (their contacts stay, as the user's
// own) and "Refresh now". It does not block the window: refreshes go on behind it.
class AddressBookDialog : public QDialog
{
    Q_OBJECT
public:
    AddressBookDialog(CardRefresher *refresher, PasswordStore *passwords, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }

signals:
    // A source was added or removed.
    void sourcesChanged();

public slots:
    void addBooks();
    void removeBook();
    void refreshBook();
    // Another refresh interval for the selected book.
    void scheduleBook();

protected:
    void changeEvent(QEvent *event) override;

private:
    void fill();
    void retranslateUi();
    void updateButtons();
    // The id of the selected source, or 0.
    int selectedSource() const;

    CardRefresher *m_refresher;
    PasswordStore *m_passwords;
    QTreeWidget *m_list;
    QLabel *m_passwordNote;
    QPushButton *m_addButton;
    QPushButton *m_removeButton;
    QPushButton *m_refreshButton;
    QPushButton *m_scheduleButton;
    QPushButton *m_closeButton;
};
