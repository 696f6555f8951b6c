#pragma once

#include <QAbstractTableModel>

// The data manager's group list as a table, one row per group in list order:
// icon, displayed name, member count, pinyin key (hidden) and the arrow of the
// selected row. Editing the name column renames the group.
class GroupModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { PadColumn, IconColumn, NameColumn, CountColumn, KeyColumn, ArrowColumn, ColumnCount };

    explicit GroupModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Reads the lists again after the data manager changed them.
    void reset();

signals:
    // After an edit of the name column, whether or not it renamed the group.
    void dataStored(int row);
    // After a successful rename.
    void groupRenamed(int row);
};
