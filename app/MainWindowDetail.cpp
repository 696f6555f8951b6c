// The contact detail editor of the main window: showing a contact, its phone and
// mail rows, the blank-contact check and the commit back into the phonebook.

#include "app/MainWindow.h"

#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/DetailScroll.h"
#include "widgets/GroupView.h"
#include "widgets/MailItem.h"
#include "widgets/PhoneItem.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kRowHeight = 30;

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
    rightLabel(text, QRect(0, 0, 310, kRowHeight), row);
    *button = makePictureButton(name + QStringLiteral("_button"), QStringLiteral(":/add_button_default.png"),
        QStringLiteral(":/add_button_pressed.png"), 320, 0, row);
    return row;
}

} // namespace

QList<PhoneItem *> MainWindow::phoneItems() const
{
    QList<PhoneItem *> items;
    for (const QPointer<PhoneItem> &item : m_phoneItems) {
        if (item)
            items.append(item);
    }
    return items;
}

QList<MailItem *> MainWindow::mailItems() const
{
    QList<MailItem *> items;
    for (const QPointer<MailItem> &item : m_mailItems) {
        if (item)
            items.append(item);
    }
    return items;
}

QWidget *MainWindow::newDetailContent(int height)
{
    if (QWidget *old = m_detailScroll->takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    m_firstNameEdit = m_lastNameEdit = m_departmentEdit = nullptr;
    m_primaryBox = m_groupBox = nullptr;
    m_phoneArea = m_addPhoneRow = m_mailArea = m_addMailRow = m_headSection = nullptr;
    m_headText = m_ringtoneText = nullptr;
    m_phoneItems.clear();
    m_mailItems.clear();
    m_removingPhone = nullptr;
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("detail_content"));
    content->setFixedSize(385, height);
    m_detailContent = content;
    return content;
}

void MainWindow::showNobodyPreview()
{
    m_detailTitleLabel->clear();
    QWidget *content = newDetailContent(470);
    auto *picture = new QLabel(content);
    picture->setObjectName(QStringLiteral("nobody_picture"));
    picture->setGeometry(100, 100, 216, 167);
    picture->setPixmap(QPixmap(QStringLiteral(":/nobody_preview.png")));
    picture->setScaledContents(true);
    auto *title = new QLabel(tr("This group did not have contact"), content);
    title->setObjectName(QStringLiteral("nobody_title"));
    title->setGeometry(40, 320, 320, 40);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("QLabel {font: bold;font-size: 18px}"));
    auto *hint = new QLabel(tr("You can create new contacts or copy contacts from other group."), content);
    hint->setObjectName(QStringLiteral("nobody_hint"));
    hint->setGeometry(75, 370, 250, 80);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    if (!DataMgr::instance()->hasData())
        addSavedPhonebookOffer(content);
    m_detailScroll->setWidget(content);
    content->show();
    m_detailEmpty = true;
    m_detailEdited = false;
}

