#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;

// What the user chose for an export.
struct ExportOptions {
    // An ExportFactory layout.
    int format = 0;
    QString encoding;
    // The file's name without its extension.
    QString name;
    QString folder;

    // A plain file name (it cannot lead into another folder) and a folder that exists.
    bool isComplete() const;
    // The file the export writes.
    QString filePath() const;
};

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
