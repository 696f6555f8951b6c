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
#include "widgets/SearchEdit.h"

#include <QApplication>
#include <QLineEdit>

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

const Bench::Registrar registrar("lists", lists);

} // namespace
