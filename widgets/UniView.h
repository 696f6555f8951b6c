#pragma once

#include <QModelIndex>
#include <QPoint>
#include <QTableView>

// The common base of the group and contact lists: fixed-height rows without grid
// or headers, scrolled by dragging the list itself as on a touch screen, and
// telling when it has been scrolled to its top or bottom.
class UniView : public QTableView
{
    Q_OBJECT
public:
    explicit UniView(QWidget *parent = nullptr);

    Q_INVOKABLE void onScrollValueChanged(int value);

signals:
    void rowPressed(int row);
    void topped();
    void bottomed();
    void currentIndexChanged(const QModelIndex &current, const QModelIndex &previous);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

    // Fixes every row at `height` pixels without touching the rows one by one.
    void setRowHeights(int height);
    // A list wider than `startWidth` shares the difference among `columns`,
    // on top of the widths they have now.
    void setStretchColumns(const QList<int> &columns, int startWidth);
    void resizeEvent(QResizeEvent *event) override;

private:
    void dragScroll(const QPoint &position);

    void stretchColumns();

    QList<int> m_stretchColumns;
    QList<int> m_baseWidths;
    int m_startWidth = 0;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_pressed = false;
};
