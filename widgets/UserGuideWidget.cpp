#include "widgets/UserGuideWidget.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollBar>

namespace {
constexpr int kWidth = 698;
constexpr int kHeight = 480;
constexpr int kPictureWidth = 560;
constexpr int kPictureHeight = 310;
} // namespace

UserGuideWidget::UserGuideWidget(const QString &picture, const QString &title, const QString &text, QWidget *parent)
    : QScrollArea(parent)
    , m_picturePath(picture)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(QStringLiteral("QScrollArea, QWidget#guide_page_content {background-color: #22272e;}"));

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("guide_page_content"));

    m_title = new QLabel(title, content);
    m_title->setObjectName(QStringLiteral("guide_page_title"));
    m_title->setFont(QFont(QStringLiteral("Times"), 16));
    m_title->setStyleSheet(QStringLiteral("color: #8ee0ff; background: transparent;"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setGeometry(0, 8, kWidth, 34);

    m_picture = new QLabel(content);
    m_picture->setObjectName(QStringLiteral("guide_page_picture"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setStyleSheet(QStringLiteral("background: transparent;"));
    const QPixmap pixmap(picture);
    if (!pixmap.isNull())
        m_picture->setPixmap(
            pixmap.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_picture->setGeometry((kWidth - kPictureWidth) / 2, 46, kPictureWidth, kPictureHeight);

    m_text = new QLabel(text, content);
    m_text->setObjectName(QStringLiteral("guide_page_text"));
    m_text->setStyleSheet(QStringLiteral("color: #e5e5e5; background: transparent;"));
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);
    const int textTop = 46 + kPictureHeight + 8;
    const int textWidth = kWidth - 48;
    const int textHeight = qMax(kHeight - textTop - 8, m_text->heightForWidth(textWidth));
    m_text->setGeometry(24, textTop, textWidth, textHeight);

    content->setFixedSize(kWidth, qMax(kHeight, textTop + textHeight + 8));
    setWidget(content);
    // A page taller than the window shows a scroll bar, which then covers part of
    // the right edge instead of pushing the content sideways.
    if (content->height() > kHeight)
        content->setFixedWidth(kWidth - verticalScrollBar()->sizeHint().width());
}

QString UserGuideWidget::title() const
{
    return m_title->text();
}

QString UserGuideWidget::text() const
{
    return m_text->text();
}
