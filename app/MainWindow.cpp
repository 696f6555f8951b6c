#include "app/MainWindow.h"

#include "app/AutoStart.h"
#include "app/CardRefresher.h"
#include "app/EditHistory.h"
#include "app/OptionFiles.h"
#include "app/TrayIcon.h"
#include "app/WindowMemory.h"
#include "app/WindowPlacement.h"
#include "data/AppPaths.h"
#include "httpd/HttpdService.h"
#include "manager/DataMgr.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactView.h"
#include "widgets/GroupView.h"
#include "widgets/SearchEdit.h"
#include "widgets/UserGuide.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMovie>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>

namespace {

const QString kTitle = QStringLiteral("Quorvane Phonebook Editor");
const QString kHttpdOpenIcon = QStringLiteral(":/httpdOpenIcon.png");
const QString kHttpdCloseIcon = QStringLiteral(":/httpdCloseIcon.png");

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_appTranslator = new QTranslator(this);
    m_qtTranslator = new QTranslator(this);
    m_isSaved = true;
    m_autoStartState = false;

    m_appDir = AppPaths::appDir();
    m_exportFolder = WindowMemory::folder(WindowMemory::Picker::Export);

    if (!readLanguageConfig()) {
        switch (QLocale().language()) {
        case QLocale::Chinese:
            loadZhLang();
            break;
        case QLocale::English:
            loadEnLang();
            break;
        default:
            break;
        }
    }
    DataMgr::instance()->setLanguage(m_currentLanguage);

    m_centralWidget = new QWidget(this);
    setCentralWidget(m_centralWidget);
    m_httpdLog = new HttpdLogWindow;
    m_httpdLog->setWindowIcon(programIcon());
    m_httpdLog->hide();

    createConnection();

    createActions();
    createMenus();
    createToolStrip();
    createGroupPanel();
    createContactPanel();
    createDetailPanel();
    connectPanels();
    createRefresher();

    applyStyleSheet();

