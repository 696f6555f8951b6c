#pragma once

#include "data/ContactInfo.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class DetailScroll;
class MailItem;
class PhoneItem;
class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

// The detail panel of the main window: the shown contact's names, phones,
// mails, photo, ringtone and groups, or the picture of a group without
// contacts. It shows and collects; the window writes what it collects into the
// phonebook.
class ContactEditor : public QWidget
{
    Q_OBJECT
public:
    explicit ContactEditor(QWidget *parent = nullptr);

    // With a `readOnlyNote`, the contact is shown with that line above it and
    // cannot be changed here (its groups are changed by the window's commands).
    void showContact(const ContactInfo &contact, const QString &readOnlyNote = QString());
    bool isReadOnly() const { return !m_readOnlyNote.isEmpty(); }
    // The page of a group without contacts, or of a search that found none;
    // the window may add to it.
    QWidget *showNobody(bool searching = false);

    // True while no contact is shown.
    bool isEmpty() const { return m_empty; }
    // The user changed the shown contact since it was shown or committed.
    bool isEdited() const { return m_edited; }
    // The contact as it was shown or last committed.
    const ContactInfo &shownContact() const { return m_shown; }
    // Writes what the fields hold into `contact`: names, department, phones
    // and mails as the rows stand (blank ones too), the primary type, photo and
    // ringtone. Nothing while no contact is shown.
    void collectInto(ContactInfo &contact) const;
    // The shown contact with what the fields hold.
    ContactInfo editedContact() const;
    // The window stored `contact` from this editor's fields: it is now the
    // shown one, with the name it may have been given.
    void takeCommitted(const ContactInfo &contact);
    // The shown contact goes away: its edits are not to be committed.
    void dropEdits() { m_edited = false; }
    void focusName();
    // The groups the shown contact is in may be going away.
    void clearGroups();

signals:
    // The user changed something in the shown contact.
    void edited();

protected:
    // The scroll area and the fields widen with the panel.
    void resizeEvent(QResizeEvent *event) override;
    // A new language: the shown contact is laid out again with what the user typed.
    void changeEvent(QEvent *event) override;

private slots:
    void addPhoneRow();
    void addMailRow();
    void removePhoneRow();
    void removeMailRow();
    // Offers each type the rows have as the primary one.
    void refreshPrimaryChoices();
    // A field changed: an edit unless the editor is filling it.
    void noteFieldChange();

private:
    // A new empty page of `height` replaces the shown one.
    QWidget *newPage(int height);
    // Builds the page of `contact`; `reshown`: the same contact again, blank rows
    // kept and the focus left where it is.
    void fillPage(const ContactInfo &contact, bool reshown);
    // The page's rows and fields as wide as the panel allows.
    void applyWidth();
    int rowWidth() const;
    int pageWidth() const;
    PhoneItem *addPhoneItem(const PhoneInfo &phone);
    MailItem *addMailItem(const MailInfo &mail);
    void resizeRows();
    // The height of the read-only note above the contact, 0 without one.
    int noteHeight() const;
    void markEdited();
    QList<PhoneItem *> phoneItems() const;
    QList<MailItem *> mailItems() const;

    QLabel *m_titleLabel = nullptr;
    DetailScroll *m_scroll = nullptr;

    ContactInfo m_shown;
    QString m_readOnlyNote;
    bool m_empty = true;
    bool m_edited = false;
    // Set while the editor fills its fields: those changes are not the user's.
    bool m_filling = false;
    // What the panel has beyond its start width.
    int m_extraWidth = 0;

    // The page's widgets; they belong to the page, which is replaced for every contact.
    QPointer<QWidget> m_page;
    QVBoxLayout *m_pageLayout = nullptr;
    QLineEdit *m_firstNameEdit = nullptr;
    QLineEdit *m_lastNameEdit = nullptr;
    QLineEdit *m_departmentEdit = nullptr;
    QComboBox *m_primaryBox = nullptr;
    QWidget *m_phoneArea = nullptr;
    QWidget *m_mailArea = nullptr;
    QLineEdit *m_headText = nullptr;
    QLineEdit *m_ringtoneText = nullptr;
    QComboBox *m_groupBox = nullptr;
    QList<QPointer<PhoneItem>> m_phoneItems;
    QList<QPointer<MailItem>> m_mailItems;
};