void MainWindow::showContactDetail(const ContactInfo &contact)
{
    m_fillingDetail = true;
    m_shownContact = contact;
    m_detailEdited = false;
    m_detailTitleLabel->setText(QString(8, QLatin1Char(' ')) + contact.FirstName + contact.LastName);
    QWidget *content = newDetailContent(445);

    auto *nameSection = new QWidget(content);
    nameSection->setObjectName(QStringLiteral("detail_name_section"));
    nameSection->setGeometry(0, 0, 380, 125);
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
        connect(e, &QLineEdit::textChanged, this, &MainWindow::lineEditChanged);
        return e;
    };
    m_firstNameEdit = edit(contact.FirstName, QStringLiteral("first_name_edit"), 5);
    m_lastNameEdit = edit(contact.LastName, QStringLiteral("last_name_edit"), 35);
    m_departmentEdit = edit(contact.Department, QStringLiteral("department_edit"), 65);
    m_primaryBox = new QComboBox(nameSection);
    m_primaryBox->setObjectName(QStringLiteral("primary_box"));
    m_primaryBox->setGeometry(210, 95, 98, 24);
    connect(m_primaryBox, &QComboBox::currentTextChanged, this, &MainWindow::comBoxChanged);

    m_phoneArea = new QWidget(content);
    m_phoneArea->setObjectName(QStringLiteral("detail_phone_area"));
    for (const PhoneInfo &phone : contact.PhoneList) {
        if (phone.phonenumber.isEmpty())
            continue;
        auto *item = new PhoneItem(phone, int(m_phoneItems.size()), m_phoneArea);
        wirePhoneItem(item);
        m_phoneItems.append(item);
    }
    QPushButton *addPhoneButton = nullptr;
    m_addPhoneRow
        = addRow(tr("Add new phone number and type"), QStringLiteral("add_phone_row"), content, &addPhoneButton);
    connect(addPhoneButton, &QPushButton::clicked, this, &MainWindow::addNewPhone);

    m_mailArea = new QWidget(content);
    m_mailArea->setObjectName(QStringLiteral("detail_mail_area"));
    for (const MailInfo &mail : contact.MailList) {
        if (mail.Mail.isEmpty())
            continue;
        auto *item = new MailItem(mail, int(m_mailItems.size()), m_mailArea);
        wireMailItem(item);
        m_mailItems.append(item);
    }
    QPushButton *addMailButton = nullptr;
    m_addMailRow = addRow(tr("Add new mail"), QStringLiteral("add_mail_row"), content, &addMailButton);
    connect(addMailButton, &QPushButton::clicked, this, &MainWindow::addNewMail);

    m_headSection = new QWidget(content);
    m_headSection->setObjectName(QStringLiteral("detail_head_section"));
    rightLabel(tr("Head") + colon, QRect(30, 25, 70, 25), m_headSection);
    rightLabel(tr("Ringtone") + colon, QRect(30, 60, 70, 25), m_headSection);
    rightLabel(tr("Group") + colon, QRect(30, 95, 70, 25), m_headSection);
    m_headText
        = new QLineEdit(contact.PhotoUrl.isEmpty() ? Records::defaultHeadText() : contact.PhotoUrl, m_headSection);
    m_headText->setObjectName(QStringLiteral("head_text"));
    m_headText->setGeometry(110, 25, 200, 25);
    m_headText->setReadOnly(true);
    m_ringtoneText = new QLineEdit(
        contact.RingtoneUrl.isEmpty() ? Records::defaultRingtoneText() : contact.RingtoneUrl, m_headSection);
    m_ringtoneText->setObjectName(QStringLiteral("ringtone_text"));
    m_ringtoneText->setGeometry(110, 60, 200, 25);
    m_ringtoneText->setReadOnly(true);
    m_groupBox = new QComboBox(m_headSection);
    m_groupBox->setObjectName(QStringLiteral("group_box"));
    m_groupBox->setGeometry(110, 95, 200, 25);
    for (const QString &group : contact.GroupList) {
        if (!group.isEmpty())
            m_groupBox->addItem(
                group == Records::kBlacklist || group == Records::kDefault ? Records::groupDisplayName(group) : group);
    }

    layoutDetail();
    resetPrimaryBox();
    m_detailScroll->setWidget(content);
    content->show();
    m_firstNameEdit->setFocus();
    m_detailEmpty = false;
    m_fillingDetail = false;
}

void MainWindow::wirePhoneItem(PhoneItem *item)
{
    connect(item, &PhoneItem::removePhoneSignal, this, &MainWindow::resetPhoneWidgetHeight);
    connect(item, &PhoneItem::resetPrimary, this, &MainWindow::resetPrimaryBox);
    connect(item, &PhoneItem::numberChanged, this, &MainWindow::lineEditChanged);
    // A different account is a change of the contact too.
    connect(item->accountBox(), &QComboBox::currentTextChanged, this, &MainWindow::comBoxChanged);
}

void MainWindow::wireMailItem(MailItem *item)
{
    connect(item, &MailItem::removeMailSignal, this, &MainWindow::resetMailWidgetHeight);
    connect(item, &MailItem::mailTypeChanged, this, &MainWindow::comBoxChanged);
    connect(item, &MailItem::mailChanged, this, &MainWindow::lineEditChanged);
}

