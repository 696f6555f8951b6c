#pragma once

// A main window over a small phonebook, for the tests of the lists, the detail
// editor and the commands.

#include "app/MainWindow.h"
#include "app/MessageBoxNotifier.h"
#include "tests/gui/GuiTestUtil.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupModel.h"
#include "widgets/GroupView.h"
#include "widgets/SearchEdit.h"

#include <QMenu>

namespace ListWindow {

inline DataMgr *mgr()
{
    return DataMgr::instance();
}

// Golf: 张三, Anna McLee. Chess: Anna McLee, Bob Ray. No group: 李四.
inline void standardPhonebook()
{
    using namespace TestUtil;
    addGroup(QStringLiteral("Golf"));
    addGroup(QStringLiteral("Chess"));
    addContact(contact(QStringLiteral("三"), QStringLiteral("张"), { phone("Work", "100") }, {}, { "Golf" }));
    addContact(contact(QStringLiteral("Anna"), QStringLiteral("McLee"), { phone("Home", "200") },
        { mail("Work", "anna@example.com") }, { "Golf", "Chess" }));
    addContact(contact(QStringLiteral("四"), QStringLiteral("李"), { phone("Mobile", "300") }));
    addContact(contact(QStringLiteral("Bob"), QStringLiteral("Ray"), { phone("Work", "400") }, {}, { "Chess" }));
}

struct Window {
    GuiTestUtil::ProgramFolder folder;
    // The core's messages as modal boxes, as in the editor.
    MessageBoxNotifier notifier;
    QPointer<MainWindow> window;

    explicit Window(void (*fill)() = standardPhonebook)
    {
        Notifier::install(&notifier);
        if (fill)
            fill();
        window = new MainWindow;
        // Focus moves only inside the active window.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    ~Window()
    {
        delete window;
        Notifier::install(nullptr);
    }

    GroupView *groups() const { return window->groupView(); }
    ContactView *contacts() const { return window->contactView(); }

    // Displayed names of the contact rows, in order.
    QStringList shownNames() const
    {
        QStringList names;
        const QAbstractItemModel *model = contacts()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, ContactModel::NameColumn).data().toString();
        return names;
    }
    int rowOfName(const QString &name) const { return int(shownNames().indexOf(name)); }
    // Row of the group list showing `name` ("All" and "Add group" included), or -1.
    int groupRow(const QString &name) const
    {
        for (int row = 0; row < groups()->model()->rowCount(); ++row) {
            if (GroupModel::rowName(row) == name)
                return row;
        }
        return -1;
    }
    // Names of the group list's rows, in order.
    QStringList groupRows() const
    {
        QStringList names;
        for (int row = 0; row < groups()->model()->rowCount(); ++row)
            names << GroupModel::rowName(row);
        return names;
    }
    void selectGroup(const QString &name) const { groups()->selectGroupRow(groupRow(name)); }
    void clickContact(const QString &name, Qt::MouseButton button = Qt::LeftButton) const
    {
        GuiTestUtil::clickRow(contacts(), rowOfName(name), ContactModel::NameColumn, button);
    }
    // The contact shown in the detail editor, as the data manager holds it.
    const ContactInfo &shown() const
    {
        const Phonebook &book = mgr()->phonebook();
        return book.contacts().at(book.indexOfContact(editor()->shownContact().id));
    }
    ContactEditor *editor() const { return find<ContactEditor>(QStringLiteral("detail_panel")); }
    // No contact is shown in the detail editor.
    bool detailEmpty() const { return editor()->isEmpty(); }
    const ContactInfo &byName(const QString &first) const
    {
        for (const ContactInfo &c : mgr()->phonebook().contacts()) {
            if (c.FirstName == first)
                return c;
        }
        static const ContactInfo none;
        return none;
    }
    // Whether the contact of that first name is ticked in the contact list.
    bool ticked(const QString &first) const
    {
        const Phonebook &book = mgr()->phonebook();
        for (int i = 0; i < book.contacts().size(); ++i) {
            if (book.contacts()[i].FirstName == first)
                return find<ContactView>(QStringLiteral("contact_view"))->contactModel()->isTicked(i);
        }
        return false;
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }

    // Right-clicks a contact and returns the context menu it opened (or null).
    QMenu *contactMenu(const QString &name) const
    {
        clickContact(name, Qt::RightButton);
        const QRect rect
            = contacts()->visualRect(contacts()->model()->index(rowOfName(name), ContactModel::NameColumn));
        emit contacts()->customContextMenuRequested(rect.center());
        return openMenu(QStringLiteral("contact_menu"));
    }
    QMenu *groupMenu(const QString &group) const
    {
        const int row = groupRow(group);
        GuiTestUtil::clickRow(groups(), row, 2, Qt::RightButton);
        emit groups()->customContextMenuRequested(groups()->visualRect(groups()->model()->index(row, 2)).center());
        return openMenu(QStringLiteral("group_menu"));
    }
    QMenu *openMenu(const QString &name) const
    {
        for (QMenu *menu : window->findChildren<QMenu *>(name)) {
            if (menu->isVisible())
                return menu;
        }
        return nullptr;
    }
};

// Object names of a menu's entries (submenus by their title).
inline QStringList entries(QMenu *menu)
{
    QStringList names;
    if (!menu)
        return names;
    for (QAction *a : menu->actions()) {
        if (a->menu())
            names << a->menu()->objectName();
        else if (!a->isSeparator())
            names << a->objectName();
    }
    return names;
}

inline void trigger(QMenu *menu, const QString &entry, const QString &submenu = QString())
{
    QVERIFY(menu);
    QMenu *target = submenu.isEmpty() ? menu : menu->findChild<QMenu *>(submenu);
    QVERIFY(target);
    for (QAction *a : target->actions()) {
        if (a->objectName() == entry) {
            a->trigger();
            menu->close();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no entry ") + entry));
}

} // namespace ListWindow
