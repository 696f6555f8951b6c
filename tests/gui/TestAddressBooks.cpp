// Address books in the editor: added through their dialog from a real CardDAV
// server (Radicale on loopback), refreshed on schedule into the phones' files,
// waiting for unsaved edits, and their contacts read-only in the detail panel.

#include "app/AddressBookDialog.h"
#include "app/AddressBookForm.h"
#include "app/CardRefresher.h"
#include "app/PasswordStore.h"
#include "import/CardDavClient.h"
#include "tests/RadicaleServer.h"
#include "tests/gui/ListWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace ListWindow;
using GuiTestUtil::BoxAnswerer;

namespace {

// Members of the group named `group`, by first name, sorted.
QStringList membersOf(const QString &group)
{
    const Phonebook &book = mgr()->phonebook();
    const int index = book.indexOfGroup(group);
    QStringList names;
    if (index < 0)
        return names;
    for (const int row : book.memberRows(index))
        names << book.contacts().at(row).FirstName + QLatin1Char(' ') + book.contacts().at(row).LastName;
    names.sort();
    return names;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A source saved in the store, fed one card without a server.
CardSource sourceWithCard(const QString &family, const QString &given)
{
    CardSource source;
    source.url = QStringLiteral("http://127.0.0.1:9/anna/book/");
    source.name = QStringLiteral("Office");
    source.group = QStringLiteral("Office");
    [&] { QVERIFY(mgr()->saveCardSource(source)); }();
    DavChanges changes;
    changes.changed << DavCard { QStringLiteral("/anna/book/a.vcf"), QStringLiteral("\"1\""),
        RadicaleServer::card(QStringLiteral("a"), family, given, QStringLiteral("555")) };
    [&] { QVERIFY(mgr()->applyCardChanges(source, changes)); }();
    return source;
}

} // namespace

class TestAddressBooks : public QObject
{
    Q_OBJECT

private slots:
    void addedBookIsRefreshedIntoThePhonesFiles();
    void refreshWaitsForUnsavedEdits();
    void bookContactsAreReadOnly();
    void passwordsKeptForTheSessionWithoutSecretStore();

private:
    // Radicale with the book "Office" holding two cards, or a skip.
    bool startServer(RadicaleServer &server)
    {
        if (!RadicaleServer::installed())
            return false;
        if (!server.start() || !server.makeBook(QStringLiteral("Office")))
            return false;
        return server.dav("PUT", QStringLiteral("/anna/book/a.vcf"),
                   RadicaleServer::card(QStringLiteral("a"), QStringLiteral("McLee"), QStringLiteral("Anna"), "1"))
            == QNetworkReply::NoError
            && server.dav("PUT", QStringLiteral("/anna/book/b.vcf"),
                   RadicaleServer::card(QStringLiteral("b"), QStringLiteral("Ray"), QStringLiteral("Bob"), "2"))
            == QNetworkReply::NoError;
    }
    QTemporaryDir m_serverDir;
};

void TestAddressBooks::addedBookIsRefreshedIntoThePhonesFiles()
{
    RadicaleServer server(m_serverDir.filePath(QStringLiteral("add")));
    if (!startServer(server))
        QSKIP("Radicale is not installed or did not start (tools/deps.sh installs it)");
    Window w(nullptr);
    BoxAnswerer boxes;
    w.window->findChild<QAction *>(QStringLiteral("address_books"))->trigger();
    AddressBookDialog *dialog = w.window->addressBookDialog();
    QVERIFY(dialog && dialog->isVisible());

    // The server's root is enough: the book is found from there.
    GuiTestUtil::answerNextDialog([&server](QWidget *form) {
        QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("address_edit")), server.url(QStringLiteral("/")));
        QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("user_edit")), RadicaleServer::kUser);
        QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("password_edit")), RadicaleServer::kPassword);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("find_books_button")), Qt::LeftButton);
        auto *books = form->findChild<QListWidget *>(QStringLiteral("book_list"));
        QVERIFY(QTest::qWaitFor([books] { return books->count() == 1; }, 20000));
        QVERIFY(books->item(0)->text().startsWith(QStringLiteral("Office")));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("add_books_button")), Qt::LeftButton);
    });
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("address_book_add")), Qt::LeftButton);

    QTRY_COMPARE_WITH_TIMEOUT(membersOf(QStringLiteral("Office")),
        QStringList({ QStringLiteral("Anna McLee"), QStringLiteral("Bob Ray") }), 20000);
    w.selectGroup(QStringLiteral("Office"));
    QCOMPARE(w.shownNames().size(), 2);
    QTRY_VERIFY(dialog->list()->topLevelItem(0)->text(4).contains(QStringLiteral("2 contact")));
    QVERIFY(!w.window->isWindowModified());

    // Changed on the server; the book's own timer brings it to the phones.
    QCOMPARE(server.dav("PUT", QStringLiteral("/anna/book/a.vcf"),
                 RadicaleServer::card(QStringLiteral("a"), QStringLiteral("Changed"), QStringLiteral("Anna"), "9")),
        QNetworkReply::NoError);
    const QString birch = w.folder.file(QStringLiteral("HTTPD/Birch/phonebook.xml"));
    QVERIFY(readFile(birch).contains("McLee"));
    QTimer *timer = nullptr;
    for (QTimer *t : w.window->cardRefresher()->findChildren<QTimer *>()) {
        if (t->interval() == 15 * 60 * 1000)
            timer = t;
    }
    QVERIFY(timer && timer->isActive());
    timer->setSingleShot(true);
    timer->start(0);
    QTRY_VERIFY_WITH_TIMEOUT(readFile(birch).contains("Changed"), 20000);
    QVERIFY(!readFile(birch).contains("McLee"));
    QCOMPARE(membersOf(QStringLiteral("Office")),
        QStringList({ QStringLiteral("Anna Changed"), QStringLiteral("Bob Ray") }));
    QVERIFY(!w.window->isWindowModified());
    // Neither refresh asked anything; the only box said where the password is kept.
    QCOMPARE(boxes.titles(), QStringList { QStringLiteral("Address books") });
}