    setObjectName(QStringLiteral("central_widget"));
    // The mark shows while there are unsaved edits.
    setWindowTitle(kTitle + QStringLiteral("[*]"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());

    createTrayIcon();
    retranslateUi();

    restorePlacement();
    show();

    readOptionsAndSet();
    // Application-wide: the focus may be in any of the editor's line edits,
    // including those made later for each contact shown.
    qApp->installEventFilter(this);
    watchSessionEnd();
    offerRecoveryCopy();
    // Once the window is up: the address books due at start come first.
    QTimer::singleShot(0, m_refresher, &CardRefresher::start);
}

MainWindow::~MainWindow()
{
    // A window destroyed without closeWindow() still leaves no temporary files
    // and no open store behind.
    if (!m_closed)
        cleanUp();
    delete m_httpdLog.data();
    if (m_trayIcon)
        m_trayIcon->deleteLater();
    if (m_trayMenu)
        m_trayMenu->deleteLater();
    if (m_overlay)
        m_overlay->deleteLater();
    if (m_helpWindow)
        m_helpWindow->deleteLater();
}

QIcon MainWindow::programIcon()
{
    // Every size the artwork has, so that task bars, window lists and the About
    // box each take a sharp one instead of scaling up the 16-pixel picture.
    QIcon icon;
    for (const int size : { 16, 32, 64, 256 })
        icon.addFile(QStringLiteral(":/icon_%1.png").arg(size), QSize(size, size));
    return icon;
}

bool MainWindow::readLanguageConfig()
{
    QString code;
    if (!OptionFiles::readLanguage(AppPaths::configDir() + QStringLiteral("config.xml"), &code))
        return false;
    if (code == QLatin1String("zh"))
        loadZhLang();
    else
        loadEnLang();
    return true;
}

void MainWindow::loadZhLang()
{
    loadLanguage(QStringLiteral("zh"));
}

void MainWindow::loadEnLang()
{
    loadLanguage(QStringLiteral("en"));
}

void MainWindow::loadLanguage(const QString &code)
{
    if (m_currentLanguage == code)
        return;
    // Set before the translators change: the help window picks its pictures by it
    // when it takes the change.
    DataMgr::instance()->setLanguage(code);
    QCoreApplication::removeTranslator(m_appTranslator);
    QCoreApplication::removeTranslator(m_qtTranslator);
    const QString folder = AppPaths::translationsDir();
    if (m_appTranslator->load(code + QStringLiteral(".qm"), folder))
        QCoreApplication::installTranslator(m_appTranslator);
    // The toolkit's own texts (file dialogs, standard buttons) are English without one.
    if (code == QLatin1String("zh") && m_qtTranslator->load(QStringLiteral("qt_zh_CN.qm"), folder))
        QCoreApplication::installTranslator(m_qtTranslator);
    m_currentLanguage = code;
}

bool MainWindow::createConnection()
{
    DataMgr *mgr = DataMgr::instance();
    const Result opened = mgr->openStore();
    if (opened)
        return true;
    QMessageBox::critical(this, DataMgr::tr("Phonebook store"),
        DataMgr::tr("The phonebook store %1 could not be opened: %2")
            .arg(QDir::toNativeSeparators(mgr->storePath()), opened.message()));
    return false;
}

void MainWindow::createActions()
{
    // Their texts come from retranslateUi().
    auto action = [this] { return new QAction(this); };

    m_newAct = action();
    m_newAct->setShortcuts(QKeySequence::New);
    connect(m_newAct, &QAction::triggered, this, &MainWindow::constructNewFile);

    m_saveAct = action();
    m_saveAct->setShortcuts(QKeySequence::Save);
    connect(m_saveAct, &QAction::triggered, this, &MainWindow::saveFile);

    m_historyAct = action();
    m_historyAct->setShortcut(QKeySequence(QStringLiteral("CTRL+R")));
    connect(m_historyAct, &QAction::triggered, this, &MainWindow::showHistory);

    m_exitAct = action();
    m_exitAct->setShortcuts(QKeySequence::Quit);
    connect(m_exitAct, &QAction::triggered, this, &MainWindow::exitProgram);

    m_localImportAct = action();
    m_localImportAct->setShortcut(QKeySequence(QStringLiteral("CTRL+I")));
    connect(m_localImportAct, &QAction::triggered, this, &MainWindow::localImport);

    m_webImportAct = action();
    m_webImportAct->setShortcut(QKeySequence(QStringLiteral("CTRL+W")));
    connect(m_webImportAct, &QAction::triggered, this, &MainWindow::openWebImport);

    m_addressBooksAct = action();
    m_addressBooksAct->setObjectName(QStringLiteral("address_books"));
    connect(m_addressBooksAct, &QAction::triggered, this, &MainWindow::openAddressBooks);

    m_localExportAct = action();
    m_localExportAct->setShortcut(QKeySequence(QStringLiteral("CTRL+E")));
    connect(m_localExportAct, &QAction::triggered, this, &MainWindow::localExport);

    m_phonesAct = action();
    m_phonesAct->setObjectName(QStringLiteral("phones"));
    m_phonesAct->setShortcut(QKeySequence(QStringLiteral("CTRL+P")));
    connect(m_phonesAct, &QAction::triggered, this, &MainWindow::showPhones);

    // The language names are written in their own language, never translated.
    m_zhAct = new QAction(QStringLiteral("简体中文"), this);
    m_zhAct->setObjectName(QStringLiteral("zh"));
    m_zhAct->setCheckable(true);
    m_enAct = new QAction(QStringLiteral("English"), this);
    m_enAct->setObjectName(QStringLiteral("en"));
    m_enAct->setCheckable(true);
    m_languageGroup = new QActionGroup(this);
    m_languageGroup->setExclusive(true);
    m_languageGroup->addAction(m_zhAct);
    m_languageGroup->addAction(m_enAct);
    if (m_currentLanguage == QLatin1String("zh"))
        m_zhAct->setChecked(true);
    else if (m_currentLanguage == QLatin1String("en"))
        m_enAct->setChecked(true);
    connect(m_zhAct, &QAction::triggered, this, &MainWindow::restoreLanguageSetting);
    connect(m_enAct, &QAction::triggered, this, &MainWindow::restoreLanguageSetting);

    m_autoStartAct = action();
    m_autoStartAct->setObjectName(QStringLiteral("auto start"));
    m_recoveryDataAct = action();
    m_recoveryDataAct->setObjectName(QStringLiteral("recovery data"));
    m_autoHttpdAct = action();
    m_autoHttpdAct->setObjectName(QStringLiteral("auto httpd"));
    for (QAction *a : { m_autoStartAct, m_recoveryDataAct, m_autoHttpdAct }) {
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, &MainWindow::restoreOptions);
    }

