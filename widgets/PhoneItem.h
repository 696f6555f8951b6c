#pragma once

#include "data/ContactInfo.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

// One phone row of the detail editor: type, number, account and a delete button.
// A stored type or account the boxes do not offer is shown as an entry of its
// own and written back unchanged unless the user picks another one.
class PhoneItem : public QWidget
{
    Q_OBJECT
public:
    PhoneItem(const PhoneInfo &phone, int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QComboBox *typeBox() const { return m_typeBox; }
    QLineEdit *numberEdit() const { return m_numberEdit; }
    QComboBox *accountBox() const { return m_accountBox; }
    QPushButton *deleteButton() const { return m_deleteButton; }

    QString typeText() const;
    QString number() const;
    // The row as the user left it: stored type word, label, number, account.
    PhoneInfo phoneInfo() const;

    // Labels of the type box, in order: the phone-type table without "CompanyTotal".
    static QList<int> offeredTypes();

signals:
    void removePhoneSignal();
    void resetPrimary();
    void numberChanged(const QString &number);

public slots:
    void removeSelf();
    void resetPrimaryBox(const QString &text);
    void changeNumber(const QString &text);

private:
    PhoneInfo m_phone;
    int m_index;
    QComboBox *m_typeBox;
    QLineEdit *m_numberEdit;
    QComboBox *m_accountBox;
    QPushButton *m_deleteButton;
    // Table row of each type-box entry; -1 for the stored type kept as it was.
    QList<int> m_entryTypes;
    int m_accountEntries = 0;
};
