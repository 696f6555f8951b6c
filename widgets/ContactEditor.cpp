#include "widgets/ContactEditor.h"

#include "data/ContactNames.h"
#include "data/Records.h"
#include "widgets/DetailScroll.h"
#include "widgets/MailItem.h"
#include "widgets/PhoneItem.h"
#include "widgets/PictureButton.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 30;
constexpr int kRowWidth = 366;
constexpr int kPageWidth = 385;
constexpr int kPanelWidth = 380;
constexpr int kNameFieldWidth = 100;
constexpr int kHeadFieldWidth = 200;
constexpr int kNoteHeight = 44;

QLabel *rightLabel(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A row with a right-aligned hint and a round add button.
QWidget *addRow(const QString &text, const QString &name, QWidget *parent, QPushButton **button)
{
    auto *row = new QWidget(parent);
    row->setObjectName(name);
    row->setFixedSize(kRowWidth, kRowHeight);
    rightLabel(text, QRect(0, 0, kRowWidth - 40, kRowHeight), row);
    *button = makePictureButton(name + QStringLiteral("_button"), QStringLiteral(":/add_button_default.png"),
        QStringLiteral(":/add_button_pressed.png"), kRowWidth - 30, 0, row);
    return row;
}

// A column of rows, one under the other, without gaps.
QVBoxLayout *stack(QWidget *parent)
{
    auto *layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QString titleOf(const ContactInfo &contact)
{
    return QString(8, QLatin1Char(' ')) + ContactNames::displayName(contact);
}

} // namespace

ContactEditor::ContactEditor(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("detail_panel"));
    // The panel's card comes from the style sheet.
    setAttribute(Qt::WA_StyledBackground);

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("detail_title_label"));
    m_titleLabel->setGeometry(0, 0, 381, 30);
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_scroll = new DetailScroll(this);
    m_scroll->setGeometry(0, 30, 380, 478);
    // The picture of an empty group stays in the middle of a wide panel.
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

int ContactEditor::rowWidth() const
{
    return kRowWidth + m_extraWidth;
}

int ContactEditor::pageWidth() const
{
    return kPageWidth + m_extraWidth;
}

void ContactEditor::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_titleLabel->setGeometry(0, 0, width() + 1, 30);
    m_scroll->setGeometry(0, 30, width(), height() - 30);
    m_extraWidth = qMax(0, width() - kPanelWidth);
    applyWidth();
}

void ContactEditor::applyWidth()
{
    if (!m_page || !m_pageLayout)
        return;
    for (const char *name : { "detail_name_section", "detail_head_section" }) {
        if (auto *section = m_page->findChild<QWidget *>(QLatin1String(name)))
            section->setFixedWidth(kPanelWidth + m_extraWidth);
    }
    for (QLineEdit *edit : { m_firstNameEdit, m_lastNameEdit, m_departmentEdit })
        edit->resize(kNameFieldWidth + m_extraWidth, edit->height());
    m_primaryBox->resize(kNameFieldWidth - 2 + m_extraWidth, m_primaryBox->height());
    for (QWidget *field : std::initializer_list<QWidget *> { m_headText, m_ringtoneText, m_groupBox })
        field->resize(kHeadFieldWidth + m_extraWidth, field->height());
    for (const char *name : { "add_phone_row", "add_mail_row" }) {
        auto *row = m_page->findChild<QWidget *>(QLatin1String(name));
        if (!row)
            continue;
        row->setFixedWidth(rowWidth());
        if (auto *label = row->findChild<QLabel *>())
            label->resize(rowWidth() - 40, label->height());
        if (auto *button = row->findChild<QPushButton *>())
            button->move(rowWidth() - 30, 0);
    }
    if (auto *note = m_page->findChild<QLabel *>(QStringLiteral("detail_read_only_note")))
        note->setFixedWidth(rowWidth());
    m_phoneArea->setFixedWidth(rowWidth());
    m_mailArea->setFixedWidth(rowWidth());
    for (PhoneItem *item : phoneItems())
        item->setFixedWidth(rowWidth());
    for (MailItem *item : mailItems())
        item->setFixedWidth(rowWidth());
    m_page->setFixedWidth(pageWidth());
}

void ContactEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && !m_empty && m_firstNameEdit) {
        const ContactInfo shown = m_shown;
        const bool edited = m_edited;
        fillPage(editedContact(), true);
        m_shown = shown;
        m_edited = edited;
        m_titleLabel->setText(titleOf(shown));
    }
    QWidget::changeEvent(event);
}

QList<PhoneItem *> ContactEditor::phoneItems() const
{
    QList<PhoneItem *> items;
    for (const QPointer<PhoneItem> &item : m_phoneItems) {
        if (item)
            items.append(item);
    }
    return items;
}

QList<MailItem *> ContactEditor::mailItems() const
{
    QList<MailItem *> items;
    for (const QPointer<MailItem> &item : m_mailItems) {
        if (item)
            items.append(item);
    }
    return items;
}

QWidget *ContactEditor::newPage(int height)
{
    if (QWidget *old = m_scroll->takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    m_pageLayout = nullptr;
    m_firstNameEdit = m_lastNameEdit = m_departmentEdit = nullptr;
    m_primaryBox = m_groupBox = nullptr;
    m_phoneArea = m_mailArea = nullptr;
    m_headText = m_ringtoneText = nullptr;
    m_phoneItems.clear();
    m_mailItems.clear();
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("detail_content"));
    page->setFixedSize(kPageWidth, height);
    m_page = page;
    return page;
}

QWidget *ContactEditor::showNobody(bool searching)
{
    m_titleLabel->clear();
    m_readOnlyNote.clear();
    QWidget *page = newPage(470);
    auto *picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("nobody_picture"));
    picture->setGeometry(100, 100, 216, 167);
    picture->setPixmap(QPixmap(QStringLiteral(":/nobody_preview.png")));
    picture->setScaledContents(true);
    auto *title = new QLabel(searching ? tr("No contact matches") : tr("This group did not have contact"), page);
    title->setObjectName(QStringLiteral("nobody_title"));
    title->setGeometry(40, 320, 320, 40);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("QLabel {font: bold;font-size: 18px}"));
    auto *hint = new QLabel(searching ? tr("Search by name, pinyin, initials or number.")
                                      : tr("You can create new contacts or copy contacts from other group."),
        page);
    hint->setObjectName(QStringLiteral("nobody_hint"));
    hint->setGeometry(75, 370, 250, 80);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    m_scroll->setWidget(page);
    page->show();
    m_empty = true;
    m_edited = false;
    return page;
}

void ContactEditor::showContact(const ContactInfo &contact, const QString &readOnlyNote)
{
    m_readOnlyNote = readOnlyNote;
    fillPage(contact, false);
}

int ContactEditor::noteHeight() const
{
    return m_readOnlyNote.isEmpty() ? 0 : kNoteHeight;
}

