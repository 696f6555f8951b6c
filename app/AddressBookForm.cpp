#include "app/AddressBookForm.h"

#include "app/CardRefresher.h"
#include "app/NetworkPrompts.h"
#include "data/Records.h"
#include "import/CardDavClient.h"
#include "import/WebDownload.h"

#include <QAuthenticator>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum BookRole { UrlRole = Qt::UserRole, NameRole };

// The name a book goes by: its own, or the last part of its address.
QString bookName(const DavBook &book)
{
    return book.name.isEmpty() ? book.url.path().section(QLatin1Char('/'), -2, -2) : book.name;
}

} // namespace

AddressBookForm::AddressBookForm(CardRefresher *refresher, const QStringList &userGroups, QWidget *parent)
    : QDialog(parent)
    , m_refresher(refresher)
{
    setObjectName(QStringLiteral("address_book_form"));
    setWindowTitle(tr("Add address books"));
    setModal(true);

    m_addressEdit = new QLineEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("address_edit"));
    m_addressEdit->setPlaceholderText(tr("https://dav.example.com/"));
    m_addressEdit->setMinimumWidth(360);
    m_userEdit = new QLineEdit(this);
    m_userEdit->setObjectName(QStringLiteral("user_edit"));
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName(QStringLiteral("password_edit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_findButton = new QPushButton(tr("&Find address books"), this);
    m_findButton->setObjectName(QStringLiteral("find_books_button"));
    m_findButton->setDefault(true);

    m_statusLabel = new QLabel(
        tr("The server's address is enough: its address books are found from there (or give a book's own address)."),
        this);
    m_statusLabel->setObjectName(QStringLiteral("form_status_label"));
    m_statusLabel->setWordWrap(true);

    m_bookList = new QListWidget(this);
    m_bookList->setObjectName(QStringLiteral("book_list"));
    m_bookList->setMinimumHeight(90);

    m_groupBox = new QComboBox(this);
    m_groupBox->setObjectName(QStringLiteral("group_choice_box"));
    m_groupBox->addItem(tr("The book's own name"), QString());
    m_groupBox->addItem(Records::groupDisplayName(Records::kDefault), Records::kDefault);
    for (const QString &group : userGroups)
        m_groupBox->addItem(group, group);

    m_refreshBox = new QComboBox(this);
    m_refreshBox->setObjectName(QStringLiteral("refresh_choice_box"));
    for (const int minutes : CardRefresher::refreshChoices())
        m_refreshBox->addItem(CardRefresher::refreshText(minutes), minutes);
    m_refreshBox->setCurrentIndex(2);

    auto *buttons = new QDialogButtonBox(this);
    m_addButton = buttons->addButton(tr("&Add"), QDialogButtonBox::AcceptRole);
    m_addButton->setObjectName(QStringLiteral("add_books_button"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(tr("Cancel"));

    auto *login = new QFormLayout;
    login->addRow(tr("&Address:"), m_addressEdit);
    login->addRow(tr("&User name:"), m_userEdit);
    login->addRow(tr("&Password:"), m_passwordEdit);
    auto *findRow = new QHBoxLayout;
    findRow->addStretch();
    findRow->addWidget(m_findButton);
    auto *choices = new QFormLayout;
    choices->addRow(tr("&Group:"), m_groupBox);
    choices->addRow(tr("&Refresh:"), m_refreshBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(login);
    layout->addLayout(findRow);
    layout->addWidget(m_statusLabel);
    layout->addWidget(new QLabel(tr("Address books found:"), this));
    layout->addWidget(m_bookList);
    layout->addLayout(choices);
    layout->addWidget(buttons);

    connect(m_findButton, &QPushButton::clicked, this, &AddressBookForm::findBooks);
    connect(m_addressEdit, &QLineEdit::textChanged, this, &AddressBookForm::updateButtons);
    connect(m_bookList, &QListWidget::itemChanged, this, &AddressBookForm::updateButtons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButtons();
}

AddressBookForm::~AddressBookForm()
{
    if (m_client)
        m_client->cancel();
}

void AddressBookForm::setStatus(const QString &text)
{
    m_statusLabel->setText(text);
}

void AddressBookForm::findBooks()
{
    // The same button stops a search that runs.
    if (m_client && m_client->isRunning()) {
        m_client->cancel();
        setStatus(tr("The search was stopped."));
        updateButtons();
        return;
    }
    const QUrl url = WebDownload::urlFromText(m_addressEdit->text());
    if (!url.isValid() || url.host().isEmpty()) {
        setStatus(tr("%1 is no server address.").arg(m_addressEdit->text()));
        return;
    }
    m_bookList->clear();
    if (!m_client) {
        m_client = new CardDavClient(this);
        connect(m_client, &CardDavClient::progress, this, &AddressBookForm::setStatus);
        connect(m_client, &CardDavClient::finished, this, &AddressBookForm::onFound);
        connect(
            m_client, &CardDavClient::sslErrors, this,
            [this](const QList<QSslError> &errors) {
                if (m_refresher->acceptCertificates(errors, true))
                    m_client->setAcceptCertificates(true);
            },
            Qt::DirectConnection);
        connect(
            m_client, &CardDavClient::authenticationRequired, this,
            [this](const QString &host, QAuthenticator *authenticator, bool refused) {
                QString user = m_userEdit->text();
                if (NetworkPrompts::askCredentials(this,
                        QCoreApplication::translate("WebImport", "%1 at %2").arg(authenticator->realm(), host),
                        authenticator, &user, refused)) {
                    m_userEdit->setText(user);
                    m_passwordEdit->setText(authenticator->password());
                }
            },
            Qt::DirectConnection);
    }
    m_client->setCredentials(m_userEdit->text(), m_passwordEdit->text());
    m_client->discover(url);
    updateButtons();
}

void AddressBookForm::onFound(bool ok, const QString &error)
{
    updateButtons();
    if (!ok) {
        setStatus(error);
        return;
    }
    QSet<QString> known;
    for (const CardSource &source : m_refresher->sources())
        known.insert(source.url);
    int fresh = 0;
    for (const DavBook &book : m_client->books()) {
        const QString url = book.url.toString();
        auto *item = new QListWidgetItem(QStringLiteral("%1  (%2)").arg(bookName(book), book.url.path()), m_bookList);
        item->setData(UrlRole, url);
        item->setData(NameRole, bookName(book));
        if (known.contains(url)) {
            item->setText(tr("%1 (added already)").arg(item->text()));
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
            continue;
        }
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        ++fresh;
    }
    setStatus(tr("%n address book(s) found; tick those to add.", nullptr, int(m_client->books().size())));
    updateButtons();
    if (fresh > 0) {
        m_addButton->setDefault(true);
        m_addButton->setFocus();
    }
}

void AddressBookForm::updateButtons()
{
    const bool running = m_client && m_client->isRunning();
    m_findButton->setText(running ? tr("&Stop") : tr("&Find address books"));
    m_findButton->setEnabled(running || !m_addressEdit->text().trimmed().isEmpty());
    for (QLineEdit *edit : { m_addressEdit, m_userEdit, m_passwordEdit })
        edit->setEnabled(!running);
    m_addButton->setEnabled(!running && !chosenSources().isEmpty());
}

QList<CardSource> AddressBookForm::chosenSources() const
{
    QList<CardSource> sources;
    for (int row = 0; row < m_bookList->count(); ++row) {
        const QListWidgetItem *item = m_bookList->item(row);
        if (!(item->flags() & Qt::ItemIsUserCheckable) || item->checkState() != Qt::Checked)
            continue;
        CardSource source;
        source.url = item->data(UrlRole).toString();
        source.name = item->data(NameRole).toString();
        source.user = m_client ? m_client->user() : m_userEdit->text();
        const QString group = m_groupBox->currentData().toString();
        source.group = group.isEmpty() ? source.name : group;
        if (source.group.isEmpty())
            source.group = Records::kDefault;
        source.refreshMinutes = m_refreshBox->currentData().toInt();
        if (m_client && m_client->acceptsCertificates())
            source.certificate = m_client->problemCertificate();
        sources.append(source);
    }
    return sources;
}

QString AddressBookForm::password() const
{
    return m_client ? m_client->password() : m_passwordEdit->text();
}
