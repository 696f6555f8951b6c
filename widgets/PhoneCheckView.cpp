#include "widgets/PhoneCheckView.h"

#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QTreeView>
#include <QVBoxLayout>

PhoneCheckView::PhoneCheckView(QWidget *parent)
    : QWidget(parent)
{
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("phone_check_heading"));
    m_heading->setWordWrap(true);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("phone_check_state"));
    m_model = new PhoneCheckModel(this);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("phone_check_tree"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    // Tens of thousands of findings scroll smoothly only with rows of one height.
    m_tree->setUniformRowHeights(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setTextElideMode(Qt::ElideRight);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setSectionResizeMode(PhoneCheckModel::NameColumn, QHeaderView::ResizeToContents);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_state);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeView::clicked, this, &PhoneCheckView::chooseFinding);
    connect(m_tree, &QTreeView::activated, this, &PhoneCheckView::chooseFinding);
    resize(560, 420);
    setChecking(false);
}

void PhoneCheckView::setHeading(const QString &text)
{
    m_heading->setText(text);
}

void PhoneCheckView::setChecking(bool checking)
{
    m_state->setText(checking ? tr("Checking…") : QString());
    m_state->setVisible(checking);
}

void PhoneCheckView::setEntries(QList<PhoneCheckModel::Entry> entries)
{
    QSet<QString> open;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        if (m_tree->isExpanded(index))
            open.insert(index.data().toString());
    }
    m_model->setEntries(std::move(entries));
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        if (m_model->rowCount() == 1 || open.contains(index.data().toString()))
            m_tree->expand(index);
    }
    setChecking(false);
}

void PhoneCheckView::chooseFinding(const QModelIndex &index)
{
    const int contactId = index.data(PhoneCheckModel::ContactIdRole).toInt();
    if (index.parent().isValid() && contactId > 0)
        emit contactChosen(contactId);
}
