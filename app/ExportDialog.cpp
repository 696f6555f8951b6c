#include "app/ExportDialog.h"

#include "app/DialogParts.h"
#include "export/ExportFactory.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

ExportDialog::ExportDialog(const QString &folder, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("export_dialog"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    DialogParts::makeCard(this, 502, 253);
    DialogParts::cardTitle(tr("Export file"), QRect(25, 5, 200, 35), this);
    const QString colon = QStringLiteral(":");
    DialogParts::rowLabel(tr("Format") + colon, QRect(5, 40, 80, 35), this);
    DialogParts::rowLabel(tr("Encode") + colon, QRect(5, 80, 80, 35), this);
    DialogParts::rowLabel(tr("Name") + colon, QRect(5, 120, 80, 35), this);
    DialogParts::rowLabel(tr("Export to") + colon, QRect(5, 160, 80, 35), this);
    m_formatBox = new QComboBox(this);
    m_formatBox->setObjectName(QStringLiteral("export_format_box"));
    m_formatBox->setGeometry(90, 40, 305, 35);
    m_formatBox->addItems(ExportFactory::formatLabels());
    m_formatBox->setCurrentIndex(ExportFactory::UniXml);
    m_encodingBox = new QComboBox(this);
    m_encodingBox->setObjectName(QStringLiteral("export_encoding_box"));
    m_encodingBox->setGeometry(90, 80, 305, 35);
    m_encodingBox->addItems(ExportFactory::encodingNames());
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("export_name_edit"));
    m_nameEdit->setGeometry(90, 120, 305, 35);
    m_folderEdit = new QLineEdit(folder, this);
    m_folderEdit->setObjectName(QStringLiteral("export_path_edit"));
    m_folderEdit->setGeometry(90, 160, 305, 35);
    auto *select
        = DialogParts::button(tr("Select path"), QStringLiteral("export_select_button"), QRect(405, 160, 90, 35), this);
    auto *ok = DialogParts::button(tr("OK"), QStringLiteral("export_ok_button"), QRect(100, 205, 100, 40), this);
    auto *cancel
        = DialogParts::button(tr("Cancel"), QStringLiteral("export_cancel_button"), QRect(300, 205, 100, 40), this);
    ok->setDefault(true);
    connect(select, &QPushButton::clicked, this, &ExportDialog::folderRequested);
    connect(ok, &QPushButton::clicked, this, &ExportDialog::submitted);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ExportOptions ExportDialog::options() const
{
    return { m_formatBox->currentIndex(), m_encodingBox->currentText(), m_nameEdit->text().trimmed(),
        m_folderEdit->text().trimmed() };
}

void ExportDialog::setFolder(const QString &folder)
{
    m_folderEdit->setText(folder);
}