void ContactEditor::fillPage(const ContactInfo &contact, bool reshown)
{
    m_filling = true;
    m_shown = contact;
    m_edited = false;
    m_titleLabel->setText(titleOf(contact));
    QWidget *page = newPage(445 + noteHeight());
    m_pageLayout = stack(page);
    const bool readOnly = !m_readOnlyNote.isEmpty();
    if (readOnly) {
        auto *note = new QLabel(m_readOnlyNote, page);
        note->setObjectName(QStringLiteral("detail_read_only_note"));
        note->setWordWrap(true);
        note->setFixedSize(kRowWidth, kNoteHeight);
        note->setContentsMargins(12, 2, 4, 2);
        m_pageLayout->addWidget(note);
    }

    auto *nameSection = new QWidget(page);
    nameSection->setObjectName(QStringLiteral("detail_name_section"));
    nameSection->setFixedSize(380, 125);
    auto *head = new QLabel(nameSection);
    head->setObjectName(QStringLiteral("detail_head_picture"));
    head->setGeometry(20, 8, 102, 102);
    head->setScaledContents(true);
    const bool hasPhoto = !contact.PhotoUrl.isEmpty() && QFileInfo::exists(contact.PhotoUrl);
    QPixmap photo(hasPhoto ? contact.PhotoUrl : QStringLiteral(":/head.png"));
    if (photo.isNull())
        photo.load(QStringLiteral(":/head.png"));
    head->setPixmap(photo);
    const QString colon = QStringLiteral(":");
    rightLabel(tr("First Name") + colon, QRect(110, 5, 90, 25), nameSection);
    rightLabel(tr("Last Name") + colon, QRect(110, 35, 90, 25), nameSection);
    rightLabel(tr("Department") + colon, QRect(110, 65, 90, 25), nameSection);
    rightLabel(tr("Primary") + colon, QRect(110, 95, 90, 25), nameSection);
    auto edit = [&](const QString &text, const QString &name, int y) {
        auto *e = new QLineEdit(text, nameSection);
        e->setObjectName(name);
        e->setGeometry(210, y, 100, 25);
        connect(e, &QLineEdit::textChanged, this, &ContactEditor::noteFieldChange);
        return e;
    };
    m_firstNameEdit = edit(contact.FirstName, QStringLiteral("first_name_edit"), 5);
    m_lastNameEdit = edit(contact.LastName, QStringLiteral("last_name_edit"), 35);
    m_departmentEdit = edit(contact.Department, QStringLiteral("department_edit"), 65);
    for (QLineEdit *e : { m_firstNameEdit, m_lastNameEdit, m_departmentEdit })
        e->setReadOnly(readOnly);
    m_primaryBox = new QComboBox(nameSection);
    m_primaryBox->setObjectName(QStringLiteral("primary_box"));
    m_primaryBox->setGeometry(210, 95, 98, 24);
    connect(m_primaryBox, &QComboBox::currentTextChanged, this, &ContactEditor::noteFieldChange);
    m_pageLayout->addWidget(nameSection);

    m_phoneArea = new QWidget(page);
    m_phoneArea->setObjectName(QStringLiteral("detail_phone_area"));
    m_phoneArea->setFixedWidth(rowWidth());
    stack(m_phoneArea);
    for (const PhoneInfo &phone : contact.PhoneList) {
        if (reshown || !phone.phonenumber.isEmpty())
            addPhoneItem(phone);
    }
    m_pageLayout->addWidget(m_phoneArea);
    QPushButton *addPhoneButton = nullptr;
    QWidget *addPhone
        = addRow(tr("Add new phone number and type"), QStringLiteral("add_phone_row"), page, &addPhoneButton);
    m_pageLayout->addWidget(addPhone);
    addPhone->setVisible(!readOnly);
    connect(addPhoneButton, &QPushButton::clicked, this, &ContactEditor::addPhoneRow);

    m_mailArea = new QWidget(page);
    m_mailArea->setObjectName(QStringLiteral("detail_mail_area"));
    m_mailArea->setFixedWidth(rowWidth());
    stack(m_mailArea);
    for (const MailInfo &mail : contact.MailList) {
        if (reshown || !mail.Mail.isEmpty())
            addMailItem(mail);
    }
    m_pageLayout->addWidget(m_mailArea);
    QPushButton *addMailButton = nullptr;
    QWidget *addMail = addRow(tr("Add new mail"), QStringLiteral("add_mail_row"), page, &addMailButton);
    m_pageLayout->addWidget(addMail);
    addMail->setVisible(!readOnly);
    connect(addMailButton, &QPushButton::clicked, this, &ContactEditor::addMailRow);

    auto *headSection = new QWidget(page);
    headSection->setObjectName(QStringLiteral("detail_head_section"));
    headSection->setFixedSize(380, 120);
    rightLabel(tr("Head") + colon, QRect(30, 25, 70, 25), headSection);
    rightLabel(tr("Ringtone") + colon, QRect(30, 60, 70, 25), headSection);
    rightLabel(tr("Group") + colon, QRect(30, 95, 70, 25), headSection);
    m_headText = new QLineEdit(contact.PhotoUrl.isEmpty() ? Records::defaultHeadText() : contact.PhotoUrl, headSection);
    m_headText->setObjectName(QStringLiteral("head_text"));
    m_headText->setGeometry(110, 25, 200, 25);
    m_headText->setReadOnly(true);
    // What is stored, apart from what is shown: the text for "none" is translated.
    m_headText->setProperty("stored", contact.PhotoUrl);
    m_ringtoneText = new QLineEdit(
        contact.RingtoneUrl.isEmpty() ? Records::defaultRingtoneText() : contact.RingtoneUrl, headSection);
    m_ringtoneText->setObjectName(QStringLiteral("ringtone_text"));
    m_ringtoneText->setGeometry(110, 60, 200, 25);
    m_ringtoneText->setReadOnly(true);
    m_ringtoneText->setProperty("stored", contact.RingtoneUrl);
    m_groupBox = new QComboBox(headSection);
    m_groupBox->setObjectName(QStringLiteral("group_box"));
    m_groupBox->setGeometry(110, 95, 200, 25);
    for (const QString &group : contact.GroupList) {
        if (!group.isEmpty())
            m_groupBox->addItem(
                group == Records::kBlacklist || group == Records::kDefault ? Records::groupDisplayName(group) : group);
    }
    m_pageLayout->addWidget(headSection);
    m_pageLayout->addStretch();

    for (PhoneItem *item : phoneItems())
        item->setReadOnly(readOnly);
    for (MailItem *item : mailItems())
        item->setReadOnly(readOnly);
    resizeRows();
    refreshPrimaryChoices();
    if (readOnly)
        m_primaryBox->setEnabled(false);
    applyWidth();
    m_scroll->setWidget(page);
    page->show();
    // A list the user works in keeps the keys; otherwise typing starts here.
    if (!reshown && !qobject_cast<QAbstractItemView *>(QApplication::focusWidget()))
        m_firstNameEdit->setFocus();
    m_empty = false;
    m_filling = false;
}

