#pragma once

#include <QScrollArea>

class QLabel;

// One help page: a picture, its topic title and a paragraph about the command.
// The page is 698 x 480; a long paragraph makes it scroll.
class UserGuideWidget : public QScrollArea
{
    Q_OBJECT
public:
    UserGuideWidget(const QString &picture, const QString &title, const QString &text, QWidget *parent = nullptr);

    QString picturePath() const { return m_picturePath; }
    QString title() const;
    QString text() const;

private:
    QString m_picturePath;
    QLabel *m_picture;
    QLabel *m_title;
    QLabel *m_text;
};
