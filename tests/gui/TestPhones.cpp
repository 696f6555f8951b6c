// What each phone model gets, in the window: marks, findings, and a finding that
// leads to its contact.

#include "app/ExportDialog.h"
#include "export/ExportFactory.h"
#include "tests/gui/ListWindow.h"
#include "widgets/PhoneCheckView.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace ListWindow;

namespace {

constexpr int kPastTheLimit = 3;

// One contact more than two phone models take, plus the standard four in front.
void largePhonebook()
{
    standardPhonebook();
    for (int i = 4; i < LayoutLimits::kModelContacts + kPastTheLimit; ++i)
        TestUtil::addContact(TestUtil::contact(
            QStringLiteral("P%1").arg(i), QStringLiteral("Q"), { TestUtil::phone("Work", QString::number(5000 + i)) }));
}

int rowOf(const QAbstractItemModel *model, const QString &name)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == name)
            return row;
    }
    return -1;
}

QList<int> findingContacts(const QAbstractItemModel *model, int row)
{
    QList<int> ids;
    const QModelIndex parent = model->index(row, 0);
    for (int r = 0; r < model->rowCount(parent); ++r)
        ids << model->index(r, 0, parent).data(PhoneCheckModel::ContactIdRole).toInt();
    return ids;
}

PhoneCheckModel::Mark markOf(const QAbstractItemModel *model, int row)
{
    return PhoneCheckModel::Mark(model->index(row, 0).data(PhoneCheckModel::MarkRole).toInt());
}

// Opens the Phones window from the strip and waits for its check.
PhoneCheckView *openPhones(const Window &w)
{
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("tool_phonesButton")), Qt::LeftButton);
    PhoneCheckView *view = w.window->phonesView();
    const bool checked = view && QTest::qWaitFor([view] { return view->checkModel()->rowCount() == 5; }, 10000);
    return checked ? view : nullptr;
}

} // namespace

class TestPhones : public QObject
{
    Q_OBJECT

private slots:
    void modelsPastTheLimitAreAmber();
    void findingSelectsItsContact_data();
    void findingSelectsItsContact();
    void exportCheckIsRedWhenTheEncodingRefuses();
};

void TestPhones::modelsPastTheLimitAreAmber()
{
    Window w(largePhonebook);
    PhoneCheckView *view = openPhones(w);
    QVERIFY(view && view->isVisible());
    QAbstractItemModelTester tester(view->checkModel());
    const QList<ContactInfo> &contacts = mgr()->phonebook().contacts();
    QList<int> past;
    for (int i = LayoutLimits::kModelContacts; i < contacts.size(); ++i)
        past << contacts.at(i).id;
    QCOMPARE(past.size(), kPastTheLimit);
    for (const QString &model : { QStringLiteral("Alder"), QStringLiteral("Birch") }) {
        const int row = rowOf(view->checkModel(), model);
        QVERIFY2(row >= 0, qPrintable(model));
        QCOMPARE(markOf(view->checkModel(), row), PhoneCheckModel::Mark::Amber);
        QCOMPARE(findingContacts(view->checkModel(), row), past);
    }
    QCOMPARE(markOf(view->checkModel(), rowOf(view->checkModel(), "Cedar")), PhoneCheckModel::Mark::Green);

    // An edit is checked again: the last contact gone, one fewer is past the limit.
    mgr()->phonebook().deleteContacts({ int(contacts.size()) - 1 });
    mgr()->phonebookChanged();
    QTRY_COMPARE(findingContacts(view->checkModel(), rowOf(view->checkModel(), "Birch")), past.mid(0, 2));
}

void TestPhones::findingSelectsItsContact_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("search");
    QTest::newRow("shown in All") << "All"
                                  << "";
    QTest::newRow("in a group without it") << "Golf"
                                           << "";
    QTest::newRow("hidden by the search") << "All"
                                          << "Anna";
}

void TestPhones::findingSelectsItsContact()
{
    QFETCH(QString, group);
    QFETCH(QString, search);
    Window w(largePhonebook);
    w.selectGroup(group);
    if (!search.isEmpty()) {
        w.contacts()->searchEdit()->setFocus();
        QTest::keyClicks(w.contacts()->searchEdit(), search);
        QTRY_COMPARE(w.contacts()->model()->rowCount(), 1);
    }
    PhoneCheckView *view = openPhones(w);
    QVERIFY(view);
    QTreeView *tree = view->tree();
    const QModelIndex birch = view->checkModel()->index(rowOf(view->checkModel(), "Birch"), 0);
    tree->expand(birch);
    const QModelIndex finding = view->checkModel()->index(1, PhoneCheckModel::WhatColumn, birch);
    tree->scrollTo(finding);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(finding).center());
    const int position = mgr()->phonebook().indexOfContact(finding.data(PhoneCheckModel::ContactIdRole).toInt());
    QCOMPARE(position, LayoutLimits::kModelContacts + 1);
    QTRY_COMPARE(w.contacts()->currentContact(), position);
    QCOMPARE(w.editor()->shownContact().id, mgr()->phonebook().contacts().at(position).id);
    QVERIFY(!w.contacts()->isSearching());
}

void TestPhones::exportCheckIsRedWhenTheEncodingRefuses()
{
    Window w;
    w.window->localExport();
    auto *dialog = w.find<ExportDialog>(QStringLiteral("export_dialog"));
    QVERIFY(dialog);
    const QAbstractItemModel *model = dialog->checkDetails()->checkModel();
    QTRY_COMPARE(model->rowCount(), 1);
    QCOMPARE(markOf(model, 0), PhoneCheckModel::Mark::Green);
    w.find<QComboBox>(QStringLiteral("export_format_box"))->setCurrentIndex(ExportFactory::CsvOutlook);
    w.find<QComboBox>(QStringLiteral("export_encoding_box"))->setCurrentText(QStringLiteral("KOI8-R"));
    // 张三 and 李四 cannot be written in KOI8-R: the file would be refused.
    QTRY_COMPARE(markOf(model, 0), PhoneCheckModel::Mark::Red);
    const QList<int> found = findingContacts(model, 0);
    QCOMPARE(QSet<int>(found.cbegin(), found.cend()),
        QSet<int>({ w.byName(QStringLiteral("三")).id, w.byName(QStringLiteral("四")).id }));
    // The line's link opens the findings.
    emit w.find<QLabel>(QStringLiteral("export_check_line"))->linkActivated(QStringLiteral("details"));
    QTRY_VERIFY(dialog->checkDetails()->isVisible());
    dialog->reject();
}

QTEST_MAIN(TestPhones)
#include "TestPhones.moc"
