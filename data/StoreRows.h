#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// Table name ("contact1", "group1", "phone1", "mail1", "union1") to its columns, each
// a list of values with one entry per row, in the table's column order.
using Batch = QMap<QString, QList<QVariantList>>;

namespace StoreValues {
// Null values of the two column kinds.
inline QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}
inline QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}
} // namespace StoreValues