void MainWindow::layoutDetail()
{
    if (!m_detailContent || !m_phoneArea)
        return;
    const QList<PhoneItem *> phones = phoneItems();
    const QList<MailItem *> mails = mailItems();
    for (int k = 0; k < phones.size(); ++k)
        phones[k]->setGeometry(0, kRowHeight * k, 350, kRowHeight);
    for (int k = 0; k < mails.size(); ++k)
        mails[k]->setGeometry(0, kRowHeight * k, 350, kRowHeight);
    const int p = int(phones.size());
    const int m = int(mails.size());
    m_phoneArea->setGeometry(0, 125, 350, kRowHeight * p);
    m_addPhoneRow->setGeometry(0, 125 + kRowHeight * p, 350, kRowHeight);
    m_mailArea->setGeometry(0, 155 + kRowHeight * p, 350, kRowHeight * m);
    m_addMailRow->setGeometry(0, 155 + kRowHeight * (p + m), 350, kRowHeight);
    m_headSection->setGeometry(0, 185 + kRowHeight * (p + m), 380, 120);
    m_detailContent->setFixedSize(385, 445 + 31 * (p + m));
}

void MainWindow::resetPrimaryBox()
{
    if (!m_phoneArea || !m_primaryBox)
        return;
    const bool filling = m_fillingDetail;
    m_fillingDetail = true;
    QStringList types;
    for (PhoneItem *item : phoneItems()) {
        if (item != m_removingPhone && !types.contains(item->typeText()))
            types.append(item->typeText());
    }
    // What the user picked stays picked while its type is still there.
    const QString picked = m_primaryBox->currentText();
    const QString stored = Records::phoneTypeDisplay(m_shownContact.PrimaryIndex);
    m_primaryBox->clear();
    m_primaryBox->addItems(types);
    int at = filling ? -1 : int(types.indexOf(picked));
    if (at < 0)
        at = int(types.indexOf(stored));
    m_primaryBox->setCurrentIndex(at < 0 ? 0 : at);
    m_primaryBox->setEnabled(types.size() >= 2);
    m_fillingDetail = filling;
    if (!filling)
        markDetailEdited();
}

void MainWindow::addNewPhone()
{
    if (!m_phoneArea)
        return;
    PhoneInfo phone;
    phone.type = QStringLiteral("Work");
    auto *item = new PhoneItem(phone, int(m_phoneItems.size()), m_phoneArea);
    wirePhoneItem(item);
    m_phoneItems.append(item);
    layoutDetail();
    item->show();
    item->numberEdit()->setFocus();
    resetPrimaryBox();
    markDetailEdited();
}

void MainWindow::addNewMail()
{
    if (!m_mailArea)
        return;
    MailInfo mail;
    mail.type = QStringLiteral("Work");
    auto *item = new MailItem(mail, int(m_mailItems.size()), m_mailArea);
    wireMailItem(item);
    m_mailItems.append(item);
    layoutDetail();
    item->show();
    item->addressEdit()->setFocus();
    markDetailEdited();
}

void MainWindow::resetPhoneWidgetHeight()
{
    auto *item = qobject_cast<PhoneItem *>(sender());
    m_removingPhone = item;
    m_phoneItems.removeAll(item);
    layoutDetail();
    resetPrimaryBox();
    m_removingPhone = nullptr;
    markDetailEdited();
}

void MainWindow::resetMailWidgetHeight()
{
    auto *item = qobject_cast<MailItem *>(sender());
    m_mailItems.removeAll(item);
    layoutDetail();
    markDetailEdited();
}

void MainWindow::lineEditChanged(const QString &)
{
    if (!m_fillingDetail)
        markDetailEdited();
}

void MainWindow::comBoxChanged(const QString &)
{
    if (!m_fillingDetail)
        markDetailEdited();
}

void MainWindow::markDetailEdited()
{
    m_detailEdited = true;
    m_isSaved = false;
}

bool MainWindow::shownContactIsBlank() const
{
    // Blank means nothing typed at all. Spaces are text the user typed, kept as
    // typed by the commit; a contact that would be removed here for them would
    // vanish without a word and stop the save that met it.
    if (!m_firstNameEdit)
        return false;
    if (!m_firstNameEdit->text().isEmpty() || !m_lastNameEdit->text().isEmpty())
        return false;
    for (PhoneItem *item : phoneItems()) {
        if (!item->number().isEmpty())
            return false;
    }
    for (MailItem *item : mailItems()) {
        if (!item->address().isEmpty())
            return false;
    }
    return true;
}

