#pragma once

#include "manager/Options.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The local import dialog: file, encoding ("Auto" included), whether the list is
// emptied first and whether contacts of the same name are replaced. It only
// collects; the window runs the import when it signals submitted().
class ImportDialog : public QDialog
{
    Q_OBJECT
public:
    // `path`: the file chosen last time.
    explicit ImportDialog(const QString &path, QWidget *parent = nullptr);

    ImportOptions options() const;
    void setPath(const QString &path);

signals:
    void fileRequested();
    void submitted();

private:
    QComboBox *m_encodingBox = nullptr;
    QCheckBox *m_clearYes = nullptr;
    QCheckBox *m_replaceYes = nullptr;
    QLineEdit *m_pathEdit = nullptr;
};
