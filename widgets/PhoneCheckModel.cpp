#include "widgets/PhoneCheckModel.h"

#include "widgets/StatusDot.h"

#include <QColor>
#include <QIcon>

namespace {

// A finding's internal id is its layout's row plus one; a layout row's is 0.
constexpr quintptr kLayoutRow = 0;

} // namespace

PhoneCheckModel::Mark PhoneCheckModel::markOf(const LayoutCheck::Report &report)
{
    if (report.refused)
        return Mark::Red;
    return report.findings.isEmpty() ? Mark::Green : Mark::Amber;
}

QColor PhoneCheckModel::markColor(Mark mark)
{
    switch (mark) {
    case Mark::Green:
        return QColor(0x2E, 0xA0, 0x43);
    case Mark::Amber:
        return QColor(0xE8, 0x9B, 0x0C);
    case Mark::Red:
        break;
    }
    return QColor(0xD9, 0x2D, 0x20);
}

QString PhoneCheckModel::summary(const LayoutCheck::Report &report)
{
    if (report.refused)
        return tr("The file cannot be made: the encoding %1 cannot hold some names or mail addresses.")
            .arg(report.encoding);
    int lost = 0;
    for (const LayoutCheck::Finding &f : report.findings)
        lost += f.severity == LayoutCheck::Severity::Lost ? 1 : 0;
    const QString counts = tr("Contacts: %1, groups: %2").arg(report.contacts).arg(report.groups);
    if (report.findings.isEmpty())
        return tr("%1 — nothing lost or changed").arg(counts);
    return tr("%1 — lost: %2, changed: %3").arg(counts).arg(lost).arg(report.findings.size() - lost);
}

void PhoneCheckModel::setEntries(QList<Entry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

QModelIndex PhoneCheckModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    if (!parent.isValid())
        return createIndex(row, column, kLayoutRow);
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex PhoneCheckModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kLayoutRow)
        return QModelIndex();
    return createIndex(int(child.internalId() - 1), 0, kLayoutRow);
}

int PhoneCheckModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_entries.size());
    if (parent.internalId() == kLayoutRow && parent.column() == 0)
        return int(m_entries.at(parent.row()).report.findings.size());
    return 0;
}

int PhoneCheckModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QVariant PhoneCheckModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    if (index.internalId() == kLayoutRow)
        return layoutData(m_entries.at(index.row()), index.column(), role);
    const Entry &entry = m_entries.at(int(index.internalId() - 1));
    return findingData(entry.report.findings.at(index.row()), index.column(), role);
}

QVariant PhoneCheckModel::layoutData(const Entry &entry, int column, int role) const
{
    const Mark mark = markOf(entry.report);
    switch (role) {
    case Qt::DisplayRole:
        return column == NameColumn ? entry.name : summary(entry.report);
    case Qt::DecorationRole:
        if (column == NameColumn) {
            static const QIcon dots[] = { statusDot(markColor(Mark::Green)), statusDot(markColor(Mark::Amber)),
                statusDot(markColor(Mark::Red)) };
            return dots[int(mark)];
        }
        break;
    case Qt::ToolTipRole:
        return summary(entry.report);
    case MarkRole:
        return int(mark);
    case ContactIdRole:
        return 0;
    default:
        break;
    }
    return QVariant();
}

QVariant PhoneCheckModel::findingData(const LayoutCheck::Finding &finding, int column, int role) const
{
    const bool lost = finding.severity == LayoutCheck::Severity::Lost;
    switch (role) {
    case Qt::DisplayRole:
        if (column == NameColumn)
            return lost ? tr("Lost") : tr("Changed");
        return finding.what;
    case Qt::ToolTipRole:
        return finding.what;
    case Qt::ForegroundRole:
        if (column == NameColumn)
            return lost ? markColor(Mark::Red) : markColor(Mark::Amber).darker(120);
        break;
    case ContactIdRole:
        return finding.contactId;
    default:
        break;
    }
    return QVariant();
}
