#pragma once

#include "manager/Options.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;

// The local export dialog: layout, encoding, file name and folder. It only
// collects; the window runs the export when it signals submitted().
class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    // `folder`: the folder exported to last time.
    explicit ExportDialog(const QString &folder, QWidget *parent = nullptr);

    ExportOptions options() const;
    void setFolder(const QString &folder);

signals:
    void folderRequested();
    void submitted();

private:
    QComboBox *m_formatBox = nullptr;
    QComboBox *m_encodingBox = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_folderEdit = nullptr;
};