    m_httpdPortAct = action();
    connect(m_httpdPortAct, &QAction::triggered, this, &MainWindow::openPortDialog);

    m_helpAct = action();
    m_helpAct->setShortcuts(QKeySequence::HelpContents);
    connect(m_helpAct, &QAction::triggered, this, &MainWindow::showHelpInfo);

    m_aboutAct = action();
    connect(m_aboutAct, &QAction::triggered, this, &MainWindow::about);

    createEditActions();
}

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menu_bar"));
    bar->setFont(QFont(QStringLiteral("Times"), 10));

    m_fileMenu = bar->addMenu(QString());
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_fileMenu->addAction(m_newAct);
    m_fileMenu->addAction(m_saveAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_historyAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAct);

    createEditMenu();

    m_importMenu = bar->addMenu(QString());
    m_importMenu->setObjectName(QStringLiteral("importMenu"));
    m_importMenu->addAction(m_localImportAct);
    m_importMenu->addAction(m_webImportAct);
    m_importMenu->addSeparator();
    m_importMenu->addAction(m_addressBooksAct);

    m_exportMenu = bar->addMenu(QString());
    m_exportMenu->setObjectName(QStringLiteral("exportMenu"));
    m_exportMenu->addAction(m_localExportAct);
    m_exportMenu->addSeparator();
    m_exportMenu->addAction(m_phonesAct);

    m_languageMenu = bar->addMenu(QString());
    m_languageMenu->setObjectName(QStringLiteral("langMenu"));
    m_languageMenu->addAction(m_zhAct);
    m_languageMenu->addAction(m_enAct);

    m_optionsMenu = bar->addMenu(QString());
    m_optionsMenu->addAction(m_autoStartAct);
    m_optionsMenu->addAction(m_recoveryDataAct);
    m_optionsMenu->addAction(m_autoHttpdAct);
    m_optionsMenu->addAction(m_confirmDeleteAct);
    m_optionsMenu->addAction(m_httpdPortAct);

    m_helpMenu = bar->addMenu(QString());
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_helpMenu->addAction(m_helpAct);

    m_aboutMenu = bar->addMenu(QString());
    m_aboutMenu->setObjectName(QStringLiteral("aboutMenu"));
    m_aboutMenu->addAction(m_aboutAct);
}

void MainWindow::createToolStrip()
{
    m_toolStrip = new QWidget(this);
    m_toolStrip->setObjectName(QStringLiteral("tool_strip"));
    m_toolStrip->setGeometry(0, 20, 948, 53);
    m_toolStrip->setStyleSheet(QStringLiteral("QWidget {font: normal; font-size: 14px; font-family: 'Times';}"));

    auto button = [this](const QRect &geometry, const QString &icon, const QString &name) {
        auto *b = new QPushButton(QIcon(icon), QString(), m_toolStrip);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setIconSize(QSize(24, 24));
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };

    m_newButton = button(QRect(20, 10, 108, 33), QStringLiteral(":/new.png"), QStringLiteral("tool_newLabel"));
    connect(m_newButton, &QPushButton::clicked, this, &MainWindow::constructNewFile);

    m_saveButton = button(QRect(128, 10, 108, 33), QStringLiteral(":/save.png"), QStringLiteral("tool_saveLabel"));
    connect(m_saveButton, &QPushButton::clicked, this, &MainWindow::saveFile);

    m_exportButton
        = button(QRect(236, 10, 108, 33), QStringLiteral(":/export.png"), QStringLiteral("tool_exportLabel"));
    connect(m_exportButton, &QPushButton::clicked, this, &MainWindow::localExport);

    m_importButton
        = button(QRect(344, 10, 108, 33), QStringLiteral(":/import.png"), QStringLiteral("tool_importLabel"));
    connect(m_importButton, &QPushButton::clicked, this, &MainWindow::localImport);

    m_historyButton
        = button(QRect(452, 10, 108, 33), QStringLiteral(":/history.png"), QStringLiteral("tool_historyLabel"));
    connect(m_historyButton, &QPushButton::clicked, this, &MainWindow::showHistory);

    m_backupButton
        = button(QRect(568, 10, 108, 33), QStringLiteral(":/backup.png"), QStringLiteral("tool_backupLabel"));
    // The only strip button with a key of its own: no menu entry carries Ctrl+B.
    m_backupButton->setShortcut(QKeySequence(QStringLiteral("CTRL+B")));
    connect(m_backupButton, &QPushButton::clicked, this, &MainWindow::showBackupWindow);

    m_phonesButton
        = button(QRect(676, 10, 100, 33), QStringLiteral(":/phones.png"), QStringLiteral("tool_phonesButton"));
    connect(m_phonesButton, &QPushButton::clicked, this, &MainWindow::showPhones);

    m_httpdButton = button(QRect(782, 10, 158, 33), kHttpdOpenIcon, QStringLiteral("tool_httpButton"));
    setHttpdButtonOpen(true);
    connect(m_httpdButton, &QPushButton::released, this, &MainWindow::toggleHttpService);
}

