#include "widgets/SearchEdit.h"

#include <QKeyEvent>

SearchEdit::SearchEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setStyleSheet(QStringLiteral("QLineEdit {color: gray;}"));
}

void SearchEdit::setHint(const QString &hint)
{
    m_hint = hint;
    if (!m_active)
        showHint();
}

void SearchEdit::showHint()
{
    m_active = false;
    setText(m_hint);
    setStyleSheet(QStringLiteral("QLineEdit {color: gray;}"));
}

void SearchEdit::deactivate()
{
    m_active = false;
    clear();
    showHint();
}

void SearchEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_active) {
        // Inactive first, so that clearing the hint filters nothing.
        clear();
    }
    m_active = true;
    setStyleSheet(QStringLiteral("QLineEdit {color: black;}"));
    QLineEdit::focusInEvent(event);
}

void SearchEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (text().isEmpty())
        showHint();
}

void SearchEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (m_active && !text().isEmpty())
        clear();
    else
        clearFocus();
    event->accept();
}
