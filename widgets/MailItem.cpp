#include "widgets/MailItem.h"

#include "data/Records.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

MailItem::MailItem(const MailInfo &mail, QWidget *parent)
    : QWidget(parent)
    , m_mail(mail)
{
    setObjectName(QStringLiteral("mailItem"));

    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("mail_type_box"));
    m_typeBox->setGeometry(12, 0, 80, 24);
    for (const QString &word : Records::mailTypeWords()) {
        m_typeBox->addItem(
            QCoreApplication::translate("MailType", Records::mailTypeLabel(word).toLatin1().constData()));
        m_entryWords.append(word);
    }
    const QString stored = mail.type.isEmpty() ? QStringLiteral("Work") : mail.type;
    int entry = int(m_entryWords.indexOf(stored));
    if (entry < 0) {
        // A type word of another program stays as it is.
        m_typeBox->addItem(stored);
        m_entryWords.append(stored);
        entry = m_typeBox->count() - 1;
    }
    m_typeBox->setCurrentIndex(entry);

    m_addressEdit = new QLineEdit(mail.Mail, this);
    m_addressEdit->setObjectName(QStringLiteral("mail_address_edit"));
    m_addressEdit->setGeometry(97, 0, 213, 24);
    m_addressEdit->setCursorPosition(0);

    m_deleteButton = makePictureButton(QStringLiteral("mail_delete_button"),
        QStringLiteral(":/delete_button_default.png"), QStringLiteral(":/delete_button_pressed.png"), 320, 0, this);
    m_deleteButton->setToolTip(tr("Delete this mail address"));

    connect(m_deleteButton, &QPushButton::clicked, this, &MailItem::removeSelf);
    connect(m_typeBox, &QComboBox::currentTextChanged, this, &MailItem::typeChanged);
    connect(m_addressEdit, &QLineEdit::textChanged, this, &MailItem::addressChanged);
}

void MailItem::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int right = width() - m_deleteButton->width() - 6;
    m_addressEdit->setGeometry(m_addressEdit->x(), 0, right - m_addressEdit->x(), m_addressEdit->height());
    m_deleteButton->move(right + 6, 0);
}

MailInfo MailItem::mailInfo() const
{
    MailInfo info;
    info.TypeLabel = m_typeBox->currentText();
    info.type = m_entryWords.value(m_typeBox->currentIndex(), m_mail.type);
    info.Mail = m_addressEdit->text();
    return info;
}

void MailItem::removeSelf()
{
    emit removed();
    deleteLater();
}

void MailItem::setReadOnly(bool readOnly)
{
    m_addressEdit->setReadOnly(readOnly);
    m_typeBox->setEnabled(!readOnly);
    m_deleteButton->setVisible(!readOnly);
}
