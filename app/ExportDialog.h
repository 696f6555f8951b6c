#pragma once

#include "manager/Options.h"
#include "widgets/PhoneCheckModel.h"

#include <QDialog>
#include <QString>

class PhoneCheckRunner;
class PhoneCheckView;
class QComboBox;
class QLabel;
class QLineEdit;

// The local export dialog: layout, encoding, file name and folder. It only
// collects; the window runs the export when it signals submitted(). Beneath the
// fields it tells what the chosen layout and encoding make of the phonebook,
// with the findings one click away.
class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    // `folder`: the folder exported to last time.
    explicit ExportDialog(const QString &folder, QWidget *parent = nullptr);

    ExportOptions options() const;
    void setFolder(const QString &folder);
    // The findings of the chosen layout, in a window of their own.
    PhoneCheckView *checkDetails() const { return m_details; }
    void showCheckDetails();

signals:
    void folderRequested();
    void submitted();
    // A finding of the check was clicked.
    void contactChosen(int contactId);

private:
    void checkChoice();
    void showCheck(const QList<PhoneCheckModel::Entry> &entries);

    QComboBox *m_formatBox = nullptr;
    QComboBox *m_encodingBox = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_folderEdit = nullptr;
    QLabel *m_checkLine = nullptr;
    PhoneCheckRunner *m_checkRunner = nullptr;
    PhoneCheckView *m_details = nullptr;
};