PhoneItem *ContactEditor::addPhoneItem(const PhoneInfo &phone)
{
    auto *item = new PhoneItem(phone, m_phoneArea);
    item->setFixedSize(rowWidth(), PhoneItem::rowHeight());
    m_phoneArea->layout()->addWidget(item);
    connect(item, &PhoneItem::removed, this, &ContactEditor::removePhoneRow);
    connect(item, &PhoneItem::typeChanged, this, &ContactEditor::refreshPrimaryChoices);
    connect(item, &PhoneItem::numberChanged, this, &ContactEditor::noteFieldChange);
    // A different account is a change of the contact too.
    connect(item, &PhoneItem::accountChanged, this, &ContactEditor::noteFieldChange);
    m_phoneItems.append(item);
    return item;
}

MailItem *ContactEditor::addMailItem(const MailInfo &mail)
{
    auto *item = new MailItem(mail, m_mailArea);
    item->setFixedSize(rowWidth(), kRowHeight);
    m_mailArea->layout()->addWidget(item);
    connect(item, &MailItem::removed, this, &ContactEditor::removeMailRow);
    connect(item, &MailItem::typeChanged, this, &ContactEditor::noteFieldChange);
    connect(item, &MailItem::addressChanged, this, &ContactEditor::noteFieldChange);
    m_mailItems.append(item);
    return item;
}

void ContactEditor::resizeRows()
{
    if (!m_page || !m_pageLayout)
        return;
    const int p = int(phoneItems().size());
    const int m = int(mailItems().size());
    m_phoneArea->setFixedHeight(PhoneItem::rowHeight() * p);
    m_mailArea->setFixedHeight(kRowHeight * m);
    m_page->setFixedSize(pageWidth(), 445 + noteHeight() + (PhoneItem::rowHeight() + 1) * p + 31 * m);
    // In place now, as the rows are used right after.
    m_phoneArea->layout()->activate();
    m_mailArea->layout()->activate();
    m_pageLayout->activate();
}

