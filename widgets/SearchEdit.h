#pragma once

#include <QLineEdit>

// The contact search line. While it is not in use it shows its hint in grey as
// its own text; the contact list ignores that text. Taking the focus clears the
// hint; losing it with nothing typed brings the hint back.
class SearchEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit SearchEdit(QWidget *parent = nullptr);

    void setHint(const QString &hint);
    QString hint() const { return m_hint; }
    bool isActive() const { return m_active; }
    // Back to the hint, whatever was typed.
    void deactivate();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Esc clears what was typed; on an empty line it leaves the line.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showHint();

    QString m_hint;
    bool m_active = false;
};
