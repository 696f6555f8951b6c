#pragma once

#include "widgets/UniView.h"

class GroupModel;
class QSortFilterProxyModel;

// The group list: "All", "Default", the user groups, the add-group row and
// "Blacklist". Pressing a group shows its contacts; pressing the add-group row
// asks for the name of a new group; double-clicking a user group's name renames
// it in place.
class GroupView : public UniView
{
    Q_OBJECT
public:
    explicit GroupView(const QString &backgroundImage, QWidget *parent = nullptr);

    GroupModel *groupModel() const { return m_model; }
    int currentGroupRow() const { return m_currentRow; }
    // Selects a group row as a press would, showing its contacts.
    void selectGroupRow(int row);

signals:
    void showOwnContacts(int row, int sourceRow);
    void addGroup(const QString &name);
    void groupCheckDetail();
    void clearSearchFocus();
    // The user pressed a group row (not the add-group row).
    void groupChosen();
    // A group was renamed in place.
    void groupRenamed();

public slots:
    void onRowPressed(int row);
    void onChangeIndex(const QModelIndex &current, const QModelIndex &previous);
    void updateGroupModel();
    void onContactSearch();
    void afterDelegate(int row);
    void changeScrollValue(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void runAddGroupDialog();
    // Commits and closes an open name editor.
    void finishEditing();
    void markSelected(int row);
    int sourceRow(int row) const;

    GroupModel *m_model;
    QSortFilterProxyModel *m_proxy;
    int m_currentRow = 0;
    int m_newNameCounter = 1;
    QString m_background;
    bool m_editorOpen = false;
    int m_editorRow = -1;
};
