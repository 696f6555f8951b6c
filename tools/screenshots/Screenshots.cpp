// Renders the editor's windows into pictures: the help pages' pictures
// (--pictures) and the README's screenshots (--docs), in English or Chinese.
//
//   quorvane-screenshots --pictures en|zh OUTDIR
//   quorvane-screenshots --docs en|zh OUTDIR
//
// Run it on an X server of its own with QT_QPA_PLATFORM=xcb (tools/screenshots.sh
// does): there the menus show the desktop's keys, Ctrl+Q for Exit included.

#include "app/MainWindow.h"
#include "app/OptionFiles.h"
#include "data/AppPaths.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/AddNewGroupDialog.h"
#include "widgets/UserGuide.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <cstdio>
#include <functional>

namespace {

const QSize kPictureSize(560, 310);

void settle(int ms = 150)
{
    QTest::qWait(ms);
}

// What lies on the screen over the window (menus, tooltips, dialogs) is painted
// onto the window's own picture at its place.
void paintOver(QImage &image, QWidget *window, QWidget *top, bool frame = false, const QString &title = QString())
{
    QPainter p(&image);
    const QPoint at = top->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0));
    const QPixmap pixmap = top->grab();
    if (frame) {
        // Without a window manager windows have no title bar; draw a plain one so a
        // dialog reads as one.
        const int bar = 26;
        const QRect outer(at.x() - 1, at.y() - bar - 1, pixmap.width() + 2, pixmap.height() + bar + 2);
        p.fillRect(outer, QColor(0x3b, 0x44, 0x50));
        p.setPen(Qt::white);
        QFont font = QApplication::font();
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(outer.x() + 10, outer.y(), outer.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft, title);
    } else {
        p.setPen(QColor(0, 0, 0, 60));
        p.drawRect(QRect(at + QPoint(1, 1), pixmap.size()));
    }
    p.drawPixmap(at, pixmap);
}

QImage windowImage(QWidget *window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QMenu *openMenu(MainWindow *window, const QString &menuName, const QString &activeText)
{
    auto *menu = window->findChild<QMenu *>(menuName);
    if (!menu) {
        // The options menu has no object name; find it by one of its entries.
        for (QMenu *m : window->menuBar()->findChildren<QMenu *>()) {
            for (QAction *a : m->actions()) {
                if (a->objectName() == menuName)
                    menu = m;
            }
        }
    }
    if (!menu)
        return nullptr;
    window->menuBar()->setActiveAction(menu->menuAction());
    settle();
    for (QAction *a : menu->actions()) {
        if (a->objectName() == activeText || a->text() == activeText)
            menu->setActiveAction(a);
    }
    settle();
    return menu;
}

void closeMenus(MainWindow *window)
{
    for (QMenu *m : window->findChildren<QMenu *>())
        m->hide();
    window->menuBar()->setActiveAction(nullptr);
    settle();
}

bool save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QImage crop(const QImage &image, QPoint topLeft)
{
    QRect rect(topLeft, kPictureSize);
    rect.moveRight(qMin(rect.right(), image.width() - 1));
    rect.moveBottom(qMin(rect.bottom(), image.height() - 1));
    return image.copy(rect);
}

QImage withMenu(MainWindow *window, const QString &menu, const QString &entry, QPoint cropAt = QPoint(0, 0))
{
    QMenu *m = openMenu(window, menu, entry);
    QImage image = windowImage(window);
    if (m)
        paintOver(image, window, m);
    closeMenus(window);
    return crop(image, cropAt);
}

// The picture is cut around the tooltip, so that it and its button show whole.
QImage withToolTip(MainWindow *window, const QString &buttonName)
{
    auto *button = window->findChild<QAbstractButton *>(buttonName);
    QImage image = windowImage(window);
    if (!button)
        return crop(image, QPoint(0, 0));
    QToolTip::showText(
        button->mapToGlobal(QPoint(button->width() / 2, button->height() + 4)), button->toolTip(), button);
    settle(300);
    int centre = button->mapTo(window, button->rect().center()).x();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible()) {
            paintOver(image, window, w);
            centre = (centre + w->mapToGlobal(w->rect().center()).x() - window->mapToGlobal(QPoint(0, 0)).x()) / 2;
        }
    }
    QToolTip::hideText();
    settle();
    const int left = qBound(0, centre - kPictureSize.width() / 2, image.width() - kPictureSize.width());
    return crop(image, QPoint(left, 0));
}

QImage withGroupDialog(MainWindow *window)
{
    AddNewGroupDialog dialog(QStringLiteral("new1"), window);
    dialog.show();
    dialog.move(window->mapToGlobal(QPoint(70, 190)));
    settle();
    QImage image = windowImage(window);
    paintOver(image, window, &dialog, true, dialog.windowTitle());
    dialog.hide();
    return crop(image, QPoint(0, 0));
}

bool renderPictures(MainWindow *window, const QString &out)
{
    const QList<std::function<QImage()>> pages = {
        [=] { return withMenu(window, QStringLiteral("fileMenu"), window->tr("&New")); },
        [=] { return withMenu(window, QStringLiteral("importMenu"), window->tr("&Local Import")); },
        [=] { return withMenu(window, QStringLiteral("fileMenu"), window->tr("&Save")); },
        [=] { return withMenu(window, QStringLiteral("exportMenu"), window->tr("&Local Export")); },
        [=] { return withToolTip(window, QStringLiteral("contact_add_button")); },
        [=] { return withGroupDialog(window); },
        [=] { return withMenu(window, QStringLiteral("fileMenu"), window->tr("&History")); },
        [=] { return withToolTip(window, QStringLiteral("tool_backupLabel")); },
        [=] { return withMenu(window, QStringLiteral("langMenu"), QStringLiteral("zh")); },
        [=] { return withMenu(window, QStringLiteral("auto start"), QStringLiteral("auto httpd")); },
    };
    bool ok = QDir().mkpath(out);
    for (int i = 0; i < pages.size(); ++i)
        ok = save(pages[i](), QStringLiteral("%1/%2.jpg").arg(out).arg(i + 1), "JPG", 92) && ok;
    return ok;
}

