// The file pickers of the window: where each opens, what it shows first, and
// that each remembers its own folder, also across a restart.

#include "app/MainWindow.h"
#include "tests/gui/GuiTestUtil.h"

#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using GuiTestUtil::answerNextDialog;

namespace {

enum Picker { Import, Export, History, Backup };

struct Seen {
    QString folder;
    QStringList patterns;
};

// The patterns of a name filter such as "Text (*.txt *.csv)".
QStringList patternsOf(const QString &filter)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\(([^)]*)\\)")).match(filter);
    return m.hasMatch() ? m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList();
}

// Opens `picker` as the user does, notes where it opened and what it shows
// first, and picks `pick` there (or cancels when it is empty).
Seen openPicker(MainWindow *window, Picker picker, const QString &pick)
{
    Seen seen;
    answerNextDialog([&seen, pick](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        QVERIFY(dialog);
        seen.folder = dialog->directory().absolutePath();
        seen.patterns = patternsOf(dialog->selectedNameFilter());
        if (pick.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(QFileInfo(pick).absolutePath());
        dialog->selectFile(pick);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    // Whatever the command says afterwards (a history that is no phonebook, a backup written).
    GuiTestUtil::BoxAnswerer boxes;
    const auto button = [window](const char *name) { return window->findChild<QPushButton *>(QLatin1String(name)); };
    switch (picker) {
    case Import:
        window->localImport();
        button("import_select_button")->click();
        button("import_cancel_button")->click();
        break;
    case Export:
        window->localExport();
        button("export_select_button")->click();
        button("export_cancel_button")->click();
        break;
    case History:
        button("tool_historyLabel")->click();
        break;
    case Backup:
        button("tool_backupLabel")->click();
        break;
    }
    return seen;
}

} // namespace

class TestFilePickers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // A home of our own, with a Documents folder the user's files would be in.
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toUtf8());
        qunsetenv("XDG_DOCUMENTS_DIR");
        QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("Documents")));
    }

    void eachPickerRemembersItsFolder_data()
    {
        QTest::addColumn<int>("picker");
        QTest::addColumn<QString>("firstFolder");
        QTest::addColumn<QString>("pickName");
        QTest::addColumn<QStringList>("patterns");
        const QStringList phonebooks = { "*.xml", "*.csv", "*.vcf" };
        QTest::newRow("import") << int(Import) << "~/Documents"
                                << "a.xml" << phonebooks;
        QTest::newRow("export") << int(Export) << "~/Documents"
                                << "" << QStringList();
        QTest::newRow("history") << int(History) << "target"
                                 << "a.xml" << phonebooks;
        QTest::newRow("backup") << int(Backup) << "backup"
                                << "b.xml" << QStringList { "*.xml" };
    }
    void eachPickerRemembersItsFolder()
    {
        QFETCH(int, picker);
        QFETCH(QString, firstFolder);
        QFETCH(QString, pickName);
        QFETCH(QStringList, patterns);
        const auto kind = Picker(picker);
        const QString expectedFirst
            = firstFolder.startsWith(QLatin1Char('~')) ? m_home.path() + firstFolder.mid(1) : QString();

        GuiTestUtil::ProgramFolder folder;
        QDir().mkpath(folder.file(QStringLiteral("target")));
        const QString chosenFolder = folder.file(QStringLiteral("chosen"));
        QVERIFY(QDir().mkpath(chosenFolder));
        const QString pick = chosenFolder + QLatin1Char('/') + pickName;
        if (kind != Backup && !pickName.isEmpty())
            folder.write(QStringLiteral("chosen/") + pickName, "<x/>");

        auto window = std::make_unique<MainWindow>();
        const Seen first = openPicker(window.get(), kind, kind == Export ? chosenFolder : pick);
        QCOMPARE(first.folder,
            expectedFirst.isEmpty() ? QFileInfo(folder.file(firstFolder)).absoluteFilePath() : expectedFirst);
        QCOMPARE(first.patterns, patterns);

        QCOMPARE(openPicker(window.get(), kind, QString()).folder, chosenFolder);
        // The other pickers keep their own folders.
        const Picker other = kind == Import ? Export : Import;
        QCOMPARE(openPicker(window.get(), other, QString()).folder, m_home.path() + QStringLiteral("/Documents"));

        // And after a restart.
        window.reset();
        window = std::make_unique<MainWindow>();
        QCOMPARE(openPicker(window.get(), kind, QString()).folder, chosenFolder);
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(TestFilePickers)
#include "TestFilePickers.moc"
