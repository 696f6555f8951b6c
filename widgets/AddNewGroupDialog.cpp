#include "widgets/AddNewGroupDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The icon and the three or four buttons of a window manager's title bar.
constexpr int kTitleBarRoom = 160;
} // namespace

AddNewGroupDialog::AddNewGroupDialog(const QString &proposedName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("add_group_dialog"));
    setWindowTitle(tr("Customize new group name"));

    m_label = new QLabel(tr("New Group Name:"), this);
    m_label->setObjectName(QStringLiteral("group_name_label"));
    m_edit = new QLineEdit(proposedName, this);
    m_edit->setObjectName(QStringLiteral("group_name_edit"));
    m_label->setBuddy(m_edit);

    m_addButton = new QPushButton(tr("Add"), this);
    m_addButton->setObjectName(QStringLiteral("group_add_button"));
    m_addButton->setMaximumWidth(100);
    m_addButton->setDefault(true);
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("group_close_button"));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_label);
    nameRow->addWidget(m_edit);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_addButton);
    buttonRow->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(buttonRow);

    connect(m_edit, &QLineEdit::textChanged, this, &AddNewGroupDialog::enableFindButton);
    connect(m_addButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    enableFindButton();
    setFixedHeight(sizeHint().height());
    // The window manager cuts a title wider than the dialog. Its title font is
    // not known here: take ours in bold, and leave room for the icon and buttons
    // that share the title bar.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 5 / 4 + kTitleBarRoom;
    setMinimumWidth(qMax(minimumSizeHint().width(), titleWidth));
}

QString AddNewGroupDialog::groupName() const
{
    return m_edit->text();
}

void AddNewGroupDialog::enableFindButton()
{
    m_addButton->setEnabled(!m_edit->text().isEmpty());
}
