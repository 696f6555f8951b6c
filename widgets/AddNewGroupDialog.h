#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the name of a new group, starting from a proposed free name. "Add"
// is only enabled while the name is not empty. Repeated names are not checked
// here: the group list proposes a free one and the data manager refuses
// duplicates on rename.
class AddNewGroupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddNewGroupDialog(const QString &proposedName, QWidget *parent = nullptr);

    QLineEdit *lineEdit() const { return m_edit; }
    QString groupName() const;

    Q_INVOKABLE void enableFindButton();

private:
    QLabel *m_label;
    QLineEdit *m_edit;
    QPushButton *m_addButton;
    QPushButton *m_closeButton;
};
