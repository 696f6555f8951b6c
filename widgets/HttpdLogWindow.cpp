#include "widgets/HttpdLogWindow.h"

#include "widgets/PhoneFetchModel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>

HttpdLogWindow::HttpdLogWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("httpd_log_window"));
    m_log = new QTextEdit;
    m_log->setObjectName(QStringLiteral("httpd_log"));
    m_log->setReadOnly(true);
    m_model = new PhoneFetchModel(this);
    m_phones = new QTableView;
    m_phones->setObjectName(QStringLiteral("httpd_phones"));
    m_phones->setModel(m_model);
    m_phones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_phones->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_phones->verticalHeader()->hide();
    m_phones->verticalHeader()->setDefaultSectionSize(m_phones->fontMetrics().height() + 6);
    m_phones->setWordWrap(false);
    m_phones->setTextElideMode(Qt::ElideMiddle);
    // Fixed widths: measuring thousands of rows on every fetch would cost the window its speed.
    QHeaderView *header = m_phones->horizontalHeader();
    header->setSectionResizeMode(PhoneFetchModel::PhoneColumn, QHeaderView::Stretch);
    header->resizeSection(PhoneFetchModel::ModelColumn, 70);
    header->resizeSection(PhoneFetchModel::LastFetchColumn, 140);
    header->resizeSection(PhoneFetchModel::UpToDateColumn, 80);
    header->resizeSection(PhoneFetchModel::BytesColumn, 80);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("httpd_splitter"));
    splitter->addWidget(m_log);
    splitter->addWidget(m_phones);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(1000, 360);
    splitter->setSizes({ 400, 600 });
}

void HttpdLogWindow::setFetches(PhoneFetches *fetches)
{
    m_model->setFetches(fetches);
}

void HttpdLogWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_model->retranslate();
    QWidget::changeEvent(event);
}
