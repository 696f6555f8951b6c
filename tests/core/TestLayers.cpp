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
};

QList<Include> projectIncludes()
{
    static const QRegularExpression include(
        QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""), QRegularExpression::MultilineOption);
    QList<Include> result;
    const QDir root(QStringLiteral(QUORVANE_SOURCE_DIR));
    for (auto it = kFloor.cbegin(); it != kFloor.cend(); ++it) {
        QDirIterator files(root.filePath(it.key()), { "*.h", "*.cpp" }, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();)
                result.append({ root.relativeFilePath(path), m.next().captured(1) });
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
