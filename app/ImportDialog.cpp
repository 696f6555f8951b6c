#include "app/ImportDialog.h"

#include "app/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

ImportDialog::ImportDialog(const QString &path, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("import_dialog"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    DialogParts::makeCard(this, 502, 253);
    DialogParts::cardTitle(tr("Import file"), QRect(25, 10, 200, 40), this);
    const QString colon = QStringLiteral(":");
    DialogParts::rowLabel(tr("File Encoding") + colon, QRect(16, 50, 120, 35), this);
    DialogParts::rowLabel(tr("Clear list") + colon, QRect(16, 90, 120, 35), this);
    DialogParts::rowLabel(tr("Replace Way") + colon, QRect(16, 125, 120, 35), this);
    DialogParts::rowLabel(tr("Import file") + colon, QRect(16, 160, 120, 35), this);
    m_encodingBox = new QComboBox(this);
    m_encodingBox->setObjectName(QStringLiteral("import_encoding_box"));
    m_encodingBox->setGeometry(150, 50, 200, 35);
    DialogParts::fillImportEncodings(m_encodingBox);
    QCheckBox *no = nullptr;
    DialogParts::noYesPair(tr("No"), tr("Yes"), QRect(150, 90, 50, 35), QRect(250, 90, 50, 35),
        QStringLiteral("import_clear"), &no, &m_clearYes, this);
    DialogParts::noYesPair(tr("No"), tr("Yes"), QRect(150, 125, 50, 35), QRect(250, 125, 50, 35),
        QStringLiteral("import_replace"), &no, &m_replaceYes, this);
    m_pathEdit = new QLineEdit(path, this);
    m_pathEdit->setObjectName(QStringLiteral("import_path_edit"));
    m_pathEdit->setGeometry(150, 160, 200, 35);
    auto *select = DialogParts::button(
        tr("Select File"), QStringLiteral("import_select_button"), QRect(360, 160, 100, 35), this);
    auto *ok = DialogParts::button(tr("OK"), QStringLiteral("import_ok_button"), QRect(100, 205, 100, 40), this);
    auto *cancel
        = DialogParts::button(tr("Cancel"), QStringLiteral("import_cancel_button"), QRect(300, 205, 100, 40), this);
    ok->setDefault(true);
    connect(select, &QPushButton::clicked, this, &ImportDialog::fileRequested);
    connect(ok, &QPushButton::clicked, this, &ImportDialog::submitted);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ImportOptions ImportDialog::options() const
{
    return { m_pathEdit->text(), DialogParts::chosenEncoding(m_encodingBox), m_clearYes->isChecked(),
        m_replaceYes->isChecked() };
}

void ImportDialog::setPath(const QString &path)
{
    m_pathEdit->setText(path);
}
