// Pinyin spelling and initials of names; the order a name reads and sorts in.

#include "data/ContactNames.h"
#include "data/PinyinKey.h"

#include <QSet>
#include <QTextCodec>
#include <QtTest>

class TestPinyin : public QObject
{
    Q_OBJECT

private slots:
    void spelling_data();
    void spelling();
    void initials_data();
    void initials();
    void tableCoversGb2312Once();
    void nameOrder_data();
    void nameOrder();
    void surnames_data();
    void surnames();
    void surnameTableReadsItsCharacters();
    void searchAnyReading_data();
    void searchAnyReading();
};

void TestPinyin::spelling_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pinyin");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("Zhang San") << QString::fromUtf8("张三") << "ZhangSan";
    QTest::newRow("common surnames") << QString::fromUtf8("王李陈") << "WangLiChen";
    QTest::newRow("A readings") << QString::fromUtf8("啊阿锕") << "AAA";
    QTest::newRow("u with umlaut is v") << QString::fromUtf8("吕略") << "LvLve";
    QTest::newRow("latin unchanged") << "Anna McLee"
                                     << "Anna McLee";
    QTest::newRow("mixed keeps order") << QString::fromUtf8("Li张-3王") << "LiZhang-3Wang";
    QTest::newRow("two-byte characters kept") << QString::fromUtf8("Zoë") << QString::fromUtf8("Zoë");
    QTest::newRow("outside the table dropped") << QString::fromUtf8("カ张") << "Zhang";
    QTest::newRow("first character outside") << QString::fromUtf8("〇三") << "San";
    QTest::newRow("hangul dropped") << QString::fromUtf8("김") << "";
    QTest::newRow("above U+FFFF kept") << QString::fromUtf8("张😀") << QString::fromUtf8("Zhang😀");
}

void TestPinyin::spelling()
{
    QFETCH(QString, name);
    QFETCH(QString, pinyin);
    QCOMPARE(PinyinKey::pinyinOf(name), pinyin);
    QCOMPARE(QString::fromUtf8(PinyinKey::toPinyin(name.toUtf8())), pinyin);
}

void TestPinyin::initials_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initials");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("chinese") << QString::fromUtf8("张三") << "ZS";
    QTest::newRow("latin capitals") << "AnnaMcLee"
                                    << "AML";
    QTest::newRow("lower case only") << "anna"
                                     << "";
    QTest::newRow("mixed") << QString::fromUtf8("李Bo") << "LB";
}

void TestPinyin::initials()
{
    QFETCH(QString, name);
    QFETCH(QString, initials);
    QCOMPARE(PinyinKey::initialsOf(name), initials);
}

void TestPinyin::tableCoversGb2312Once()
{
    // Every hanzi of GB 2312 (rows 16-87) has exactly one syllable.
    QTextCodec *gb = QTextCodec::codecForName("GB2312");
    QVERIFY(gb);
    QSet<char32_t> inTable;
    int entries = 0;
    for (int i = 0; i < PinyinKey::kTableSize; ++i) {
        const QString syllable = QString::fromLatin1(PinyinKey::kTable[i].syllable);
        QVERIFY2(syllable.at(0).isUpper() && syllable.mid(1) == syllable.mid(1).toLower(), qPrintable(syllable));
        for (const char16_t *c = PinyinKey::kTable[i].chars; *c; ++c) {
            QVERIFY2(!inTable.contains(*c), qPrintable(QString::number(*c, 16)));
            inTable.insert(*c);
            ++entries;
        }
    }
    int hanzi = 0;
    for (int hi = 0xB0; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            QByteArray bytes;
            bytes.append(char(hi)).append(char(lo));
            const QString ch = gb->toUnicode(bytes);
            // The codec maps the unassigned tail of row 55 into the private use area.
            if (ch.size() != 1 || ch.at(0).category() != QChar::Letter_Other || gb->fromUnicode(ch) != bytes)
                continue;
            ++hanzi;
            QVERIFY2(PinyinKey::syllableOf(ch.at(0).unicode()), qPrintable(ch));
        }
    }
    QCOMPARE(hanzi, 6763);
    QCOMPARE(entries, 6763);
}

