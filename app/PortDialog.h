#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;

// Which port the HTTP service listens on.
struct PortOptions {
    bool useDefault = true;
    // As typed: it is kept as it stands.
    QString port;

    // The default port, or a custom one from 5000 to 65535.
    bool isValid() const;
};

// The HTTP port dialog: the default port 80 or a custom one. It only collects;
// the window keeps the choice when it signals submitted().
class PortDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PortDialog(const PortOptions &current, QWidget *parent = nullptr);

    PortOptions options() const;

signals:
    void submitted();

private:
    QCheckBox *m_defaultBox = nullptr;
    QLineEdit *m_portEdit = nullptr;
};