void MainWindow::createGroupPanel()
{
    m_groupPanel = new QWidget(m_centralWidget);
    m_groupPanel->setObjectName(QStringLiteral("group_panel"));
    m_groupPanel->setGeometry(20, 56, 230, 508);

    m_groupTitleLabel = new QLabel(m_groupPanel);
    m_groupTitleLabel->setObjectName(QStringLiteral("group_title_label"));
    m_groupTitleLabel->setGeometry(0, 0, 230, 30);
    m_groupTitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_groupView = new GroupView(QStringLiteral(":/group_background.png"), m_groupPanel);
    m_groupView->setObjectName(QStringLiteral("group_view"));
    m_groupView->setGeometry(0, 30, 230, 478);
    m_groupView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_groupView, &QWidget::customContextMenuRequested, this, &MainWindow::showGroupMenu);
}

void MainWindow::createContactPanel()
{
    m_contactPanel = new QWidget(m_centralWidget);
    m_contactPanel->setObjectName(QStringLiteral("contact_panel"));
    m_contactPanel->setGeometry(260, 56, 280, 508);

    m_contactTitleLabel = new QLabel(QStringLiteral("    ") + tr("All"), m_contactPanel);
    m_contactTitleLabel->setObjectName(QStringLiteral("contact_title_label"));
    m_contactTitleLabel->setGeometry(0, 0, 280, 31);
    m_contactTitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_batchButton = new QPushButton(tr("Batch"), m_contactPanel);
    m_batchButton->setObjectName(QStringLiteral("batch_button"));
    m_batchButton->setGeometry(180, 5, 87, 21);
    m_batchButton->setFont(QFont(QStringLiteral("Times"), 10));
    m_batchButton->setShortcut(QKeySequence(QStringLiteral("CTRL+M")));

    m_searchLabel = new QLabel(m_contactPanel);
    m_searchLabel->setObjectName(QStringLiteral("contact_search_label"));
    m_searchLabel->setGeometry(0, 31, 280, 31);
    m_searchEdit = new SearchEdit(m_searchLabel);
    m_searchEdit->setObjectName(QStringLiteral("contact_search_edit"));
    m_searchEdit->setGeometry(10, 3, 260, 25);
    auto *searchPicture = new QLabel(m_searchEdit);
    searchPicture->setObjectName(QStringLiteral("contact_search_picture"));
    searchPicture->setGeometry(240, 4, 16, 16);
    searchPicture->setPixmap(QPixmap(QStringLiteral(":/search.png")));
    searchPicture->setScaledContents(true);
    searchPicture->setStyleSheet(QStringLiteral("QLabel {background-color: white;}"));

    m_addContactButton = new QPushButton(m_contactPanel);
    m_addContactButton->setObjectName(QStringLiteral("contact_add_button"));
    m_addContactButton->setGeometry(0, 62, 280, 31);
    m_addContactButton->setFlat(true);
    m_addContactButton->setShortcut(QKeySequence(QStringLiteral("CTRL+G")));
    auto *addPicture = new QLabel(m_addContactButton);
    addPicture->setObjectName(QStringLiteral("contact_add_picture"));
    addPicture->setGeometry(30, 5, 20, 20);
    addPicture->setPixmap(QPixmap(QStringLiteral(":/add_default.png")));
    addPicture->setScaledContents(true);
    auto *addText = new QLabel(m_addContactButton);
    addText->setObjectName(QStringLiteral("contact_add_text"));
    addText->setGeometry(55, 0, 120, 30);

    // The view wires the Batch button, the search edit and the add button itself.
    m_contactView = new ContactView(QStringLiteral(":/contact_background.png"), m_contactTitleLabel, m_batchButton,
        m_searchEdit, m_addContactButton, m_contactPanel);
    m_contactView->setObjectName(QStringLiteral("contact_view"));
    m_contactView->setGeometry(0, 93, 280, 417);
    m_contactView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_contactView, &QWidget::customContextMenuRequested, this, &MainWindow::showContactMenu);
}