void TestAddressBooks::refreshWaitsForUnsavedEdits()
{
    RadicaleServer server(m_serverDir.filePath(QStringLiteral("wait")));
    if (!startServer(server))
        QSKIP("Radicale is not installed or did not start (tools/deps.sh installs it)");
    Window w;
    BoxAnswerer boxes;
    CardSource source;
    source.url = server.url(QStringLiteral("/anna/book/"));
    source.name = QStringLiteral("Office");
    source.user = RadicaleServer::kUser;
    source.group = QStringLiteral("Office");
    source.refreshMinutes = 5;
    QVERIFY(mgr()->saveCardSource(source));
    w.window->passwordStore()->write(
        PasswordStore::accountKey(QUrl(source.url), source.user), RadicaleServer::kPassword);

    w.clickContact(QStringLiteral("Anna McLee"));
    QTest::keyClicks(w.editor()->findChild<QLineEdit *>(QStringLiteral("first_name_edit")), QStringLiteral("x"));
    CardRefresher *refresher = w.window->cardRefresher();
    refresher->reloadSources();
    refresher->refresh(source.id, false);
    auto *status = w.find<QLabel>(QStringLiteral("refresh_status"));
    QVERIFY2(status->text().contains(QStringLiteral("waits until your edits are saved")), qPrintable(status->text()));
    QTest::qWait(1500);
    QVERIFY(!refresher->isRunning());
    QCOMPARE(membersOf(QStringLiteral("Office")), QStringList());

    // Saved: the refresh goes on by itself, and the edit is kept.
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("tool_saveLabel")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(membersOf(QStringLiteral("Office")),
        QStringList({ QStringLiteral("Anna McLee"), QStringLiteral("Bob Ray") }), 20000);
    QVERIFY(!w.byName(QStringLiteral("Annax")).FirstName.isEmpty());
}

void TestAddressBooks::bookContactsAreReadOnly()
{
    Window w;
    BoxAnswerer boxes;
    sourceWithCard(QStringLiteral("Book"), QStringLiteral("Berta"));
    w.window->cardRefresher()->reloadSources();
    w.selectGroup(QStringLiteral("Office"));
    w.clickContact(QStringLiteral("Berta Book"));
    QVERIFY(w.editor()->isReadOnly());
    auto *note = w.editor()->findChild<QLabel *>(QStringLiteral("detail_read_only_note"));
    QVERIFY(note && note->text().contains(QStringLiteral("\"Office\"")));
    QVERIFY(w.editor()->findChild<QLineEdit *>(QStringLiteral("first_name_edit"))->isReadOnly());

    // Deleting it is refused (a refresh would bring it back); its groups still change.
    w.window->findChild<QAction *>(QStringLiteral("delete_selected"))->trigger();
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY(boxes.boxes.first().text.contains(QStringLiteral("would come back")));
    QCOMPARE(membersOf(QStringLiteral("Office")), QStringList { QStringLiteral("Berta Book") });
    trigger(w.contactMenu(QStringLiteral("Berta Book")), QStringLiteral("Golf"), QStringLiteral("copy_menu"));
    QCOMPARE(membersOf(QStringLiteral("Golf")).size(), 3);

    // Its book removed, it is the user's own.
    w.window->findChild<QAction *>(QStringLiteral("address_books"))->trigger();
    AddressBookDialog *dialog = w.window->addressBookDialog();
    boxes.setRole(QMessageBox::AcceptRole);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("address_book_remove")), Qt::LeftButton);
    QVERIFY(boxes.boxes.last().text.contains(QStringLiteral("stay in the phonebook as your own")));
    QCOMPARE(dialog->list()->topLevelItemCount(), 0);
    QVERIFY(!w.editor()->isReadOnly());
}

void TestAddressBooks::passwordsKeptForTheSessionWithoutSecretStore()
{
    // No session bus: no secret store answers.
    GuiTestUtil::ProgramFolder folder;
    PasswordStore store;
    QSignalSpy notices(&store, &PasswordStore::sessionOnlyNotice);
    const QString key = PasswordStore::accountKey(QUrl(QStringLiteral("https://dav.example.com/x/")), "anna");
    store.write(key, QStringLiteral("first"));
    QTRY_VERIFY(store.sessionOnly());
    store.write(key, QStringLiteral("second"));
    QString read;
    bool answered = false;
    store.read(key, this, [&](const QString &password) {
        read = password;
        answered = true;
    });
    QTRY_VERIFY(answered);
    QCOMPARE(read, QStringLiteral("second"));
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().first().toString(), PasswordStore::sessionOnlyText());
}

int main(int argc, char **argv)
{
    // No desktop session: the secret store cannot answer, whatever runs the tests.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvane-test-bus");
    QApplication app(argc, argv);
    TestAddressBooks test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestAddressBooks.moc"
