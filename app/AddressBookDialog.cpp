#include "app/AddressBookDialog.h"

#include "app/AddressBookForm.h"
#include "app/CardRefresher.h"
#include "app/PasswordStore.h"
#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

enum Column { NameColumn, AddressColumn, GroupColumn, RefreshColumn, ResultColumn, ColumnCount };

} // namespace

AddressBookDialog::AddressBookDialog(CardRefresher *refresher, PasswordStore *passwords, QWidget *parent)
    : QDialog(parent)
    , m_refresher(refresher)
    , m_passwords(passwords)
{
    setObjectName(QStringLiteral("address_book_dialog"));
    setWindowIcon(parent ? parent->windowIcon() : QIcon());
    resize(760, 320);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("address_book_list"));
    m_list->setColumnCount(ColumnCount);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(true);

    m_passwordNote = new QLabel(this);
    m_passwordNote->setObjectName(QStringLiteral("password_note"));
    m_passwordNote->setWordWrap(true);

    m_addButton = new QPushButton(this);
    m_addButton->setObjectName(QStringLiteral("address_book_add"));
    m_removeButton = new QPushButton(this);
    m_removeButton->setObjectName(QStringLiteral("address_book_remove"));
    m_refreshButton = new QPushButton(this);
    m_refreshButton->setObjectName(QStringLiteral("address_book_refresh"));
    m_scheduleButton = new QPushButton(this);
    m_scheduleButton->setObjectName(QStringLiteral("address_book_schedule"));
    m_closeButton = new QPushButton(this);
    m_closeButton->setObjectName(QStringLiteral("address_book_close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addWidget(m_refreshButton);
    buttons->addWidget(m_scheduleButton);
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_passwordNote);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &AddressBookDialog::addBooks);
    connect(m_removeButton, &QPushButton::clicked, this, &AddressBookDialog::removeBook);
    connect(m_refreshButton, &QPushButton::clicked, this, &AddressBookDialog::refreshBook);
    connect(m_scheduleButton, &QPushButton::clicked, this, &AddressBookDialog::scheduleBook);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &AddressBookDialog::updateButtons);
    connect(m_refresher, &CardRefresher::resultsChanged, this, &AddressBookDialog::fill);
    connect(m_passwords, &PasswordStore::sessionOnlyNotice, this, &AddressBookDialog::fill);
    retranslateUi();
}

void AddressBookDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void AddressBookDialog::retranslateUi()
{
    setWindowTitle(tr("Address books"));
    m_list->setHeaderLabels({ tr("Name"), tr("Address"), tr("Group"), tr("Refresh"), tr("Last result") });
    m_addButton->setText(tr("&Add…"));
    m_removeButton->setText(tr("&Remove"));
    m_refreshButton->setText(tr("Refresh &now"));
    m_scheduleButton->setText(tr("&Schedule…"));
    m_closeButton->setText(tr("&Close"));
    fill();
}

void AddressBookDialog::fill()
{
    const int selected = selectedSource();
    m_list->clear();
    for (const CardSource &source : m_refresher->sources()) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setData(NameColumn, Qt::UserRole, source.id);
        item->setText(NameColumn, source.name);
        item->setText(AddressColumn, source.url);
        item->setText(GroupColumn, Records::groupDisplayName(source.group));
        item->setText(RefreshColumn, CardRefresher::refreshText(source.refreshMinutes));
        item->setText(ResultColumn, m_refresher->lastResult(source.id));
        item->setToolTip(ResultColumn, item->text(ResultColumn));
        if (source.id == selected)
            item->setSelected(true);
    }
    if (!m_list->selectedItems().isEmpty())
        m_list->setCurrentItem(m_list->selectedItems().first());
    else if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    for (int column = 0; column < ResultColumn; ++column)
        m_list->resizeColumnToContents(column);
    m_passwordNote->setText(m_passwords->sessionOnly() ? PasswordStore::sessionOnlyText() : QString());
    m_passwordNote->setVisible(m_passwords->sessionOnly());
    updateButtons();
}

int AddressBookDialog::selectedSource() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? item->data(NameColumn, Qt::UserRole).toInt() : 0;
}