void TestPinyin::nameOrder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("key");

    QTest::newRow("chinese, family name first")
        << QString::fromUtf8("三") << QString::fromUtf8("张") << QString::fromUtf8("张三") << "zhang san:::zs";
    QTest::newRow("chinese given name of two")
        << QString::fromUtf8("三丰") << QString::fromUtf8("张") << QString::fromUtf8("张三丰") << "zhang sanfeng:::zsf";
    QTest::newRow("japanese kanji") << QString::fromUtf8("太郎") << QString::fromUtf8("山田")
                                    << QString::fromUtf8("山田太郎") << "shantian tailang:::sttl";
    QTest::newRow("korean keeps its letters") << QString::fromUtf8("민준") << QString::fromUtf8("김")
                                              << QString::fromUtf8("김민준") << QString::fromUtf8("김 민준:::");
    QTest::newRow("kana") << QString::fromUtf8("たろう") << QString::fromUtf8("やまだ")
                          << QString::fromUtf8("やまだたろう") << QString::fromUtf8("やまだ たろう:::");
    QTest::newRow("latin, given name first") << "Anna"
                                             << "McLee"
                                             << "Anna McLee"
                                             << "anna mclee:::aml";
    QTest::newRow("cyrillic") << QString::fromUtf8("Ольга") << QString::fromUtf8("Иванова")
                              << QString::fromUtf8("Ольга Иванова") << QString::fromUtf8("ольга иванова:::");
    QTest::newRow("mixed scripts read given name first")
        << "Li" << QString::fromUtf8("张") << QString::fromUtf8("Li 张") << "li zhang:::lz";
    QTest::newRow("chinese with digits") << QString::fromUtf8("三2") << QString::fromUtf8("张")
                                         << QString::fromUtf8("张三2") << "zhang san2:::zs";
    QTest::newRow("family name only") << ""
                                      << "NoFirst"
                                      << "NoFirst"
                                      << "nofirst:::nf";
    QTest::newRow("given name only") << "NoLast"
                                     << ""
                                     << "NoLast"
                                     << "nolast:::nl";
    QTest::newRow("a number for a name") << "+86 10 1234"
                                         << ""
                                         << "+86 10 1234"
                                         << "+86 10 1234:::";
    QTest::newRow("no name") << ""
                             << ""
                             << ""
                             << "";
}

void TestPinyin::nameOrder()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, shown);
    QFETCH(QString, key);
    ContactInfo c;
    c.FirstName = first;
    c.LastName = last;
    ContactNames::fillKeys(c);
    QCOMPARE(ContactNames::displayName(c), shown);
    QCOMPARE(ContactNames::sortKey(c), key);
    // The stored fields are not touched.
    QCOMPARE(c.FirstName, first);
    QCOMPARE(c.LastName, last);
}

void TestPinyin::surnames_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("key");

    QTest::newRow("曾 sorts under Z") << QString::fromUtf8("三") << QString::fromUtf8("曾") << "zeng san:::zs";
    QTest::newRow("单 as a family name") << QString::fromUtf8("三") << QString::fromUtf8("单") << "shan san:::ss";
    QTest::newRow("单 in a given name keeps dan")
        << QString::fromUtf8("单") << QString::fromUtf8("王") << "wang dan:::wd";
    QTest::newRow("compound 万俟") << QString::fromUtf8("三") << QString::fromUtf8("万俟") << "moqi san:::mqs";
    QTest::newRow("compound 尉迟") << QString::fromUtf8("恭") << QString::fromUtf8("尉迟") << "yuchi gong:::ycg";
    QTest::newRow("compound before its first character")
        << QString::fromUtf8("无忌") << QString::fromUtf8("长孙") << "zhangsun wuji:::zswj";
    QTest::newRow("长 alone") << QString::fromUtf8("江") << QString::fromUtf8("长") << "chang jiang:::cj";
    QTest::newRow("whole name in the first name") << QString::fromUtf8("曾国藩") << ""
                                                  << "zengguofan:::zgf";
    QTest::newRow("latin given name") << "Anna" << QString::fromUtf8("曾") << "anna zeng:::az";
    QTest::newRow("first name beside a last name is no surname") << QString::fromUtf8("曾三") << "Smith"
                                                                 << "cengsan smith:::css";
    QTest::newRow("no surname reading: unchanged")
        << QString::fromUtf8("重阳") << QString::fromUtf8("王") << "wang zhongyang:::wzy";
}

