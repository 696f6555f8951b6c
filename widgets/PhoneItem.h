#pragma once

#include "data/ContactInfo.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

// One phone row of the detail editor: the number and a delete button on its first
// line, type and account under it, each wide enough for its longest text; the
// fields widen with the row.
// A stored type or account the boxes do not offer is shown as an entry of its
// own and written back unchanged unless the user picks another one.
class PhoneItem : public QWidget
{
    Q_OBJECT
public:
    explicit PhoneItem(const PhoneInfo &phone, QWidget *parent = nullptr);

    QLineEdit *numberEdit() const { return m_numberEdit; }

    // The row as the user left it: stored type word, label, number, account.
    PhoneInfo phoneInfo() const;

    // Labels of the type box, in order: the phone-type table without "CompanyTotal".
    static QList<int> offeredTypes();

    // The height of a row: two lines of fields.
    static int rowHeight();

signals:
    // The user removed the row; it deletes itself once control returns.
    void removed();
    void typeChanged();
    void numberChanged();
    void accountChanged();

public:
    // Shown but not to be changed: the fields are locked and the delete button hidden.
    void setReadOnly(bool readOnly);

public slots:
    void removeSelf();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    PhoneInfo m_phone;
    QComboBox *m_typeBox;
    QLineEdit *m_numberEdit;
    QComboBox *m_accountBox;
    QPushButton *m_deleteButton;
    // Table row of each type-box entry; -1 for the stored type kept as it was.
    QList<int> m_entryTypes;
    int m_accountEntries = 0;
};
