#pragma once

#include <QAbstractTableModel>

// The phonebook's groups as a table: "All" first, the groups in list order with
// the add-group row before the last one ("Blacklist"). Columns: icon, displayed
// name, member count, pinyin key (hidden) and the arrow of the selected row.
// Editing the name column renames the group.
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
    void rebuild();

    // Index in the phonebook's groups of a row; -1 for "All", the add-group row
    // and rows out of range.
    static int groupIndex(int row);
    // Row showing group `index` of the phonebook (row 0, "All", when there is none).
    static int rowOfGroup(int index);
    static bool isAddRow(int row);
    // The group name a row stands for: "All", "Add group" or the group's name.
    static QString rowName(int row);

    // The row with the arrow.
    void setSelectedRow(int row);

signals:
    // After an edit of the name column, whether or not it renamed the group.
    void dataStored(int row);
    // After a successful rename.
    void groupRenamed(int row);

private:
    int m_selectedRow = -1;
};
