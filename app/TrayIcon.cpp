#include "app/TrayIcon.h"

#include <QMenu>

TrayIcon::TrayIcon(const QIcon &icon, const QString &toolTip, QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_toolTip(toolTip)
{
    if (!isAvailable())
        return;
    m_icon = new QSystemTrayIcon(icon, this);
    m_icon->setToolTip(toolTip);
    m_icon->setContextMenu(menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

void TrayIcon::setToolTip(const QString &toolTip)
{
    m_toolTip = toolTip;
    if (m_icon)
        m_icon->setToolTip(toolTip);
}

TrayIcon::~TrayIcon()
{
    if (m_icon)
        m_icon->hide();
}

bool TrayIcon::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::show()
{
    if (!m_icon)
        return false;
    m_icon->show();
    return true;
}

void TrayIcon::hide()
{
    if (m_icon)
        m_icon->hide();
}