bool MainWindow::checkDetailValues()
{
    if (m_detailEmpty || m_contactView->currentContact() < 0)
        return true;
    if (!shownContactIsBlank())
        return true;
    DataMgr *mgr = DataMgr::instance();
    const int groupRow = m_groupView->currentGroupRow();
    const int position = mgr->indexOfContact(m_shownContact.id);
    // Nothing of it is worth keeping: it goes without a word.
    m_detailEdited = false;
    if (position >= 0)
        mgr->deleteContact(position);
    m_groupView->selectGroupRow(groupRow);
    return false;
}

void MainWindow::commitDetail()
{
    if (m_contactView->contactModel()->rowCount() == 0)
        return;
    // A blank contact holds nothing to write: it goes, and the save goes on
    // without it rather than stopping without a word.
    if (checkDetailValues())
        m_contactView->commitCurrent();
}

void MainWindow::onContactChanged(int current, int previous)
{
    DataMgr *mgr = DataMgr::instance();
    if (previous != -1 && !mgr->isBusy())
        commitShownContact();
    if (current >= 0 && current < mgr->ctList().size() && current != previous)
        showContactDetail(mgr->ctList().at(current));
}

void MainWindow::commitShownContact()
{
    if (m_detailEmpty || !m_detailEdited || !m_firstNameEdit)
        return;
    DataMgr *mgr = DataMgr::instance();
    // By id: positions move when contacts are added or removed around it.
    const int position = mgr->indexOfContact(m_shownContact.id);
    if (position < 0)
        return;
    ContactInfo &c = mgr->ctList()[position];
    c.FirstName = m_firstNameEdit->text();
    c.LastName = m_lastNameEdit->text();
    c.Department = m_departmentEdit->text();
    if (m_primaryBox->count() > 0) {
        for (int i = 0; i < Records::kPhoneTypeCount; ++i) {
            if (Records::phoneTypeDisplay(i) == m_primaryBox->currentText()) {
                c.PrimaryIndex = i;
                break;
            }
        }
    }
    c.PhotoUrl = m_headText->text() == Records::defaultHeadText() ? QString() : m_headText->text();
    c.RingtoneUrl = m_ringtoneText->text() == Records::defaultRingtoneText() ? QString() : m_ringtoneText->text();

    // Grouped by type, types in the order they first appear; rows without a
    // number are left out, as they would not be shown again.
    QList<PhoneInfo> rows;
    for (PhoneItem *item : phoneItems()) {
        if (!item->number().isEmpty())
            rows.append(item->phoneInfo());
    }
    QList<PhoneInfo> phones;
    while (!rows.isEmpty()) {
        const QString type = rows.first().type;
        for (auto it = rows.begin(); it != rows.end();) {
            if (it->type == type) {
                phones.append(*it);
                it = rows.erase(it);
            } else {
                ++it;
            }
        }
    }
    c.PhoneList = phones;
    c.MailList.clear();
    for (MailItem *item : mailItems()) {
        if (!item->address().isEmpty())
            c.MailList.append(item->mailInfo());
    }
    // The list shows the primary number: it follows the new primary type.
    c.PrimaryNumber.clear();
    Records::rebuildPrimaryNumber(c);
    if (c.FirstName.isEmpty() && c.LastName.isEmpty()) {
        if (!c.PhoneList.isEmpty())
            c.FirstName = c.PhoneList.first().phonenumber;
        else if (!c.MailList.isEmpty())
            c.FirstName = c.MailList.first().Mail;
        m_fillingDetail = true;
        m_firstNameEdit->setText(c.FirstName);
        m_fillingDetail = false;
    }
    mgr->refreshContact(position);
    m_shownContact = c;
    m_detailEdited = false;
    m_detailTitleLabel->setText(QString(8, QLatin1Char(' ')) + c.FirstName + c.LastName);
    m_contactView->contactEdited(position);
}