void AddressBookDialog::updateButtons()
{
    const bool chosen = selectedSource() != 0;
    m_removeButton->setEnabled(chosen);
    m_refreshButton->setEnabled(chosen);
    m_scheduleButton->setEnabled(chosen);
}

void AddressBookDialog::addBooks()
{
    QStringList userGroups;
    for (const GroupInfo &group : DataMgr::instance()->phonebook().groups()) {
        if (group.name != Records::kAll && group.name != Records::kDefault && group.name != Records::kAddGroup
            && group.name != Records::kBlacklist)
            userGroups << group.name;
    }
    AddressBookForm form(m_refresher, userGroups, this);
    if (form.exec() != QDialog::Accepted)
        return;
    DataMgr *mgr = DataMgr::instance();
    QList<int> added;
    for (CardSource source : form.chosenSources()) {
        if (const Result saved = mgr->saveCardSource(source); !saved) {
            QMessageBox::warning(this, tr("Address books"),
                tr("The address book \"%1\" could not be kept in phonebook.db (%2).")
                    .arg(source.name, saved.message()));
            break;
        }
        added << source.id;
        if (!source.user.isEmpty())
            m_passwords->write(PasswordStore::accountKey(QUrl(source.url), source.user), form.password());
    }
    m_refresher->reloadSources();
    emit sourcesChanged();
    for (const int id : std::as_const(added))
        m_refresher->refresh(id, true);
}

void AddressBookDialog::removeBook()
{
    const int id = selectedSource();
    if (id == 0)
        return;
    const QString name = m_refresher->sourceName(id);
    int contacts = 0;
    for (const int source : DataMgr::instance()->contactSources())
        contacts += source == id ? 1 : 0;
    QMessageBox box(QMessageBox::Question, tr("Remove address book"),
        tr("Remove the address book \"%1\"? Its %n contact(s) stay in the phonebook as your own and are no longer "
           "refreshed.",
            nullptr, contacts)
            .arg(name),
        QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("remove_book_box"));
    QPushButton *remove = box.addButton(tr("Remove"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() != remove)
        return;
    CardSource removed;
    for (const CardSource &source : m_refresher->sources()) {
        if (source.id == id)
            removed = source;
    }
    if (const Result done = DataMgr::instance()->removeCardSource(id); !done) {
        QMessageBox::warning(this, tr("Address books"),
            tr("The address book \"%1\" could not be removed from phonebook.db (%2).").arg(name, done.message()));
        return;
    }
    m_refresher->reloadSources();
    // The password goes with the last book of its account.
    const QString account = PasswordStore::accountKey(QUrl(removed.url), removed.user);
    const QList<CardSource> &left = m_refresher->sources();
    if (!removed.user.isEmpty() && std::none_of(left.cbegin(), left.cend(), [&account](const CardSource &s) {
            return PasswordStore::accountKey(QUrl(s.url), s.user) == account;
        }))
        m_passwords->remove(account);
    emit sourcesChanged();
}

void AddressBookDialog::refreshBook()
{
    if (const int id = selectedSource())
        m_refresher->refresh(id, true);
}

void AddressBookDialog::scheduleBook()
{
    const int id = selectedSource();
    CardSource source;
    for (const CardSource &s : m_refresher->sources()) {
        if (s.id == id)
            source = s;
    }
    if (source.id == 0)
        return;
    const QList<int> choices = CardRefresher::refreshChoices();
    QStringList texts;
    for (const int minutes : choices)
        texts << CardRefresher::refreshText(minutes);
    bool ok = false;
    const QString chosen
        = QInputDialog::getItem(this, tr("Address books"), tr("Refresh the address book \"%1\":").arg(source.name),
            texts, qMax(0, int(choices.indexOf(source.refreshMinutes))), false, &ok);
    if (!ok)
        return;
    source.refreshMinutes = choices.value(texts.indexOf(chosen));
    if (const Result saved = DataMgr::instance()->saveCardSource(source); !saved) {
        QMessageBox::warning(this, tr("Address books"),
            tr("The address book \"%1\" could not be kept in phonebook.db (%2).").arg(source.name, saved.message()));
        return;
    }
    m_refresher->reloadSources();
}
