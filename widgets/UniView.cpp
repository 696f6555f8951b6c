#include "widgets/UniView.h"

#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

UniView::UniView(QWidget *parent)
    : QTableView(parent)
{
    setShowGrid(false);
    setRowHeights(58);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFile style(QStringLiteral(":/scrollBar.qss"));
    if (style.open(QIODevice::ReadOnly | QIODevice::Text))
        setStyleSheet(QString::fromUtf8(style.readAll()));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &UniView::onScrollValueChanged);
}

void UniView::setRowHeights(int height)
{
    // One default size for all rows: setting 100 000 rows one at a time is slow.
    QHeaderView *header = verticalHeader();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultSectionSize(height);
}

void UniView::setStretchColumns(const QList<int> &columns, int startWidth)
{
    m_stretchColumns = columns;
    m_startWidth = startWidth;
    m_baseWidths.clear();
    for (int column : columns)
        m_baseWidths.append(columnWidth(column));
    stretchColumns();
}

void UniView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    stretchColumns();
}

void UniView::stretchColumns()
{
    if (m_stretchColumns.isEmpty())
        return;
    const int extra = qMax(0, width() - m_startWidth);
    const int count = int(m_stretchColumns.size());
    for (int i = 0; i < count; ++i)
        setColumnWidth(m_stretchColumns[i], m_baseWidths[i] + extra / count + (i == 0 ? extra % count : 0));
}

void UniView::onScrollValueChanged(int value)
{
    const QScrollBar *bar = verticalScrollBar();
    if (value == bar->maximum())
        emit bottomed();
    else if (value == bar->minimum())
        emit topped();
}

void UniView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_lastX = pos.x();
    m_lastY = pos.y();
    m_pressed = true;
    QTableView::mousePressEvent(event);
}

void UniView::dragScroll(const QPoint &position)
{
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + (m_lastY - position.y()));
    m_lastX = position.x();
    m_lastY = position.y();
}

void UniView::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging moves the list, never the selection: dragging up scrolls down.
    if (m_pressed)
        dragScroll(event->position().toPoint());
}

void UniView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressed)
        dragScroll(event->position().toPoint());
    m_pressed = false;
    QTableView::mouseReleaseEvent(event);
}

void UniView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    viewport()->update();
    emit currentIndexChanged(current, previous);
    QTableView::currentChanged(current, previous);
}