bool renderDocs(MainWindow *window, const QString &language, const QString &out)
{
    bool ok = QDir().mkpath(out);
    // Larger than it starts, as people use it: the lists and the details take the room.
    const QSize startSize = window->size();
    window->resize(1120, 680);
    settle();
    ok = save(windowImage(window), QStringLiteral("%1/main-%2.png").arg(out, language), "PNG") && ok;
    window->resize(startSize);
    settle();

    window->showHelpInfo();
    UserGuide *guide = window->helpWindow();
    settle();
    ok = save(guide->grab().toImage(), QStringLiteral("%1/help-%2-1.png").arg(out, language), "PNG") && ok;
    for (int page = 1; page < 6; ++page) {
        guide->rightPressed();
        for (int wait = 0; wait < 100 && guide->isTurning(); ++wait)
            settle(50);
    }
    settle();
    ok = save(guide->grab().toImage(), QStringLiteral("%1/help-%2-6.png").arg(out, language), "PNG") && ok;
    guide->hide();
    return ok;
}

// A small phonebook, so that the pictures show lists as a user sees them.
void fillSamplePhonebook()
{
    DataMgr *mgr = DataMgr::instance();
    Phonebook &book = mgr->phonebook();
    for (const char *name : { "Family", "Work", "Golf" })
        book.addGroup(QString::fromLatin1(name));
    struct Sample {
        const char *first;
        const char *last;
        const char *department;
        const char *work;
        const char *mobile;
        const char *mail;
        const char *group;
    };
    const Sample samples[] = {
        { "张", "伟", "研发部", "0755 2660 1001", "138 0013 8000", "zhang.wei@example.cn", "Work" },
        { "王", "芳", "市场部", "0755 2660 1002", "139 1234 5678", "wang.fang@example.cn", "Work" },
        { "李", "娜", "", "", "137 0000 1234", "", "Family" },
        { "Anna", "Berg", "Sales", "+46 8 555 0101", "+46 70 555 0102", "anna.berg@example.se", "Golf" },
        { "Carlos", "Diaz", "Support", "+34 91 555 0303", "", "carlos@example.es", "Work" },
        { "陈", "静", "财务部", "0755 2660 1004", "", "chen.jing@example.cn", "Work" },
        { "Emma", "Frost", "", "", "+44 7700 900123", "emma@example.co.uk", "Golf" },
        { "刘", "强", "", "", "136 8888 0000", "", "Family" },
        { "Oliver", "Hale", "Facilities", "+1 555 0142", "+1 555 0199", "", "Work" },
    };
    for (const Sample &sample : samples) {
        ContactInfo c;
        c.FirstName = QString::fromUtf8(sample.first);
        c.LastName = QString::fromUtf8(sample.last);
        c.Department = QString::fromUtf8(sample.department);
        if (*sample.work)
            c.PhoneList.append({ QStringLiteral("Work"), QString(), QString::fromUtf8(sample.work), 0 });
        if (*sample.mobile)
            c.PhoneList.append({ QStringLiteral("Mobile"), QString(), QString::fromUtf8(sample.mobile), 0 });
        c.PrimaryIndex = *sample.work ? 0 : 2;
        if (*sample.mail)
            c.MailList.append({ QStringLiteral("Work"), QString(), QString::fromUtf8(sample.mail) });
        for (PhoneInfo &p : c.PhoneList)
            Records::rebuildPhoneLabel(p);
        for (MailInfo &m : c.MailList)
            Records::rebuildMailLabel(m);
        book.copyToGroup({ book.addContact(c) }, QString::fromLatin1(sample.group));
    }
    mgr->phonebookChanged();
}

int usage()
{
    std::fprintf(stderr, "usage: quorvane-screenshots --pictures|--docs en|zh OUTDIR\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return usage();
    const QString mode = args[1];
    const QString language = args[2];
    const QString out = QDir(args[3]).absolutePath();
    if ((mode != QLatin1String("--pictures") && mode != QLatin1String("--docs"))
        || (language != QLatin1String("en") && language != QLatin1String("zh")))
        return usage();

    QApplication::setFont(QFont(QStringLiteral("Times"), 11, QFont::Normal));
    if (QKeySequence::keyBindings(QKeySequence::Quit).isEmpty())
        std::fprintf(stderr, "warning: the %s platform has no key for Exit; the menus will show none\n",
            qPrintable(QGuiApplication::platformName()));

    // A throw-away program folder with the built translations and the language chosen.
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    AppPaths::setAppDir(dir.path());
    QDir().mkpath(dir.filePath(QStringLiteral("language")));
    const QDir built(QStringLiteral(QUORVANE_LANGUAGE_DIR));
    for (const QString &qm : built.entryList({ QStringLiteral("*.qm") }, QDir::Files))
        QFile::copy(built.filePath(qm), dir.filePath(QStringLiteral("language/") + qm));
    OptionFiles::writeLanguage(dir.filePath(QStringLiteral("language/config.xml")), language);

    auto *window = new MainWindow;
    // Filled once the window has loaded its translation, so the built-in groups
    // show in the chosen language.
    fillSamplePhonebook();
    window->move(0, 0);
    settle(300);
    const bool ok
        = mode == QLatin1String("--pictures") ? renderPictures(window, out) : renderDocs(window, language, out);
    window->closeWindow();
    return ok ? 0 : 1;
}