void TestPinyin::surnames()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, key);
    ContactInfo c;
    c.FirstName = first;
    c.LastName = last;
    ContactNames::fillKeys(c);
    QCOMPARE(ContactNames::sortKey(c), key);
}

void TestPinyin::surnameTableReadsItsCharacters()
{
    // A surname reads each of its characters by one of the dictionary's readings,
    // so that a search by that reading finds it too.
    for (int i = 0; i < PinyinKey::kSurnamesSize; ++i) {
        const QString chars = QString::fromUtf16(PinyinKey::kSurnames[i].chars);
        const QString reading = QString::fromLatin1(PinyinKey::kSurnames[i].reading);
        QStringList syllables;
        for (const QChar c : reading) {
            if (c.isUpper())
                syllables.append(QString());
            if (!syllables.isEmpty())
                syllables.last() += c;
        }
        QCOMPARE(syllables.join(QString()), reading);
        QVERIFY2(chars.size() == syllables.size() && chars.size() <= 2, qPrintable(chars));
        for (int k = 0; k < chars.size(); ++k) {
            bool known = false;
            for (const QLatin1String &r : PinyinKey::readingsOf(chars[k].unicode()))
                known = known || r == syllables[k];
            QVERIFY2(known, qPrintable(chars + QLatin1Char(' ') + reading));
        }
    }
}

void TestPinyin::searchAnyReading_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("found");

    const QString san = QString::fromUtf8("三");
    const QString shan = QString::fromUtf8("单");
    const QString bank = QString::fromUtf8("中国银行长沙分行");
    QTest::newRow("单 by its surname reading") << san << shan << "shan" << true;
    QTest::newRow("单 by its usual reading") << san << shan << "dan" << true;
    QTest::newRow("单, given name first") << san << shan << "sandan" << true;
    QTest::newRow("单 in a given name by shan") << shan << QString::fromUtf8("王") << "wangshan" << true;
    QTest::newRow("曾 by either initial") << san << QString::fromUtf8("曾") << "CS" << true;
    QTest::newRow("重 by chong") << QString::fromUtf8("重阳") << QString::fromUtf8("王") << "chongyang" << true;
    QTest::newRow("重 by zhong") << QString::fromUtf8("重阳") << QString::fromUtf8("王") << "zhongyang" << true;
    QTest::newRow("no reading spells it") << san << shan << "shang" << false;
    // 36 ways to read it: found by walking the readings, not by a spelt text.
    QTest::newRow("many readings, a later one") << bank << ""
                                                << "yinhangchangsha" << true;
    QTest::newRow("many readings, across the names") << bank << "Li"
                                                     << "fenhangli" << true;
    QTest::newRow("many readings, initials") << bank << ""
                                             << "zgyhcs" << true;
    QTest::newRow("many readings, not a reading") << bank << ""
                                                  << "yinqiao" << false;
    QTest::newRow("many readings, not in order") << bank << ""
                                                 << "changshayinhang" << false;
}

void TestPinyin::searchAnyReading()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, typed);
    QFETCH(bool, found);
    ContactInfo c;
    c.FirstName = first;
    c.LastName = last;
    ContactNames::fillKeys(c);
    QCOMPARE(ContactNames::found(c, ContactNames::searchText(c), ContactNames::searchNeedle(typed)), found);
}

QTEST_GUILESS_MAIN(TestPinyin)

#include "TestPinyin.moc"