void ContactEditor::refreshPrimaryChoices()
{
    if (!m_phoneArea || !m_primaryBox)
        return;
    const bool filling = m_filling;
    m_filling = true;
    PhoneInfoList phones;
    for (PhoneItem *item : phoneItems())
        phones.append(item->phoneInfo());
    const QStringList choices = Records::primaryChoices(phones);
    const QString picked = filling ? QString() : m_primaryBox->currentText();
    m_primaryBox->clear();
    m_primaryBox->addItems(choices);
    m_primaryBox->setCurrentIndex(
        Records::primaryChoice(choices, picked, Records::phoneTypeDisplay(m_shown.PrimaryIndex)));
    m_primaryBox->setEnabled(choices.size() >= 2);
    m_filling = filling;
    if (!filling)
        markEdited();
}

void ContactEditor::addPhoneRow()
{
    if (!m_phoneArea)
        return;
    PhoneInfo phone;
    phone.type = QStringLiteral("Work");
    PhoneItem *item = addPhoneItem(phone);
    resizeRows();
    item->show();
    item->numberEdit()->setFocus();
    refreshPrimaryChoices();
    markEdited();
}

void ContactEditor::addMailRow()
{
    if (!m_mailArea)
        return;
    MailInfo mail;
    mail.type = QStringLiteral("Work");
    MailItem *item = addMailItem(mail);
    resizeRows();
    item->show();
    item->addressEdit()->setFocus();
    markEdited();
}

void ContactEditor::removePhoneRow()
{
    // The row deletes itself later; until then it only stops counting.
    auto *item = qobject_cast<PhoneItem *>(sender());
    m_phoneItems.removeAll(item);
    if (m_phoneArea)
        m_phoneArea->layout()->removeWidget(item);
    resizeRows();
    refreshPrimaryChoices();
    markEdited();
}

void ContactEditor::removeMailRow()
{
    auto *item = qobject_cast<MailItem *>(sender());
    m_mailItems.removeAll(item);
    if (m_mailArea)
        m_mailArea->layout()->removeWidget(item);
    resizeRows();
    markEdited();
}

void ContactEditor::noteFieldChange()
{
    if (!m_filling)
        markEdited();
}

void ContactEditor::markEdited()
{
    m_edited = true;
    emit edited();
}

void ContactEditor::collectInto(ContactInfo &contact) const
{
    if (m_empty || !m_firstNameEdit)
        return;
    contact.FirstName = m_firstNameEdit->text();
    contact.LastName = m_lastNameEdit->text();
    contact.Department = m_departmentEdit->text();
    if (m_primaryBox->count() > 0) {
        const int primary = Records::phoneTypeIndexOfDisplay(m_primaryBox->currentText());
        if (primary >= 0)
            contact.PrimaryIndex = primary;
    }
    // The fields show a text of their own for "none"; none is stored as empty.
    // Read-only fields: they give back what they were given, in any language.
    contact.PhotoUrl = m_headText->property("stored").toString();
    contact.RingtoneUrl = m_ringtoneText->property("stored").toString();
    contact.PhoneList.clear();
    for (PhoneItem *item : phoneItems())
        contact.PhoneList.append(item->phoneInfo());
    contact.MailList.clear();
    for (MailItem *item : mailItems())
        contact.MailList.append(item->mailInfo());
}

ContactInfo ContactEditor::editedContact() const
{
    ContactInfo contact = m_shown;
    collectInto(contact);
    return contact;
}

void ContactEditor::takeCommitted(const ContactInfo &contact)
{
    m_shown = contact;
    m_edited = false;
    if (m_firstNameEdit && m_firstNameEdit->text() != contact.FirstName) {
        m_filling = true;
        m_firstNameEdit->setText(contact.FirstName);
        m_filling = false;
    }
    m_titleLabel->setText(titleOf(contact));
}

void ContactEditor::focusName()
{
    if (m_firstNameEdit)
        m_firstNameEdit->setFocus();
}

void ContactEditor::clearGroups()
{
    if (m_groupBox)
        m_groupBox->clear();
}
