#include "app/ExportDialog.h"

#include "app/DialogParts.h"
#include "app/WindowPlacement.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"
#include "widgets/PhoneCheckRunner.h"
#include "widgets/PhoneCheckView.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

ExportDialog::ExportDialog(const QString &folder, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("export_dialog"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    DialogParts::makeCard(this, 502, 293);
    // Taller than the card's picture, which is stretched to fit rather than repeated.
    setStyleSheet(QStringLiteral("QDialog {border-image: url(:/export_background.png) 0 0 0 0 stretch stretch}"));
    DialogParts::cardTitle(tr("Export file"), QRect(25, 5, 200, 35), this);
    const QString colon = QStringLiteral(":");
    DialogParts::rowLabel(tr("Format") + colon, QRect(5, 40, 80, 35), this);
    DialogParts::rowLabel(tr("Encode") + colon, QRect(5, 80, 80, 35), this);
    DialogParts::rowLabel(tr("Name") + colon, QRect(5, 120, 80, 35), this);
    DialogParts::rowLabel(tr("Export to") + colon, QRect(5, 160, 80, 35), this);
    DialogParts::rowLabel(tr("Check") + colon, QRect(5, 200, 80, 35), this);
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
    m_checkLine = new QLabel(this);
    m_checkLine->setObjectName(QStringLiteral("export_check_line"));
    m_checkLine->setGeometry(90, 198, 405, 40);
    m_checkLine->setWordWrap(true);
    m_checkLine->setTextFormat(Qt::RichText);
    connect(m_checkLine, &QLabel::linkActivated, this, &ExportDialog::showCheckDetails);
    auto *ok = DialogParts::button(tr("OK"), QStringLiteral("export_ok_button"), QRect(100, 245, 100, 40), this);
    auto *cancel
        = DialogParts::button(tr("Cancel"), QStringLiteral("export_cancel_button"), QRect(300, 245, 100, 40), this);
    ok->setDefault(true);
    connect(select, &QPushButton::clicked, this, &ExportDialog::folderRequested);
    connect(ok, &QPushButton::clicked, this, &ExportDialog::submitted);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A window of the dialog's own, so the modal dialog does not block it.
    m_details = new PhoneCheckView(this);
    m_details->setObjectName(QStringLiteral("export_check_details"));
    m_details->setWindowFlags(Qt::Window);
    m_details->setWindowTitle(tr("What the export makes of the phonebook"));
    connect(m_details, &PhoneCheckView::contactChosen, this, &ExportDialog::contactChosen);
    m_checkRunner = new PhoneCheckRunner(this);
    connect(m_checkRunner, &PhoneCheckRunner::finished, this, &ExportDialog::showCheck);
    connect(m_formatBox, &QComboBox::currentIndexChanged, this, &ExportDialog::checkChoice);
    connect(m_encodingBox, &QComboBox::currentIndexChanged, this, &ExportDialog::checkChoice);
    checkChoice();
}

void ExportDialog::checkChoice()
{
    const ExportOptions o = options();
    const QString name = m_formatBox->currentText();
    m_details->setHeading(
        tr("%1: what the file will hold of the phonebook.").arg(name + QStringLiteral(", ") + o.encoding));
    m_details->setChecking(true);
    m_checkLine->setText(tr("Checking…"));
    // What the export writes: the working lists, as exportAsSaved takes them.
    const Phonebook &book = DataMgr::instance()->phonebook();
    m_checkRunner->start({ { name, o.format, o.encoding } }, book.contacts(), book.groupsAsSaved());
}

void ExportDialog::showCheck(const QList<PhoneCheckModel::Entry> &entries)
{
    m_details->setEntries(entries);
    if (entries.isEmpty())
        return;
    const LayoutCheck::Report &report = entries.constFirst().report;
    const QString dot = QStringLiteral("<span style=\"color: %1\">&#x25cf;</span> ")
                            .arg(PhoneCheckModel::markColor(PhoneCheckModel::markOf(report)).name());
    QString text = dot + PhoneCheckModel::summary(report).toHtmlEscaped();
    if (!report.findings.isEmpty())
        text += QStringLiteral(" <a href=\"details\">%1</a>").arg(tr("Details…").toHtmlEscaped());
    m_checkLine->setText(text);
}

void ExportDialog::showCheckDetails()
{
    if (!m_details->isVisible()) {
        m_details->move(
            WindowPlacement::beside(frameGeometry(), m_details->frameGeometry().size(), screen()->availableGeometry()));
    }
    m_details->show();
    m_details->raise();
    m_details->activateWindow();
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
