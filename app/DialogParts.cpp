#include "app/DialogParts.h"

#include <QBitmap>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "export/ExportFactory.h"

namespace DialogParts {

namespace {

constexpr int kRadius = 8;

// Draws the card's edge over the background picture, so that a card of another
// size than the picture (the port dialog) is framed all round too.
class CardEdge : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = static_cast<QWidget *>(watched);
            QPainter p(widget);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QColor(0xC3, 0xCC, 0xD8));
            p.drawRoundedRect(QRectF(widget->rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius - 0.5, kRadius - 0.5);
        }
        return false;
    }
};

} // namespace

void makeCard(QDialog *dialog, int width, int height, const QString &selector)
{
    dialog->setWindowFlags(dialog->windowFlags() | Qt::FramelessWindowHint);
    dialog->setFixedSize(width, height);
    // Rounded corners cut from the window itself: no desktop compositor needed.
    QBitmap shape(width, height);
    shape.fill(Qt::color0);
    QPainter painter(&shape);
    painter.setBrush(Qt::color1);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(0, 0, width, height), kRadius, kRadius);
    painter.end();
    dialog->setMask(shape);
    dialog->installEventFilter(new CardEdge(dialog));
    dialog->setStyleSheet(QStringLiteral("%1 {background: transparent url(%2); border: none}")
                              .arg(selector, QStringLiteral(":/export_background.png")));
}

QLabel *cardTitle(const QString &text, const QRect &geometry, QDialog *dialog)
{
    dialog->setWindowTitle(text);
    auto *title = new QLabel(text, dialog);
    title->setObjectName(QStringLiteral("dialog_title"));
    title->setGeometry(geometry);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

QPushButton *button(const QString &text, const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

QLabel *rowLabel(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QButtonGroup *noYesPair(const QString &no, const QString &yes, const QRect &noGeometry, const QRect &yesGeometry,
    const QString &name, QCheckBox **noBox, QCheckBox **yesBox, QWidget *parent)
{
    *noBox = new QCheckBox(no, parent);
    (*noBox)->setObjectName(name + QStringLiteral("_no"));
    (*noBox)->setGeometry(noGeometry);
    (*noBox)->setChecked(true);
    *yesBox = new QCheckBox(yes, parent);
    (*yesBox)->setObjectName(name + QStringLiteral("_yes"));
    (*yesBox)->setGeometry(yesGeometry);
    auto *group = new QButtonGroup(parent);
    group->setExclusive(true);
    group->addButton(*noBox);
    group->addButton(*yesBox);
    return group;
}

void fillImportEncodings(QComboBox *box)
{
    box->addItems(ExportFactory::encodingNames());
    box->addItem(QCoreApplication::translate("DialogParts", "Auto"), QStringLiteral("auto"));
    box->setCurrentIndex(0);
}

void retranslateImportEncodings(QComboBox *box)
{
    const int autoEntry = box->findData(QStringLiteral("auto"));
    if (autoEntry >= 0)
        box->setItemText(autoEntry, QCoreApplication::translate("DialogParts", "Auto"));
}

QString chosenEncoding(const QComboBox *box)
{
    const QString data = box->currentData().toString();
    return data.isEmpty() ? box->currentText() : data;
}

} // namespace DialogParts
