#include "DialogParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>

namespace DialogParts {

void makeCard(QDialog *dialog, int width, int height, const QString &selector)
{
    dialog->setWindowFlags(dialog->windowFlags() | Qt::FramelessWindowHint);
    // The card's rounded corners show what lies behind it.
    dialog->setAttribute(Qt::WA_TranslucentBackground);
    dialog->setFixedSize(width, height);
    dialog->setStyleSheet(QStringLiteral("%1 {background: transparent url(%2); border: none}")
                              .arg(selector, QStringLiteral(":/export_background.png")));
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

} // namespace DialogParts
