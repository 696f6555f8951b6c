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
    explicit MailItem(const MailInfo &mail, QWidget *parent = nullptr);

    QLineEdit *addressEdit() const { return m_addressEdit; }

    // The row as the user left it: stored type word, label, address.
    MailInfo mailInfo() const;

signals:
    // The user removed the row; it deletes itself once control returns.
    void removed();
    void typeChanged();
    void addressChanged();

public:
    // Shown but not to be changed: the fields are locked and the delete button hidden.
    void setReadOnly(bool readOnly);

public slots:
    void removeSelf();

protected:
    // The address takes what the row has beyond the type box.
    void resizeEvent(QResizeEvent *event) override;

private:
    MailInfo m_mail;
    QComboBox *m_typeBox;
    QLineEdit *m_addressEdit;
    QPushButton *m_deleteButton;
    // Stored word of each type-box entry.
    QStringList m_entryWords;
};
