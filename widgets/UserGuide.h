#pragma once

#include <QList>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QPushButton;
class UserGuideControl;
class UserGuideWidget;
class QWheelEvent;

// The help window: ten pages, one per command topic, turned with the two arrows
// on the right; the counter between them shows the page.
class UserGuide : public QWidget
{
    Q_OBJECT
public:
    explicit UserGuide(QWidget *parent = nullptr);

    int currentPage() const { return m_current; }
    int pageCount() const { return int(m_pages.size()); }
    UserGuideWidget *page(int index) const { return m_pages.value(index); }
    bool isTurning() const;

    // Untranslated topic titles and help paragraphs, in page order (1 to 10).
    static QStringList topicTitles();
    static QStringList topicTexts();
    // The picture folder: English pictures for English, Chinese ones otherwise.
    static QString pictureFolder(const QString &language);

    Q_INVOKABLE void leftPressed();
    Q_INVOKABLE void rightPressed();

signals:
    void closeClicked();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Left/Right and PageUp/PageDown turn pages, Esc closes the window.
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void loadPages();
    // Titles, texts and pictures in the language now in force.
    void retranslate();
    void turnTo(int index);
    void updateControls();
    // The wheel over a page: scrolls a page taller than the window until its end,
    // then turns. One notch (or a touchpad's worth of small steps) turns one page.
    bool turnByWheel(UserGuideWidget *page, QWheelEvent *event);

    QList<UserGuideWidget *> m_pages;
    int m_current = 0;
    QWidget *m_pageArea;
    QPushButton *m_upArrow;
    QPushButton *m_downArrow;
    QLabel *m_counter;
    UserGuideControl *m_control;
    int m_wheelDelta = 0;
    // A language change during a turn waits for the turn's end: the turn moves the pages.
    bool m_retranslatePending = false;
};
