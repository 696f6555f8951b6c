// The local import, export and port dialogs of the main window, and the
// network import's hand-over of a downloaded file.

#include "app/ExportDialog.h"
#include "app/ImportDialog.h"
#include "app/PortDialog.h"
#include "app/WebImport.h"
#include "tests/gui/ListWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace ListWindow;
using GuiTestUtil::BoxAnswerer;

namespace {

// "Ann Lee" and a second "Bob Ray": one new contact, one of the same name.
const QByteArray kImported = "<AddressBook><Contact><FirstName>Ann</FirstName><LastName>Lee</LastName></Contact>"
                             "<Contact><FirstName>Bob</FirstName><LastName>Ray</LastName></Contact></AddressBook>";

void press(const Window &w, const char *button)
{
    auto *b = w.find<QPushButton>(QString::fromLatin1(button));
    QVERIFY2(b, button);
    b->click();
}

} // namespace

class TestImportExportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void importRefusesWrongFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing") << "missing.xml";
        QTest::newRow("suffix in capitals") << "book.XML";
    }

    void importRefusesWrongFiles()
    {
        QFETCH(QString, path);
        Window w;
        w.folder.write("book.XML", kImported);
        press(w, "tool_importLabel");
        w.find<QLineEdit>("import_path_edit")->setText(path.isEmpty() ? path : w.folder.file(path));
        BoxAnswerer boxes;
        press(w, "import_ok_button");
        QCOMPARE(boxes.titles(), QStringList({ "Import Box" }));
        QCOMPARE(boxes.boxes.first().text, QString("Please choose correct file to import."));
        QVERIFY(w.find<QDialog>("import_dialog")->isVisible());
        QCOMPARE(mgr()->phonebook().contacts().size(), 4);
    }

    void importChoices_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QStringList>("names");
        const QStringList kept { "Ann Lee", "Anna McLee", "Bob Ray", "Bob Ray", "李四", "张三" };
        QTest::newRow("keep both") << false << false << kept;
        QTest::newRow("replace duplicates")
            << false << true << QStringList { "Ann Lee", "Anna McLee", "Bob Ray", "李四", "张三" };
        QTest::newRow("clear list") << true << false << QStringList { "Ann Lee", "Bob Ray" };
    }

    void importChoices()
    {
        QFETCH(bool, clear);
        QFETCH(bool, replace);
        QFETCH(QStringList, names);
        Window w;
        w.folder.write("book.xml", kImported);
        press(w, "tool_importLabel");
        w.find<QLineEdit>("import_path_edit")->setText(w.folder.file("book.xml"));
        w.find<QCheckBox>(clear ? "import_clear_yes" : "import_clear_no")->setChecked(true);
        w.find<QCheckBox>(replace ? "import_replace_yes" : "import_replace_no")->setChecked(true);
        BoxAnswerer boxes;
        press(w, "import_ok_button");
        QVERIFY(boxes.boxes.isEmpty());
        QTRY_VERIFY(!w.find<QDialog>("import_dialog"));
        QCOMPARE(w.shownNames(), names);
        QCOMPARE(TestUtil::loadedContacts().size(), names.size());
    }

    void importTellsTheEncoding()
    {
        Window w;
        // "Jürgen" in Windows-1252: not UTF-8, so "Auto" has to recognise it.
        w.folder.write("latin.csv", "First Name,Last Name,Mobile Phone\nJ\xfcrgen,M\xfcller,5550100\n");
        press(w, "tool_importLabel");
        auto *encodings = w.find<QComboBox>("import_encoding_box");
        encodings->setCurrentIndex(encodings->count() - 1);
        w.find<QLineEdit>("import_path_edit")->setText(w.folder.file("latin.csv"));
        BoxAnswerer boxes;
        press(w, "import_ok_button");
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(w.byName(QString::fromUtf8("Jürgen")).LastName, QString::fromUtf8("Müller"));
    }

    // What the dialogs collect is judged without them.
    void optionsAccepted_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("import xml") << "import"
                                    << "book.xml" << true;
        QTest::newRow("import csv") << "import"
                                    << "book.csv" << true;
        QTest::newRow("import vcf") << "import"
                                    << "book.vcf" << true;
        QTest::newRow("import folder named like a file") << "import"
                                                         << "folder.xml" << false;
        QTest::newRow("import no ending") << "import"
                                          << "book" << false;
        QTest::newRow("export plain name") << "export"
                                           << "book" << true;
        QTest::newRow("export backslash in the name") << "export"
                                                      << "..\\book" << false;
        QTest::newRow("export no name") << "export"
                                        << "" << false;
        QTest::newRow("port default") << "port"
                                      << "" << true;
        QTest::newRow("port above the range") << "port"
                                              << "65536" << false;
        QTest::newRow("port not a number") << "port"
                                           << "http" << false;
    }

    void optionsAccepted()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath("folder.xml"));
        for (const char *name : { "book.xml", "book.csv", "book.vcf", "book" }) {
            QFile f(folder.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (kind == "import")
            QCOMPARE((ImportOptions { folder.filePath(value), "UTF-8", false, false }.isReadableFile()), accepted);
        else if (kind == "export")
            QCOMPARE((ExportOptions { 1, "UTF-8", value, folder.path() }.isComplete()), accepted);
        else
            QCOMPARE((PortOptions { value.isEmpty(), value }.isValid()), accepted);
    }

    void exportRefusesBadInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("no name") << ""
                                 << ".";
        QTest::newRow("no folder") << "book"
                                   << "";
        QTest::newRow("missing folder") << "book"
                                        << "missing";
        QTest::newRow("name with a folder") << "../book"
                                            << ".";
    }

    void exportRefusesBadInput()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        Window w;
        press(w, "tool_exportLabel");
        w.find<QLineEdit>("export_name_edit")->setText(name);
        w.find<QLineEdit>("export_path_edit")->setText(folder.isEmpty() ? folder : w.folder.file(folder));
        BoxAnswerer boxes;
        press(w, "export_ok_button");
        QCOMPARE(boxes.boxes.first().text, QString("Please enter a name and choose correct path to export."));
        QVERIFY(w.find<QDialog>("export_dialog")->isVisible());
    }

    void exportAsksBeforeReplacing()
    {
        Window w;
        QDir().mkpath(w.folder.file("out"));
        w.folder.write("out/book.xml", "old");
        for (QMessageBox::ButtonRole answer : { QMessageBox::NoRole, QMessageBox::YesRole }) {
            press(w, "tool_exportLabel");
            w.find<QLineEdit>("export_name_edit")->setText("book");
            w.find<QLineEdit>("export_path_edit")->setText(w.folder.file("out"));
            BoxAnswerer boxes(answer);
            press(w, "export_ok_button");
            QCOMPARE(boxes.boxes.first().title, QString("Replace action"));
            QCOMPARE(boxes.boxes.first().text,
                w.folder.file("out/book.xml") + "has already exist,do you want to replace it?");
            QCOMPARE(w.folder.read("out/book.xml") == "old", answer == QMessageBox::NoRole);
            press(w, "export_cancel_button");
            QTRY_VERIFY(!w.find<QDialog>("export_dialog"));
        }
    }

    void exportWritesEveryFormat()
    {
        Window w;
        QDir().mkpath(w.folder.file("out"));
        for (int format = 0; format < 13; ++format) {
            press(w, "tool_exportLabel");
            w.find<QComboBox>("export_format_box")->setCurrentIndex(format);
            w.find<QLineEdit>("export_name_edit")->setText(QStringLiteral("f%1").arg(format));
            w.find<QLineEdit>("export_path_edit")->setText(w.folder.file("out"));
            BoxAnswerer boxes;
            press(w, "export_ok_button");
            QCOMPARE(boxes.boxes.first().text, QString("Phone book has been exported successfully!"));
            const QString ending = format == 0 ? ".vcf" : format <= 5 ? ".xml" : ".csv";
            QVERIFY2(QFileInfo(w.folder.file(QStringLiteral("out/f%1%2").arg(format).arg(ending))).size() > 0,
                qPrintable(QString::number(format)));
            QTRY_VERIFY(!w.find<QDialog>("export_dialog"));
        }
        // Exporting leaves the store as it was.
        QCOMPARE(TestUtil::loadedContacts().size(), 0);
    }

    void portDialog_data()
    {
        QTest::addColumn<bool>("useDefault");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("written");
        QTest::newRow("below the range") << false << "4999" << false;
        QTest::newRow("lowest") << false << "5000" << true;
        QTest::newRow("highest") << false << "65535" << true;
        QTest::newRow("default port, nothing typed") << true << "" << true;
    }

    void portDialog()
    {
        QFETCH(bool, useDefault);
        QFETCH(QString, port);
        QFETCH(bool, written);
        Window w;
        const QString before = QDir::currentPath();
        QDir::setCurrent(w.folder.path()); // port.xml lives in the current folder
        w.window->openPortDialog();
        auto *box = w.find<QCheckBox>("port_default_box");
        auto *edit = w.find<QLineEdit>("port_edit");
        box->setChecked(useDefault);
        QCOMPARE(edit->isEnabled(), !useDefault);
        edit->setText(port);
        BoxAnswerer boxes;
        press(w, "port_ok_button");
        QCOMPARE(boxes.titles(), written ? QStringList() : QStringList { "Port Error" });
        const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n    <useDefault>"
            + QByteArray(useDefault ? "1" : "0") + "</useDefault>\n    <port>" + port.toUtf8()
            + "</port>\n</configHttpdPort>\n";
        QCOMPARE(w.folder.read("port.xml"), written ? expected : QByteArray());
        if (written) {
            // Opened again, the dialog shows what was written.
            QTRY_VERIFY(!w.find<QDialog>("port_dialog"));
            w.window->openPortDialog();
            QCOMPARE(w.find<QCheckBox>("port_default_box")->isChecked(), useDefault);
            QCOMPARE(w.find<QLineEdit>("port_edit")->text(), port);
        }
        QDir::setCurrent(before);
    }

    void dialogsSpeakChinese_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("title");
        QTest::newRow("import") << "import_dialog" << QString::fromUtf8("导入文件");
        QTest::newRow("export") << "export_dialog" << QString::fromUtf8("导出文件");
        QTest::newRow("port") << "port_dialog" << QString::fromUtf8("配置 HTTPD 端口");
    }

    void dialogsSpeakChinese()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, title);
        GuiTestUtil::ProgramFolder folder;
        folder.write("language/config.xml", "<root><Language>zh</Language></root>");
        MainWindow w;
        if (dialog == "import_dialog")
            w.localImport();
        else if (dialog == "export_dialog")
            w.localExport();
        else
            w.openPortDialog();
        auto *shown = w.findChild<QDialog *>(dialog);
        QVERIFY(shown);
        QCOMPARE(shown->windowTitle(), title);
        QCOMPARE(shown->findChild<QPushButton *>(dialog.section('_', 0, 0) + "_cancel_button")->text(),
            QString::fromUtf8("取消"));
    }

    void downloadedFileIsImported_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("contacts");
        QTest::newRow("xml") << "book.xml" << 6;
        QTest::newRow("no reader for it") << "book.txt" << 4;
    }

    void downloadedFileIsImported()
    {
        QFETCH(QString, file);
        QFETCH(int, contacts);
        Window w;
        QDir().mkpath(w.folder.file("web"));
        w.folder.write("web/" + file, kImported);
        w.window->openWebImport();
        auto *download = w.find<WebImport>("web_import_dialog");
        QVERIFY(download);
        BoxAnswerer boxes;
        emit download->webImportSuccess({ w.folder.file("web/" + file), "UTF-8", false, false });
        QCOMPARE(mgr()->phonebook().contacts().size(), contacts);
        QCOMPARE(boxes.boxes.isEmpty(), contacts == 6);
        if (!boxes.boxes.isEmpty())
            QCOMPARE(boxes.boxes.first().text, QString("Please choose correct file to import."));
    }
};

QTEST_MAIN(TestImportExportDialogs)
#include "TestImportExportDialogs.moc"
