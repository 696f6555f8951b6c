// The main window's lists with 100 000 contacts: choosing groups, a search
// keystroke and committing an edit, each as the user waits for it.

#include "bench/Bench.h"

#include "app/MainWindow.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupModel.h"
#include "widgets/GroupView.h"
#include "widgets/PhoneCheckView.h"
#include "widgets/SearchEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>

namespace {

constexpr int kContacts = 100000;

// Runs `step` and everything it queued, and reports how long it took.
template <typename Step> double timed(Step step)
{
    QElapsedTimer t;
    t.start();
    step();
    QCoreApplication::processEvents();
    return Bench::seconds(t);
}

int groupRow(const QString &name)
{
    return GroupModel::rowOfGroup(DataMgr::instance()->phonebook().indexOfGroup(name));
}

void lists()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, false);
    QElapsedTimer t;
    t.start();
    MainWindow window;
    QCoreApplication::processEvents();
    Bench::report(QStringLiteral("open window with 100k contacts"), Bench::seconds(t), QStringLiteral("s"),
        QStringLiteral("target ≤ 0.3 s"));
    GroupView *groups = window.groupView();
    ContactView *contacts = window.contactView();

    const int group = groupRow(QStringLiteral("Group 3"));
    groups->selectGroupRow(group);
    auto rows = [&] { return QStringLiteral("%1 rows").arg(contacts->model()->rowCount()); };
    double s = timed([&] { groups->selectGroupRow(0); });
    Bench::report(QStringLiteral("select \"All\" (100k)"), s, QStringLiteral("s"), rows());
    s = timed([&] { groups->selectGroupRow(group); });
    Bench::report(QStringLiteral("select a group of 10k"), s, QStringLiteral("s"), rows());

    window.activateWindow();
    QCoreApplication::processEvents();
    SearchEdit *search = window.searchEdit();
    search->setFocus();
    QCoreApplication::processEvents();
    s = timed([&] { search->insert(QStringLiteral("z")); });
    Bench::report(QStringLiteral("search keystroke \"z\""), s, QStringLiteral("s"),
        search->isActive() ? rows() : QStringLiteral("search inactive!"));
    s = timed([&] { search->insert(QStringLiteral("h")); });
    Bench::report(QStringLiteral("search keystroke \"zh\""), s, QStringLiteral("s"), rows());
    search->clear();
    QCoreApplication::processEvents();

    groups->selectGroupRow(group);
    auto *firstName = window.findChild<QLineEdit *>(QStringLiteral("first_name_edit"));
    firstName->setText(QStringLiteral("Zzz renamed"));
    Bench::report(QStringLiteral("commit one edit (re-sorted)"), timed([&] { window.commitDetail(); }));

    Bench::report(
        QStringLiteral("lists rebuilt after a command"), timed([&] { emit DataMgr::instance()->updateModel(); }));
}

// The Phones window: what the GUI thread spends, and how long until the five
// models are shown (the check itself runs on a thread of its own).
void phones()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, false);
    MainWindow window;
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    window.showPhones();
    Bench::report(QStringLiteral("open Phones (GUI thread)"), Bench::seconds(t));
    PhoneCheckView *view = window.phonesView();
    while (view->checkModel()->rowCount() < 5)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Bench::report(QStringLiteral("open Phones until checked"), Bench::seconds(t));
    const PhoneCheckModel *check = view->checkModel();
    int findings = 0;
    QModelIndex model = check->index(0, 0);
    for (int row = 0; row < check->rowCount(); ++row) {
        const QModelIndex index = check->index(row, 0);
        findings += check->rowCount(index);
        if (check->rowCount(index) > check->rowCount(model))
            model = index;
    }
    Bench::report(QStringLiteral("open the model with most findings"), timed([&] { view->tree()->expand(model); }),
        QStringLiteral("s"), QStringLiteral("%1 of %2 findings").arg(check->rowCount(model)).arg(findings));
    const int last = check->index(check->rowCount(model) - 1, 0, model).data(PhoneCheckModel::ContactIdRole).toInt();
    window.groupView()->selectGroupRow(groupRow(QStringLiteral("Group 3")));
    Bench::report(
        QStringLiteral("finding to its contact (leaving a group)"), timed([&] { window.revealContact(last); }));
}

const Bench::Registrar registrar("lists", lists);
const Bench::Registrar phonesCase("lists-phones", phones);

} // namespace