void MainWindow::createDetailPanel()
{
    m_contactEditor = new ContactEditor(m_centralWidget);
    m_contactEditor->setGeometry(540, 56, 380, 508);
    connect(m_contactEditor, &ContactEditor::edited, this, &MainWindow::updateEditActions);
    showEmptyDetail();
}

void MainWindow::connectPanels()
{
    connect(m_groupView, &GroupView::showOwnContacts, m_contactView, &ContactView::showGroupContacts);
    connect(m_contactView, &ContactView::showNobodyPreview, this, &MainWindow::showEmptyDetail);
    connect(m_contactView, &ContactView::addNewContactByGroup, this, &MainWindow::addNewContactToGroup);
    connect(m_contactView, &ContactView::onSearchState, m_groupView, &GroupView::onContactSearch);
    connect(m_contactView, &ContactView::changeContact, this, &MainWindow::showContactDetail);
    connect(m_contactView, &ContactView::checkDetailValue, this, &MainWindow::checkDetailValues);
    connect(m_groupView, &GroupView::groupCheckDetail, this, &MainWindow::checkDetailValues);
    connect(m_groupView, &GroupView::addGroup, this, &MainWindow::addNewGroup);
    connect(m_groupView, &GroupView::clearSearchFocus, m_contactView, &ContactView::clearSearchEditFocus);
    connect(m_groupView, &GroupView::groupChosen, m_contactView, &ContactView::clearSearch);
    connect(m_groupView, &GroupView::groupRenamed, this, [this] { recordEdit(tr("Rename Group")); });
    // Destruction is not wired to closeWindow(): a slot of a half-destroyed window
    // must not run; the destructor cleans up instead.
    m_groupView->selectGroupRow(0);
}

