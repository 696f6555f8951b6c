#pragma once

#include "httpd/PhoneFetches.h"

#include <QAbstractTableModel>
#include <QPointer>

// The service's phones as a table: a row per phone (address and User-Agent) with
// the model it was served, its last fetch, whether it has the phonebook phones get
// now, and the bytes of that fetch. Shows nothing while the service is off.
class PhoneFetchModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { PhoneColumn, ModelColumn, LastFetchColumn, UpToDateColumn, BytesColumn, ColumnCount };
    // Why a phone is not up to date: it has an older phonebook, or none at all.
    enum class Mark { UpToDate, Older, Nothing };
    enum Role { MarkRole = Qt::UserRole + 1 };

    using QAbstractTableModel::QAbstractTableModel;

    // The phones of a running service; null when it stops. The table may go away
    // with the service.
    void setFetches(PhoneFetches *fetches);

    static QColor markColor(Mark mark);
    Mark markOf(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The headers follow a change of language.
    void retranslate();

private:
    void forget();

    QPointer<PhoneFetches> m_fetches;
    // The rows announced so far; the table may hold more a moment before it says so.
    int m_rows = 0;
};
