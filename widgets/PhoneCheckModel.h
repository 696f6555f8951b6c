#pragma once

#include "export/LayoutCheck.h"

#include <QAbstractItemModel>
#include <QList>
#include <QString>

// What each checked layout makes of the phonebook, as a tree: a row per phone
// model (or per layout picked for an export) with its mark and counts, and
// under it a row per finding, which knows its contact.
class PhoneCheckModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // Green: nothing lost or changed. Amber: something is changed or left out.
    // Red: the file cannot be made at all.
    enum class Mark { Green, Amber, Red };
    enum Column { NameColumn, WhatColumn, ColumnCount };
    enum Role {
        ContactIdRole = Qt::UserRole + 1, // a finding's contact; 0 for none
        MarkRole, // a layout row's Mark, as int
    };
    struct Entry {
        QString name;
        LayoutCheck::Report report;
    };

    using QAbstractItemModel::QAbstractItemModel;

    static Mark markOf(const LayoutCheck::Report &report);
    // The mark's colour, drawn as a dot before the name.
    static QColor markColor(Mark mark);

    void setEntries(QList<Entry> entries);
    const QList<Entry> &entries() const { return m_entries; }

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The summary of a layout row: counts, or why the file cannot be made.
    static QString summary(const LayoutCheck::Report &report);

private:
    QVariant layoutData(const Entry &entry, int column, int role) const;
    QVariant findingData(const LayoutCheck::Finding &finding, int column, int role) const;

    QList<Entry> m_entries;
};
