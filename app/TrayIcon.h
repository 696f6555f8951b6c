#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;

// The editor's icon in the desktop's system tray. Where the desktop has no tray
// (or under the offscreen platform) nothing is shown, and the rest of the
// program goes on without it.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(const QIcon &icon, const QString &toolTip, QMenu *menu, QObject *parent = nullptr);
    ~TrayIcon() override;

    static bool isAvailable();
    // Shows the icon when a tray exists; returns whether it is shown.
    bool show();
    void hide();
    QMenu *menu() const { return m_menu; }
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &toolTip);
    QSystemTrayIcon *icon() const { return m_icon; }

signals:
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    QMenu *m_menu;
    QString m_toolTip;
    QSystemTrayIcon *m_icon = nullptr;
};
