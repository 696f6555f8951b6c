#pragma once

#include "widgets/PhoneCheckModel.h"

#include <QWidget>

class QLabel;
class QTreeView;

// A check of the phonebook, shown: a heading that says what was checked, the
// layouts with their green, amber or red marks and counts, and under each its
// findings. Clicking a finding asks for its contact.
class PhoneCheckView : public QWidget
{
    Q_OBJECT
public:
    explicit PhoneCheckView(QWidget *parent = nullptr);

    PhoneCheckModel *checkModel() const { return m_model; }
    QTreeView *tree() const { return m_tree; }

    void setHeading(const QString &text);
    // A new check; the layouts the user had open stay open. A single layout
    // opens by itself.
    void setEntries(QList<PhoneCheckModel::Entry> entries);
    // Says so while a check runs; the last result stays until the next comes.
    void setChecking(bool checking);

signals:
    void contactChosen(int contactId);

private:
    void chooseFinding(const QModelIndex &index);

    QLabel *m_heading = nullptr;
    QLabel *m_state = nullptr;
    QTreeView *m_tree = nullptr;
    PhoneCheckModel *m_model = nullptr;
};
