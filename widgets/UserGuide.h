#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class UserGuideControl;
class UserGuideWidget;

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

private:
    void loadPages();
    void turnTo(int index);
    void updateControls();

    QList<UserGuideWidget *> m_pages;
    int m_current = 0;
    QWidget *m_pageArea;
    QPushButton *m_upArrow;
    QPushButton *m_downArrow;
    QLabel *m_counter;
    UserGuideControl *m_control;
};
