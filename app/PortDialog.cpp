#include "app/PortDialog.h"

#include "app/DialogParts.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

bool PortOptions::isValid() const
{
    const int number = port.toInt();
    return useDefault || (number >= 5000 && number <= 65535);
}

PortDialog::PortDialog(const PortOptions &current, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("port_dialog"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    DialogParts::makeCard(this, 500, 200);
    DialogParts::cardTitle(tr("Configure Httpd Port"), QRect(10, 10, 300, 40), this);
    DialogParts::rowLabel(tr("Use the Default Port 80:"), QRect(10, 50, 190, 35), this);
    DialogParts::rowLabel(tr("Custom Port (5000-65535):"), QRect(10, 100, 190, 35), this);
    m_defaultBox = new QCheckBox(this);
    m_defaultBox->setObjectName(QStringLiteral("port_default_box"));
    m_defaultBox->setGeometry(210, 50, 250, 35);
    m_defaultBox->setChecked(current.useDefault);
    m_portEdit = new QLineEdit(current.port, this);
    m_portEdit->setObjectName(QStringLiteral("port_edit"));
    m_portEdit->setGeometry(210, 100, 250, 35);
    m_portEdit->setValidator(new QIntValidator(0, 65535, m_portEdit));
    m_portEdit->setEnabled(!current.useDefault);
    auto *ok = DialogParts::button(tr("OK"), QStringLiteral("port_ok_button"), QRect(100, 150, 100, 40), this);
    auto *cancel
        = DialogParts::button(tr("Cancel"), QStringLiteral("port_cancel_button"), QRect(300, 150, 100, 40), this);
    ok->setDefault(true);
    // A custom port is typed only when the default one is not used.
    connect(m_defaultBox, &QCheckBox::toggled, m_portEdit,
        [this](bool useDefault) { m_portEdit->setEnabled(!useDefault); });
    connect(ok, &QPushButton::clicked, this, &PortDialog::submitted);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

PortOptions PortDialog::options() const
{
    return { m_defaultBox->isChecked(), m_portEdit->text() };
}
