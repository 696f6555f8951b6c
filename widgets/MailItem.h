#pragma once

#include "data/ContactInfo.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

// One mail row of the detail editor: type, address and a delete button.
class MailItem : public QWidget
{
    Q_OBJECT
public:
    MailItem(const MailInfo &mail, int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QComboBox *typeBox() const { return m_typeBox; }
    QLineEdit *addressEdit() const { return m_addressEdit; }
    QPushButton *deleteButton() const { return m_deleteButton; }

    QString address() const;
    // The row as the user left it: stored type word, label, address.
    MailInfo mailInfo() const;

signals:
    void removeMailSignal();
    void mailTypeChanged(const QString &text);
    void mailChanged(const QString &text);

public slots:
    void removeSelf();
    void setMailType(const QString &text);
    void changeMail(const QString &text);

private:
    MailInfo m_mail;
    int m_index;
    QComboBox *m_typeBox;
    QLineEdit *m_addressEdit;
    QPushButton *m_deleteButton;
    // Stored word of each type-box entry.
    QStringList m_entryWords;
};