void MainWindow::applyStyleSheet()
{
    QFile file(QStringLiteral(":/QuorvanePhonebook.qss"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        setStyleSheet(QString::fromUtf8(file.readAll()));
}

void MainWindow::createTrayIcon()
{
    m_restoreAct = new QAction(this);
    connect(m_restoreAct, &QAction::triggered, this, &MainWindow::recoverWindow);
    m_trayExitAct = new QAction(this);
    connect(m_trayExitAct, &QAction::triggered, this, &MainWindow::exitProgram);

    m_trayMenu = new QMenu;
    m_trayMenu->setObjectName(QStringLiteral("tray_menu"));
    m_trayMenu->addAction(m_restoreAct);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_trayExitAct);

    m_trayIcon = new TrayIcon(programIcon(), tr("Quorvane Phonebook Editor"), m_trayMenu);
    m_trayIcon->show();
    connect(m_trayIcon, &TrayIcon::activated, this, &MainWindow::iconActivated);
}

void MainWindow::createOperationOverlay()
{
    auto *overlay = new QWidget(this);
    overlay->setObjectName(QStringLiteral("operation_overlay"));
    overlay->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    overlay->setAttribute(Qt::WA_StyledBackground);
    overlay->setFixedSize(size());
    overlay->setStyleSheet(
        QStringLiteral("QWidget {background: transparent url(%1); border: none}").arg(QStringLiteral(":/loading.png")));

    auto *text = new QLabel(tr("Operating,please wait."), overlay);
    text->setObjectName(QStringLiteral("operation_text"));
    text->setGeometry(200, 250, 450, 100);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    text->setStyleSheet(
        QStringLiteral("QLabel{ background: transparent; font-size: 22px; color: white; font-weight: bold;}"));

    auto *animation = new QLabel(overlay);
    animation->setObjectName(QStringLiteral("operation_animation"));
    animation->setGeometry(100, 100, 16, 16);
    auto *movie = new QMovie(QStringLiteral(":/loading_animation.gif"), QByteArray(), animation);
    animation->setMovie(movie);
    movie->start();

    overlay->hide();
    m_overlay = overlay;
    placePanels();
}

void MainWindow::showOperationOverlay()
{
    if (!m_overlay)
        createOperationOverlay();
    m_overlay->move(0, 0);
    m_overlay->show();
    m_overlay->raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::hideOperationOverlay()
{
    if (m_overlay)
        m_overlay->hide();
}

void MainWindow::setHttpdButtonOpen(bool open)
{
    m_httpdShowsOpen = open;
    if (open) {
        // Alt+O belongs to the Options menu; a second claim would leave the key dead.
        m_httpdButton->setText(tr("O&pen HTTPD"));
        m_httpdButton->setIcon(QIcon(kHttpdOpenIcon));
        m_httpdButton->setStatusTip(tr("Open the HTTPD server"));
    } else {
        m_httpdButton->setText(tr("&Close HTTPD"));
        m_httpdButton->setIcon(QIcon(kHttpdCloseIcon));
        m_httpdButton->setStatusTip(tr("Close the HTTPD server"));
    }
}

void MainWindow::stopHttpdService()
{
    DataMgr::instance()->stopHttpService();
    m_httpdLog->log()->clear();
    m_httpdLog->hide();
}

void MainWindow::toggleHttpService()
{
    DataMgr *mgr = DataMgr::instance();
    if (!m_httpdShowsOpen) {
        stopHttpdService();
        setHttpdButtonOpen(true);
        return;
    }
    // Connected before the start so that nothing the service says is lost.
    connect(mgr, &DataMgr::httpdMsg, this, &MainWindow::showServiceMessage, Qt::UniqueConnection);
    QStringList notices;
    const Result started = mgr->startHttpService(&notices);
    for (const QString &notice : std::as_const(notices))
        showMessage(QMessageBox::Warning, HttpdService::tr("Httpd Server"), notice);
    if (!started) {
        showMessage(QMessageBox::Critical, HttpdService::tr("Httpd Server"), started.message());
        stopHttpdService();
        return;
    }
    setHttpdButtonOpen(false);
    m_httpdLog->setFetches(mgr->phoneFetches());
    m_httpdLog->log()->append(HttpdService::startEntry(mgr->httpClients(), mgr->httpPort()));
    if (!m_httpdLog->isVisible()) {
        // Beside the main window, so that the log covers neither it nor the help window.
        m_httpdLog->move(WindowPlacement::beside(
            frameGeometry(), m_httpdLog->frameGeometry().size(), screen()->availableGeometry()));
    }
    m_httpdLog->show();
}

void MainWindow::showServiceMessage(const QString &message)
{
    m_httpdLog->log()->append(QString());
    m_httpdLog->log()->append(message);
}

void MainWindow::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        recoverWindow();
}

void MainWindow::recoverWindow()
{
    // Out of the tray or the task bar as it was left: a maximised window stays
    // maximised (showNormal() would shrink it).
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::showHelpInfo()
{
    if (!m_helpWindow)
        m_helpWindow = new UserGuide;
    if (!m_helpWindow->isVisible()) {
        m_helpWindow->move(WindowPlacement::centredOver(
            frameGeometry(), m_helpWindow->frameGeometry().size(), screen()->availableGeometry()));
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void MainWindow::about()
{
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("about_box"));
    box.setWindowTitle(tr("About"));
    box.setIconPixmap(windowIcon().pixmap(48, 48));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<h3>%1</h3><p>%2</p><p>%3</p><p>%4</p>")
                    .arg(tr("Quorvane Phonebook Editor").toHtmlEscaped(),
                        tr("Version %1").arg(QStringLiteral(QUORVANE_VERSION)),
                        tr("Quorvane makes IP desk phones and video phones for offices of every size. This editor "
                           "keeps one phonebook for all of them: build it here, import what you already have, "
                           "and let every phone fetch its own copy over the network."),
                        tr("The editor is developed and maintained by the Quorvane software team. Questions, "
                           "suggestions and reports of problems are welcome through your Quorvane supplier.")));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainWindow::cleanUp()
{
    m_closed = true;
    WindowMemory::setGeometry(saveGeometry());
    // A refresh must not write into a store about to close.
    if (m_refresher)
        m_refresher->cancel();
    DataMgr *mgr = DataMgr::instance();
    // Stopped first: a running service could otherwise write HTTPD files again.
    mgr->stopHttpService();
    mgr->removeTemporaryFiles();
    mgr->closeStore();
    if (m_trayIcon)
        m_trayIcon->hide();
    if (m_httpdLog)
        m_httpdLog->hide();
    if (m_helpWindow)
        m_helpWindow->hide();
}

void MainWindow::closeWindow()
{
    if (m_closed)
        return;
    cleanUp();
    hide();
    deleteLater();
    QCoreApplication::quit();
}

void MainWindow::exitProgram()
{
    if (settleUnsavedEdits(true))
        closeWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (closesForSessionEnd(event)) {
        closeWindow();
        return;
    }
    exitProgram();
}

bool MainWindow::isOwnShortcut(const QKeyEvent *event) const
{
    const QKeySequence pressed(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (const QAction *action : findChildren<QAction *>()) {
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return true;
    }
    for (const QAbstractButton *button : findChildren<QAbstractButton *>()) {
        if (button->isEnabled() && !button->shortcut().isEmpty() && button->shortcut() == pressed)
            return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A line edit claims keys such as Ctrl+E ("end of line") before shortcuts see
    // them; in this window the menu's meaning wins.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (widget && widget->window() == this && !textFieldKeeps(widget, key) && isOwnShortcut(key)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showPlainMessage(const QString &title, const QString &text)
{
    showMessage(QMessageBox::NoIcon, title, text);
}

void MainWindow::showMessage(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
}

bool MainWindow::readOptionsAndSet()
{
    OptionFiles::Options options;
    if (!OptionFiles::readOptions(AppPaths::configDir() + QStringLiteral("options.xml"), &options))
        return false;
    // setChecked() does not emit triggered(), so restoreOptions() stays quiet here.
    m_autoStartAct->setChecked(options.autoStart);
    m_autoStartState = options.autoStart;
    m_recoveryDataAct->setChecked(options.recoveryData);
    if (options.recoveryData)
        openSavedPhonebook();
    m_autoHttpdAct->setChecked(options.autoHttpd);
    m_confirmDeleteAct->setChecked(options.confirmDelete);
    if (options.autoHttpd)
        toggleHttpService();
    return true;
}

void MainWindow::restoreOptions()
{
    OptionFiles::Options options;
    options.autoStart = m_autoStartAct->isChecked();
    options.recoveryData = m_recoveryDataAct->isChecked();
    options.autoHttpd = m_autoHttpdAct->isChecked();
    options.confirmDelete = m_confirmDeleteAct->isChecked();
    if (options.autoStart != m_autoStartState) {
        if (options.autoStart)
            AutoStart::enable(QCoreApplication::applicationFilePath());
        else
            AutoStart::disable();
        m_autoStartState = options.autoStart;
    }
    OptionFiles::writeOptions(AppPaths::configDir() + QStringLiteral("options.xml"), options);
    showPlainMessage(tr("Options change"), tr("Config's change will take effect after reboot."));
}

void MainWindow::restoreLanguageSetting()
{
    QAction *checked = m_languageGroup->checkedAction();
    if (!checked)
        return;
    const QString code = checked->objectName();
    if (code == m_currentLanguage)
        return;
    // The window changes language at once; the file keeps it for the next start.
    loadLanguage(code);
    const QString config = AppPaths::configDir() + QStringLiteral("config.xml");
    if (!OptionFiles::writeLanguage(config, code)) {
        showMessage(QMessageBox::Warning, tr("Language change"),
            tr("The language could not be kept for the next start: %1 could not be written.")
                .arg(QDir::toNativeSeparators(config)));
    }
}
