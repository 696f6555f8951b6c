// Every include points down the house: a folder includes only folders below it.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// Floor of each folder; folders on one floor never include each other.
const QHash<QString, int> kFloor = {
    { "data", 1 },
    { "import", 2 },
    { "export", 2 },
    { "httpd", 2 },
    { "manager", 3 },
    { "widgets", 4 },
    { "app", 5 },
    { "cli", 5 },
};

struct Include {
    QString file;
    QString target;
    bool quoted; // "..." rather than <...>
};

// Every include, quoted or angled, of the files in `folder`.
QList<Include> includesIn(const QString &folder)
{
    static const QRegularExpression include(
        QStringLiteral("^\\s*#\\s*include\\s+([\"<])([^\">]+)[\">]"), QRegularExpression::MultilineOption);
    QList<Include> result;
    const QDir root(QStringLiteral(QUORVANE_SOURCE_DIR));
    QDirIterator files(root.filePath(folder), { "*.h", "*.cpp" }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch match = m.next();
            result.append({ root.relativeFilePath(path), match.captured(2), match.captured(1) == "\"" });
        }
    }
    return result;
}

// The project's own includes ("folder/File.h") of every layer.
QList<Include> projectIncludes()
{
    QList<Include> result;
    for (auto it = kFloor.cbegin(); it != kFloor.cend(); ++it) {
        for (const Include &i : includesIn(it.key())) {
            if (i.quoted)
                result.append(i);
        }
    }
    return result;
}

QString folderOf(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, 0);
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT
private slots:
    void includesPointDown()
    {
        const QList<Include> includes = projectIncludes();
        QVERIFY(includes.size() > 100);
        QStringList wrong;
        for (const Include &i : includes) {
            const QString from = folderOf(i.file);
            const QString to = folderOf(i.target);
            if (!kFloor.contains(to) || from == to)
                continue;
            if (kFloor[to] >= kFloor[from])
                wrong.append(i.file + " -> " + i.target);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }

    // Only the data manager knows the readers, the writers and the service together.
    void onlyTheManagerKnowsAllThree()
    {
        QHash<QString, QSet<QString>> reaches;
        for (const Include &i : projectIncludes()) {
            const QString to = folderOf(i.target);
            if (to == "import" || to == "export" || to == "httpd")
                reaches[i.file].insert(to);
        }
        QStringList wrong;
        for (auto it = reaches.cbegin(); it != reaches.cend(); ++it) {
            if (it->size() == 3 && folderOf(it.key()) != "manager")
                wrong.append(it.key());
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }

    // The store and SQL stay below the data manager: the window and the headless
    // tool reach the phonebook through it.
    void nothingAboveTheManagerTouchesTheStore()
    {
        int seen = 0;
        QStringList wrong;
        for (const char *folder : { "widgets", "app", "cli" }) {
            for (const Include &i : includesIn(QString::fromLatin1(folder))) {
                ++seen;
                if (i.target == "data/SqliteDatabase.h" || i.target.startsWith("QSql") || i.target.startsWith("QtSql")
                    || i.target == "sqlite3.h")
                    wrong.append(i.file + " -> " + i.target);
            }
        }
        QVERIFY(seen > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }

    // Every include names its folder, so a reader sees the layer it reaches into.
    void includesAreRooted()
    {
        QStringList bare;
        for (const Include &i : projectIncludes()) {
            if (!i.target.contains('/') && !i.target.endsWith(".moc"))
                bare.append(i.file + " -> " + i.target);
        }
        QVERIFY2(bare.isEmpty(), qPrintable(bare.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "TestLayers.moc"
