#include "widgets/PhoneItem.h"

#include "data/Records.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kAccounts = 6;
constexpr int kCompanyTotal = 7;
constexpr int kFieldHeight = 24;
constexpr int kLineGap = 4;
constexpr int kIndent = 12;
// Type and account share the second line in this proportion.
constexpr int kTypeShare = 54;

} // namespace

QList<int> PhoneItem::offeredTypes()
{
    QList<int> rows;
    for (int i = 0; i < Records::kPhoneTypeCount; ++i) {
        if (i != kCompanyTotal)
            rows.append(i);
    }
    return rows;
}

PhoneItem::PhoneItem(const PhoneInfo &phone, QWidget *parent)
    : QWidget(parent)
    , m_phone(phone)
{
    setObjectName(QStringLiteral("phoneItem"));

    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("phone_type_box"));
    for (int row : offeredTypes()) {
        m_typeBox->addItem(Records::phoneTypeDisplay(row));
        m_entryTypes.append(row);
    }
    const int stored = Records::phoneTypeIndexOfWord(phone.type.isEmpty() ? QStringLiteral("Work") : phone.type);
    int entry = int(m_entryTypes.indexOf(stored));
    if (entry < 0) {
        // "CompanyTotal" or a word of another program: shown as it is, kept as it is.
        m_typeBox->addItem(stored >= 0 ? Records::phoneTypeDisplay(stored) : phone.type);
        m_entryTypes.append(-1);
        entry = m_typeBox->count() - 1;
    }
    m_typeBox->setCurrentIndex(entry);

    m_numberEdit = new QLineEdit(phone.phonenumber, this);
    m_numberEdit->setObjectName(QStringLiteral("phone_number_edit"));
    // A long number shows its beginning, as it is read.
    m_numberEdit->setCursorPosition(0);

    m_accountBox = new QComboBox(this);
    m_accountBox->setObjectName(QStringLiteral("phone_account_box"));
    for (int i = 1; i <= kAccounts; ++i)
        m_accountBox->addItem(tr("account%1").arg(i));
    m_accountBox->addItem(tr("Using Active Account"));
    m_accountEntries = m_accountBox->count();
    if (phone.accountindex == -1) {
        m_accountBox->setCurrentIndex(kAccounts);
    } else if (phone.accountindex >= 0 && phone.accountindex < kAccounts) {
        m_accountBox->setCurrentIndex(phone.accountindex);
    } else {
        m_accountBox->addItem(tr("account%1").arg(phone.accountindex + 1));
        m_accountBox->setCurrentIndex(m_accountEntries);
    }

    m_deleteButton = makePictureButton(QStringLiteral("phone_delete_button"),
        QStringLiteral(":/delete_button_default.png"), QStringLiteral(":/delete_button_pressed.png"), 320, 0, this);
    m_deleteButton->setToolTip(tr("Delete this number"));
    resize(350, rowHeight());

    connect(m_deleteButton, &QPushButton::clicked, this, &PhoneItem::removeSelf);
    connect(m_typeBox, &QComboBox::currentTextChanged, this, &PhoneItem::typeChanged);
    connect(m_numberEdit, &QLineEdit::textChanged, this, &PhoneItem::numberChanged);
    connect(m_accountBox, &QComboBox::currentTextChanged, this, &PhoneItem::accountChanged);
}

int PhoneItem::rowHeight()
{
    return 2 * kFieldHeight + kLineGap + 8;
}

void PhoneItem::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int button = m_deleteButton->width();
    const int right = width() - button - 6;
    m_numberEdit->setGeometry(kIndent, 0, right - kIndent, kFieldHeight);
    m_deleteButton->move(right + 6, 0);
    const int line = kFieldHeight + kLineGap;
    const int typeWidth = (width() - kIndent) * kTypeShare / 100;
    m_typeBox->setGeometry(kIndent, line, typeWidth, kFieldHeight);
    m_accountBox->setGeometry(kIndent + typeWidth + 4, line, width() - kIndent - typeWidth - 4 - 2, kFieldHeight);
}

PhoneInfo PhoneItem::phoneInfo() const
{
    PhoneInfo info;
    info.TypeLabel = m_typeBox->currentText();
    const int row = m_entryTypes.value(m_typeBox->currentIndex(), -1);
    info.type = row >= 0 ? Records::phoneTypeWord(row) : m_phone.type;
    info.phonenumber = m_numberEdit->text();
    const int account = m_accountBox->currentIndex();
    if (account == kAccounts)
        info.accountindex = -1;
    else if (account >= 0 && account < kAccounts)
        info.accountindex = account;
    else
        info.accountindex = m_phone.accountindex;
    return info;
}

void PhoneItem::removeSelf()
{
    emit removed();
    deleteLater();
}

void PhoneItem::setReadOnly(bool readOnly)
{
    m_numberEdit->setReadOnly(readOnly);
    m_typeBox->setEnabled(!readOnly);
    m_accountBox->setEnabled(!readOnly);
    m_deleteButton->setVisible(!readOnly);
}
