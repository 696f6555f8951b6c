// The main window as it grows: fields that show their whole text at the start
// size, panels that take the room they are given, a size and place kept from
// one run to the next, and a second start that brings the window forward.

#include "app/SingleInstance.h"
#include "app/WindowMemory.h"
#include "tests/gui/ListWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QStyleOptionComboBox>
#include <QtTest>

using namespace ListWindow;
using TestUtil::contact;
using TestUtil::mail;
using TestUtil::phone;

namespace {

// Numbers and addresses as long as those people keep; one row of each kind of box.
void longFieldsPhonebook()
{
    TestUtil::addContact(contact(QStringLiteral("Margaret"), QStringLiteral("McAllister"),
        { phone("Company Main", "+49 (0)30 1234 5678-90", -1), phone("Home Fax", "+86 755 2658 8888", 5) },
        { mail("Home", "margaret.mcallister@example.com"), mail("Other", "m.mcallister@quorvane.net") }));
}

// How much of a line edit's text is scrolled out of sight: zero when it shows whole.
int hiddenPart(QLineEdit *edit)
{
    edit->setCursorPosition(0);
    edit->grab();
    const int start = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    edit->setCursorPosition(int(edit->text().size()));
    edit->grab();
    const int end = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    const int hidden = edit->fontMetrics().horizontalAdvance(edit->text()) - (end - start);
    edit->setCursorPosition(0);
    return hidden;
}

// The room a combo box paints its text in, and the widest of its entries.
int comboRoom(QComboBox *box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.frame = box->hasFrame();
    option.subControls = QStyle::SC_All;
    return box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
}

int widestEntry(QComboBox *box)
{
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = qMax(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    return widest;
}

// Every number, mail, type and account field of the shown contact whose text
// does not show whole, by object name and text.
QStringList cutFields(const Window &w)
{
    QStringList cut;
    const QWidget *viewport = w.find<QScrollArea>(QStringLiteral("detail_widget"))->viewport();
    const auto outside = [viewport](QWidget *field) {
        const int right = field->mapTo(viewport, QPoint(field->width(), 0)).x();
        return right > viewport->width()
            ? QStringLiteral("%1 ends %2 px outside the panel").arg(field->objectName()).arg(right - viewport->width())
            : QString();
    };
    for (QLineEdit *edit : w.editor()->findChildren<QLineEdit *>()) {
        const QString name = edit->objectName();
        if (name != QLatin1String("phone_number_edit") && name != QLatin1String("mail_address_edit"))
            continue;
        if (const QString out = outside(edit); !out.isEmpty())
            cut << out;
        if (const int hidden = hiddenPart(edit); hidden > 0)
            cut << QStringLiteral("%1 \"%2\" (%3 px hidden)").arg(name, edit->text()).arg(hidden);
    }
    for (QComboBox *box : w.editor()->findChildren<QComboBox *>()) {
        const QString name = box->objectName();
        if (!name.endsWith(QLatin1String("type_box")) && name != QLatin1String("phone_account_box"))
            continue;
        if (const QString out = outside(box); !out.isEmpty())
            cut << out;
        if (widestEntry(box) > comboRoom(box))
            cut << QStringLiteral("%1 (%2 px for %3 px)").arg(name).arg(comboRoom(box)).arg(widestEntry(box));
    }
    return cut;
}

// The window takes its language from the system's while no choice is kept.
struct SystemLanguage {
    explicit SystemLanguage(const QString &code)
    {
        QLocale::setDefault(code == QLatin1String("zh") ? QLocale(QLocale::Chinese, QLocale::China)
                                                        : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~SystemLanguage() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The editor's own font, which the fields are measured in.
        QApplication::setFont(QFont(QStringLiteral("Times"), 11, QFont::Normal));
    }

    void fieldsShowWholeText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("size");
        QTest::newRow("English, start size") << "en" << MainWindow::startSize();
        QTest::newRow("Chinese, start size") << "zh" << MainWindow::startSize();
        QTest::newRow("English, wide") << "en" << QSize(1400, 800);
    }
    void fieldsShowWholeText()
    {
        QFETCH(QString, language);
        QFETCH(QSize, size);
        SystemLanguage system(language);
        Window w(longFieldsPhonebook);
        QCOMPARE(w.window->currentLanguage(), language);
        w.window->resize(size);
        GuiTestUtil::clickRow(w.contacts(), 0, ContactModel::NameColumn);
        QVERIFY(!w.detailEmpty());
        QCOMPARE(w.window->size(), size);
        QCOMPARE(w.editor()->findChildren<QLineEdit *>(QStringLiteral("phone_number_edit")).size(), 2);
        const QStringList cut = cutFields(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void panelsGrowWithTheWindow()
    {
        Window w(longFieldsPhonebook);
        QCOMPARE(w.window->size(), MainWindow::startSize());
        const QList<QWidget *> panels = { w.groups(), w.contacts(), w.find<QWidget>(QStringLiteral("detail_widget")) };
        QList<QSize> before;
        for (QWidget *panel : panels)
            before << panel->size();
        w.window->resize(1400, 900);
        for (int i = 0; i < panels.size(); ++i) {
            QVERIFY2(panels[i]->width() > before[i].width(), qPrintable(panels[i]->objectName()));
            QVERIFY2(panels[i]->height() > before[i].height(), qPrintable(panels[i]->objectName()));
            QVERIFY(panels[i]->geometry().right() < panels[i]->parentWidget()->width());
        }
        // The rows of both lists reach across the wider lists.
        for (QAbstractItemView *list :
            { static_cast<QAbstractItemView *>(w.groups()), static_cast<QAbstractItemView *>(w.contacts()) }) {
            const QAbstractItemModel *model = list->model();
            const QRect lastCell = list->visualRect(model->index(0, model->columnCount() - 1));
            QVERIFY2(lastCell.right() >= list->viewport()->width() - 20, qPrintable(list->objectName()));
        }
        // The three stay side by side, none over another.
        const auto left = [](QWidget *p) { return p->mapTo(p->window(), QPoint(0, 0)).x(); };
        QVERIFY(left(panels[0]) + panels[0]->width() <= left(panels[1]));
        QVERIFY(left(panels[1]) + panels[1]->width() <= left(panels[2]));
        QVERIFY(left(panels[2]) + panels[2]->width() <= w.window->width());
        // Smaller than the start size it does not go.
        w.window->resize(600, 400);
        QCOMPARE(w.window->size(), MainWindow::startSize());
    }

    void placementKept_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("resized") << false;
        QTest::newRow("maximised") << true;
    }
    void placementKept()
    {
        QFETCH(bool, maximised);
        GuiTestUtil::ProgramFolder folder;
        const QRect placed(60, 50, 1100, 700);
        QPointer<MainWindow> window = new MainWindow;
        window->setGeometry(placed);
        if (maximised)
            window->showMaximized();
        QTRY_COMPARE(window->isMaximized(), maximised);
        window->closeWindow();
        QTRY_VERIFY(window.isNull());
        QVERIFY(!WindowMemory::geometry().isEmpty());
        MainWindow again;
        QTRY_COMPARE(again.isMaximized(), maximised);
        if (maximised)
            again.showNormal();
        QTRY_COMPARE(again.geometry().size(), placed.size());
        QCOMPARE(again.geometry().topLeft(), placed.topLeft());
    }

    void secondStartBringsWindowForward_data()
    {
        QTest::addColumn<bool>("inTray");
        QTest::newRow("minimised") << false;
        QTest::newRow("in the tray") << true;
    }
    void secondStartBringsWindowForward()
    {
        QFETCH(bool, inTray);
        GuiTestUtil::ProgramFolder folder;
        MainWindow window;
        const QString key = folder.file(QStringLiteral("instance"));
        SingleInstance first(key);
        QVERIFY(!first.isRunning());
        window.answerLaterStarts(&first);
        if (inTray)
            window.hide();
        else
            window.showMinimized();
        QTRY_VERIFY(!window.isVisible() || window.isMinimized());

        SingleInstance second(key);
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage(QStringLiteral("raies"), 5000));
        QTRY_VERIFY(window.isVisible() && !window.isMinimized());
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }
};

QTEST_MAIN(TestWindowLayout)
#include "TestWindowLayout.moc"
