#include "widgets/PhoneFetchModel.h"

#include "widgets/StatusDot.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QLocale>

void PhoneFetchModel::setFetches(PhoneFetches *fetches)
{
    if (fetches == m_fetches)
        return;
    beginResetModel();
    if (m_fetches)
        disconnect(m_fetches, nullptr, this, nullptr);
    m_fetches = fetches;
    m_rows = fetches ? int(fetches->phones().size()) : 0;
    endResetModel();
    if (!fetches)
        return;
    connect(fetches, &PhoneFetches::phonesAdded, this, [this](int first, int last) {
        beginInsertRows(QModelIndex(), first, last);
        m_rows = last + 1;
        endInsertRows();
    });
    connect(fetches, &PhoneFetches::phonesChanged, this,
        [this](int first, int last) { emit dataChanged(index(first, 0), index(last, ColumnCount - 1)); });
    connect(fetches, &PhoneFetches::aboutToForget, this, [this] { beginResetModel(); });
    connect(fetches, &PhoneFetches::forgotten, this, [this] {
        m_rows = int(m_fetches->phones().size());
        endResetModel();
    });
    connect(fetches, &PhoneFetches::generationChanged, this, [this] {
        if (m_rows > 0)
            emit dataChanged(index(0, UpToDateColumn), index(m_rows - 1, UpToDateColumn));
    });
    // The table goes with the service; by then it can no longer be read.
    connect(fetches, &QObject::destroyed, this, &PhoneFetchModel::forget);
}

void PhoneFetchModel::forget()
{
    beginResetModel();
    m_fetches = nullptr;
    m_rows = 0;
    endResetModel();
}

QColor PhoneFetchModel::markColor(Mark mark)
{
    switch (mark) {
    case Mark::UpToDate:
        return QColor(0x2E, 0xA0, 0x43);
    case Mark::Older:
        return QColor(0xE8, 0x9B, 0x0C);
    case Mark::Nothing:
        break;
    }
    return QColor(0xD9, 0x2D, 0x20);
}

PhoneFetchModel::Mark PhoneFetchModel::markOf(int row) const
{
    const PhoneFetches::Phone &phone = m_fetches->phones().at(row);
    if (phone.phonebook == 0)
        return Mark::Nothing;
    return m_fetches->isUpToDate(phone) ? Mark::UpToDate : Mark::Older;
}

int PhoneFetchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_fetches ? 0 : m_rows;
}

int PhoneFetchModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PhoneFetchModel::data(const QModelIndex &index, int role) const
{
    if (!m_fetches || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const PhoneFetches::Phone &phone = m_fetches->phones().at(index.row());
    const Mark mark = markOf(index.row());
    switch (index.column()) {
    case PhoneColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return phone.userAgent.isEmpty() ? phone.address : phone.address + QStringLiteral("  ") + phone.userAgent;
        break;
    case ModelColumn:
        if (role == Qt::DisplayRole)
            return phone.model;
        break;
    case LastFetchColumn:
        if (role == Qt::DisplayRole)
            return QDateTime::fromMSecsSinceEpoch(phone.time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (role == Qt::ToolTipRole) {
            return phone.status == RequestRecord::kNoResponse
                ? tr("%1: nothing was sent").arg(phone.fileName)
                : tr("%1: %2 bytes sent").arg(phone.fileName, QLocale().toString(phone.bytes));
        }
        break;
    case UpToDateColumn:
        switch (role) {
        case Qt::DisplayRole:
            return mark == Mark::UpToDate ? tr("Yes") : tr("No");
        case Qt::DecorationRole:
            if (mark != Mark::UpToDate) {
                static const QIcon dots[]
                    = { QIcon(), statusDot(markColor(Mark::Older)), statusDot(markColor(Mark::Nothing)) };
                return dots[int(mark)];
            }
            break;
        case Qt::ForegroundRole:
            if (mark != Mark::UpToDate)
                return markColor(mark).darker(120);
            break;
        case Qt::ToolTipRole:
            if (mark == Mark::Older)
                return tr("This phone has an older phonebook; it gets the current one when it fetches again.");
            if (mark == Mark::Nothing)
                return tr("This phone has not received a whole phonebook.");
            return tr("This phone has the phonebook that phones get now.");
        default:
            break;
        }
        break;
    case BytesColumn:
        if (role == Qt::DisplayRole)
            return QLocale().toString(phone.bytes);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    default:
        break;
    }
    if (role == MarkRole)
        return int(mark);
    return QVariant();
}

QVariant PhoneFetchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case PhoneColumn:
        return tr("Phone");
    case ModelColumn:
        return tr("Model");
    case LastFetchColumn:
        return tr("Last fetch");
    case UpToDateColumn:
        return tr("Up to date");
    case BytesColumn:
        return tr("Bytes");
    default:
        break;
    }
    return QVariant();
}

void PhoneFetchModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}
