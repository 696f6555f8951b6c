#include "app/OptionFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOptionFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &content)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray read(const QString &name)
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void init()
    {
        const QDir dir(m_dir.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            QFile::remove(dir.filePath(name));
    }

    void readLanguage_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("code");

        QTest::newRow("zh") << QByteArray("<root>\n    <Language>zh</Language>\n</root>\n") << true << "zh";
        QTest::newRow("en") << QByteArray("<root><Language>en</Language></root>") << true << "en";
        QTest::newRow("unknown code kept") << QByteArray("<root><Language>fr</Language></root>") << true << "fr";
        QTest::newRow("empty element") << QByteArray("<root><Language/></root>") << true << "";
        QTest::newRow("no Language element") << QByteArray("<root><Other>zh</Other></root>") << true << "";
        QTest::newRow("last of a run wins")
            << QByteArray("<root><Language>en</Language><Language>zh</Language></root>") << true << "zh";
        QTest::newRow("run ends at another element")
            << QByteArray("<root><Language>zh</Language><Other/><Language>en</Language></root>") << true << "zh";
        QTest::newRow("run starts at first Language")
            << QByteArray("<root><Other/><Language>zh</Language></root>") << true << "zh";
        QTest::newRow("declaration and UTF-8")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><Language>zh</Language></root>") << true
            << "zh";
        QTest::newRow("not well-formed") << QByteArray("<root><Language>zh</root>") << false << "";
        QTest::newRow("empty file") << QByteArray() << false << "";
    }
    void readLanguage()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, read);
        QFETCH(QString, code);
        write(QStringLiteral("config.xml"), content);
        QString got = QStringLiteral("untouched");
        QCOMPARE(OptionFiles::readLanguage(path(QStringLiteral("config.xml")), &got), read);
        if (read)
            QCOMPARE(got, code);
    }

    void readLanguageMissingFile()
    {
        QString got;
        QVERIFY(!OptionFiles::readLanguage(path(QStringLiteral("nothing.xml")), &got));
    }

    void writeLanguage_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("created") << QByteArray() << "zh"
                                 << QByteArray("<root>\n    <Language>zh</Language>\n</root>\n");
        QTest::newRow("updated") << QByteArray("<root><Language>zh</Language></root>") << "en"
                                 << QByteArray("<root>\n    <Language>en</Language>\n</root>\n");
        QTest::newRow("leading run only")
            << QByteArray("<root><Language>zh</Language><Language/><Note>x</Note><Language>zh</Language></root>")
            << "en"
            << QByteArray("<root>\n    <Language>en</Language>\n    <Language>en</Language>\n    <Note>x</Note>\n"
                          "    <Language>zh</Language>\n</root>\n");
        QTest::newRow("first element not Language")
            << QByteArray("<root><Note/><Language>zh</Language></root>") << "en"
            << QByteArray("<root>\n    <Note/>\n    <Language>zh</Language>\n</root>\n");
    }
    void writeLanguage()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, code);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            write(QStringLiteral("config.xml"), before);
        QVERIFY(OptionFiles::writeLanguage(path(QStringLiteral("config.xml")), code));
        QCOMPARE(read(QStringLiteral("config.xml")), after);
    }

    void writeLanguageKeepsMalformedFile()
    {
        const QByteArray broken("<root><Language>zh</root>");
        write(QStringLiteral("config.xml"), broken);
        QVERIFY(!OptionFiles::writeLanguage(path(QStringLiteral("config.xml")), QStringLiteral("en")));
        QCOMPARE(read(QStringLiteral("config.xml")), broken);
    }

    void readOptions_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("autoStart");
        QTest::addColumn<bool>("recoveryData");
        QTest::addColumn<bool>("autoHttpd");

        QTest::newRow("all on") << QByteArray("<root><AutoStart>1</AutoStart><RecoveryData>1</RecoveryData>"
                                              "<AutoHttpd>1</AutoHttpd></root>")
                                << true << true << true;
        QTest::newRow("all off") << QByteArray("<root><AutoStart>0</AutoStart><RecoveryData>0</RecoveryData>"
                                               "<AutoHttpd>0</AutoHttpd></root>")
                                 << false << false << false;
        QTest::newRow("2 is not on") << QByteArray("<root><AutoStart>1</AutoStart><RecoveryData>0</RecoveryData>"
                                                   "<AutoHttpd>2</AutoHttpd></root>")
                                     << true << false << false;
        QTest::newRow("text is not on") << QByteArray("<root><AutoStart>yes</AutoStart></root>") << false << false
                                        << false;
        QTest::newRow("missing elements are off")
            << QByteArray("<root><RecoveryData>1</RecoveryData></root>") << false << true << false;
        QTest::newRow("last of a run wins")
            << QByteArray("<root><AutoHttpd>1</AutoHttpd><AutoHttpd>0</AutoHttpd></root>") << false << false << false;
        QTest::newRow("order does not matter")
            << QByteArray("<root><AutoHttpd>1</AutoHttpd><AutoStart>1</AutoStart></root>") << true << false << true;
    }
    void readOptions()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, autoStart);
        QFETCH(bool, recoveryData);
        QFETCH(bool, autoHttpd);
        write(QStringLiteral("options.xml"), content);
        OptionFiles::Options options;
        QVERIFY(OptionFiles::readOptions(path(QStringLiteral("options.xml")), &options));
        QCOMPARE(options.autoStart, autoStart);
        QCOMPARE(options.recoveryData, recoveryData);
        QCOMPARE(options.autoHttpd, autoHttpd);
    }

    void readOptionsRefusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray("<missing>");
        QTest::newRow("not well-formed") << QByteArray("<root><AutoStart>1</root>");
    }
    void readOptionsRefusesBadFiles()
    {
        QFETCH(QByteArray, content);
        if (content != "<missing>")
            write(QStringLiteral("options.xml"), content);
        OptionFiles::Options options;
        QVERIFY(!OptionFiles::readOptions(path(QStringLiteral("options.xml")), &options));
    }

    void writeOptions_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        // Written with AutoStart on, RecoveryData off, AutoHttpd on.
        QTest::newRow("created") << QByteArray()
                                 << QByteArray(
                                        "<root>\n    <AutoStart>1</AutoStart>\n    <RecoveryData>0</RecoveryData>\n"
                                        "    <AutoHttpd>1</AutoHttpd>\n</root>\n");
        QTest::newRow("only its elements") << QByteArray("<root><AutoStart>0</AutoStart></root>")
                                           << QByteArray("<root>\n    <AutoStart>1</AutoStart>\n</root>\n");
        QTest::newRow("others kept, empty filled")
            << QByteArray("<root><Theme>dark</Theme><AutoHttpd/><RecoveryData>1</RecoveryData></root>")
            << QByteArray("<root>\n    <Theme>dark</Theme>\n    <AutoHttpd>1</AutoHttpd>\n"
                          "    <RecoveryData>0</RecoveryData>\n</root>\n");
    }
    void writeOptions()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            write(QStringLiteral("options.xml"), before);
        OptionFiles::Options options;
        options.autoStart = true;
        options.recoveryData = false;
        options.autoHttpd = true;
        QVERIFY(OptionFiles::writeOptions(path(QStringLiteral("options.xml")), options));
        QCOMPARE(read(QStringLiteral("options.xml")), after);
    }

    void writeOptionsNeedsTheFolder()
    {
        const QString inMissing = path(QStringLiteral("language/options.xml"));
        QVERIFY(!OptionFiles::writeOptions(inMissing, OptionFiles::Options()));
        QVERIFY(!QFile::exists(inMissing));
        QVERIFY(!QDir(path(QStringLiteral("language"))).exists());
    }
};

QTEST_MAIN(TestOptionFiles)
#include "TestOptionFiles.moc"
