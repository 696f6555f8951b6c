#pragma once

#include <QFileDialog>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTextEdit>

#include <functional>

#include "app/WindowMemory.h"
#include "data/ContactInfo.h"
#include "data/Result.h"
#include "widgets/HttpdLogWindow.h"
#include "widgets/UserGuide.h"

class AddressBookDialog;
class CardRefresher;
class ContactEditor;
class EditHistory;
class ContactView;
class ExportDialog;
class GroupView;
class ImportDialog;
struct ImportOptions;
class Phonebook;
class QKeyEvent;
class WebImport;
class PortDialog;
class PhoneCheckRunner;
class PhoneCheckView;
class PasswordStore;
class SearchEdit;
class SingleInstance;
class QAction;
class QActionGroup;
class QLabel;
class QPushButton;
class QSessionManager;
class QTimer;
class QTranslator;
class TrayIcon;

// The editor's one window: menus, the strip of command buttons, the group,
// contact and detail panels, the tray icon, the HTTPD request log and the
// overlay shown while long operations run. The program ends only through
// closeWindow().
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The program's icon in all its sizes, for every window and the tray.
    static QIcon programIcon();

    QString appDir() const { return m_appDir; }
    QString currentLanguage() const { return m_currentLanguage; }
    // No unsaved edits: the phonebook is as last saved or opened, and the detail
    // panel holds no uncommitted change.
    bool isSaved() const;
    void setSaved(bool saved);
    EditHistory *editHistory() const { return m_history; }
    bool autoStartState() const { return m_autoStartState; }

    // Covers the window while a long operation runs; pending non-input events
    // are handled once so that it is painted before the work starts.
    void showOperationOverlay();
    void hideOperationOverlay();

    HttpdLogWindow *httpdLog() const { return m_httpdLog; }
    QPushButton *httpdButton() const { return m_httpdButton; }
    UserGuide *helpWindow() const { return m_helpWindow; }
    TrayIcon *trayIcon() const { return m_trayIcon; }
    QMenu *trayMenu() const { return m_trayMenu; }
    GroupView *groupView() const { return m_groupView; }
    ContactView *contactView() const { return m_contactView; }
    SearchEdit *searchEdit() const { return m_searchEdit; }
    // The "Phones" window, once it has been opened.
    PhoneCheckView *phonesView() const;
    // The address books' refreshes, and their dialog while it is open.
    CardRefresher *cardRefresher() const { return m_refresher; }
    PasswordStore *passwordStore() const { return m_passwords; }
    AddressBookDialog *addressBookDialog() const;

    // The desktop session is about to end: with `mayAsk`, the user saves or drops
    // unsaved edits (the save question); otherwise they are kept in the recovery
    // copy. False when the user wants the session to go on.
    bool commitSession(bool mayAsk);

    // A later start of the program hands its message to `instance`: this window
    // then comes forward, out of the tray or the task bar.
    void answerLaterStarts(SingleInstance *instance);

    // The size the window opens at the first time, and the least it shrinks to.
    static QSize startSize() { return QSize(950, 609); }

public slots:
    bool createConnection();
    void loadZhLang();
    void loadEnLang();
    void toggleHttpService();
    void showServiceMessage(const QString &message);
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void recoverWindow();
    void showHelpInfo();
    void about();
    // File -> Exit, the tray's Exit and the close button: unsaved edits are offered
    // for saving first, then the program ends through closeWindow().
    void exitProgram();
    void closeWindow();

    bool readOptionsAndSet();
    void restoreOptions();
    void restoreLanguageSetting();

    void constructNewFile();
    // True when the history copy was written (isSaved is then set).
    bool saveFile();
    void showHistory();
    void showBackupWindow();

    void localImport();
    void openWebImport();
    void localExport();
    void openPortDialog();

    // The "Phones" window (MainWindowPhones.cpp): what each phone model gets.
    void showPhones();
    // The address books (MainWindowSources.cpp).
    void openAddressBooks();
    // Shows the contact in the contact list, leaving the search or the group
    // that hides it.
    void revealContact(int contactId);

    void showGroupMenu(const QPoint &pos);
    void showContactMenu(const QPoint &pos);
    void addNewGroup(const QString &name);
    void addNewContactToGroup();
    void showEmptyDetail();
    // Loads the saved phonebook from the store, as the Recovery Data option does at start.
    void openSavedPhonebook();
    void showContactDetail(int current, int previous);
    bool checkDetailValues();
    // Before the phonebook is written (save, backup, export): drops a blank shown
    // contact, or commits the shown contact's edits.
    void commitDetail();

    // The Edit menu (MainWindowEdit.cpp). Undo and redo commit the detail
    // panel's edits first, so that they are the step undone.
    void undo();
    void redo();
    // The Delete key: the ticked contacts in batch mode, else the current one.
    void deleteSelectedContacts();
    void focusSearch();
    // Batch mode (turned on when needed) with every shown contact ticked.
    void tickAllContacts();
    void tickNoContacts();
    void saveConfirmDeleteOption();

    void deleteCurrentGroup();
    void dissolveCurrentGroup();
    void removeContactsFromGroup();
    void deleteContacts();
    void moveContactsToGroup();
    void copyContactsToGroup();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Lets the window's menu and button keys through wherever the focus is.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool readLanguageConfig();
    // Installs the translation of `code` ("zh", "en") in place of the one in force.
    void loadLanguage(const QString &code);
    void createActions();
    void createMenus();
    void createToolStrip();
    void createGroupPanel();
    void createContactPanel();
    void createDetailPanel();
    void connectPanels();
    void applyStyleSheet();
    // The panels share out what the window has beyond its start size.
    void placePanels();
    // Every text of the window, its menus, panels and tray in the language now in force.
    void retranslateUi();
    // Opens where it was left last time, or centred at its start size.
    void restorePlacement();
    void createTrayIcon();
    void createOperationOverlay();
    void setHttpdButtonOpen(bool open);
    void stopHttpdService();
    void showPlainMessage(const QString &title, const QString &text);
    void showMessage(QMessageBox::Icon icon, const QString &title, const QString &text);
    void cleanUp();
    // Whether the key pressed is the shortcut of one of this window's actions or buttons.
    bool isOwnShortcut(const QKeyEvent *event) const;

    // Ending from outside and the recovery copy (MainWindowRecovery.cpp).
    void watchSessionEnd();
    void onTerminationSignal();
    // Ends through closeWindow() once no box, dialog or command is running.
    void endWhenIdle();
    // Writes the unsaved edits (the shown contact's included) into the recovery
    // copy; true when there were none or they were written.
    bool keepUnsavedEdits();
    void commitSessionData(QSessionManager &manager);
    bool closesForSessionEnd(const QCloseEvent *event) const;
    // At start: offers the recovery copy back, if there is one.
    void offerRecoveryCopy();
    // On the empty panel of an empty phonebook: the phonebook in the store, in one click.
    void addSavedPhonebookOffer(QWidget *content);

    // Address books (MainWindowSources.cpp): the refreshes, their line in the
    // status bar, and what they change in the window.
    void createRefresher();
    void showRefreshStatus(const QString &text, bool running);
    void takeRefreshedPhonebook();
    // The group and contact shown before a refresh, shown again after it.
    void restoreViewAfterRefresh();
    void reportRefreshFailure(const QString &name, const QString &message, bool asked);
    // The working phonebook is the stored one, loaded first when the editor
    // started empty beside it.
    Result prepareForRefresh();
    // Why the contact `id` cannot be edited here, or empty when it can: it came
    // from an address book.
    QString sourceNote(int id);
    // Of `rows` (positions in the contact list), those the user may delete;
    // `kept` receives the names of the address books of the others.
    QList<int> deletableRows(const QList<int> &rows, QStringList *kept);
    // Shows the current contact again, with what it may be edited in now.
    void reshowContact();

    // Detail editor.
    bool shownContactIsBlank() const;
    // Writes the detail rows into the contact they were taken from (found by id).
    void commitShownContact();

    // File commands and dialogs.
    void chooseImportFile();
    // Where `picker` opens: the folder it was last left in, else its own default.
    QString startFolder(WindowMemory::Picker picker) const;
    void importChosenFile();
    // The network import has downloaded `fileName` into the web folder.
    void importDownloadedFile(const ImportOptions &options);
    // Imports as `options` say while `dialog` is hidden; shows it again when the
    // import failed. True when the phonebook took the file.
    bool runImport(ImportOptions options, QWidget *dialog);
    void chooseExportFolder();
    void exportChosenFile();
    void savePortChoice();
    void checkPhones();
    void updatePhonesHeading();
    // Empties the phonebook, its lists, its temporary files and the store; false
    // (with the store's message shown) when the store could not be emptied.
    bool resetPhonebook();
    // The encoding to import `path` in: `chosen`, or for "auto" the one the file
    // itself shows; empty, after telling the user, when none can be told.
    QString importEncoding(const QString &path, const QString &chosen);
    // The toolkit's own file dialog with the labels of `labels` (look in, file
    // name, file type, accept, reject).
    QString runFileDialog(const QString &caption, const QString &folder, QFileDialog::FileMode mode,
        QFileDialog::AcceptMode accept, const QStringList &filters, const QStringList &labels,
        QString *chosenFolder = nullptr);

    // Undo, redo, the keys and the deletion notice (MainWindowEdit.cpp).
    void createEditActions();
    void createEditMenu();
    void updateEditActions();
    // Before undo and redo: commits the detail panel's edits (a step of their
    // own) or drops a blank contact. False when dropping it was the step undone.
    bool settleDetailForHistory(bool undoing);
    // The title's mark of unsaved edits.
    void updateModifiedMark();
    // The phonebook was replaced: its history goes, its unsaved state stays.
    void forgetHistory();
    // Keeps the change just made to the phonebook as the undo step `text`.
    void recordEdit(const QString &text);
    // True when the user wants `count` contacts (of the group `group`, when
    // given) deleted: asks only when deletions are to be confirmed.
    bool confirmDeletion(int count, const QString &group = QString());
    // "Deleted ... — Undo" in the status bar.
    void announceDeletion(const QString &what);
    // Whether the focused text field keeps `event` for itself (its own undo,
    // select all, delete) rather than letting the window's action have it.
    bool textFieldKeeps(const QWidget *focus, const QKeyEvent *event) const;
    // Group and contact commands.
    bool inBatchMode() const;
    // The common frame: commit, busy, the operation on the ticked contacts (batch
    // mode) or the current one and the current group's index, re-select the group,
    // unsaved.
    // `text` names the undo step for the number of contacts; `confirm` (for
    // deletions) may still call it off; `select` picks the contacts it may act
    // on. Returns the number acted on.
    int runContactCommand(const std::function<QString(int count)> &text,
        const std::function<void(Phonebook &, const QList<int> &contactRows, int groupIndex)> &operation,
        const std::function<bool(int count)> &confirm = nullptr,
        const std::function<QList<int>(const QList<int> &contactRows)> &select = nullptr);
    // Move or copy to the group named by the sending menu entry.
    void transferToGroup(bool move);
    void runGroupCommand(bool dissolve);
    // The save question of New and of closing: Save, the `discard` answer, or Cancel.
    enum SaveAnswer { SaveFirst, Discard, Cancelled };
    SaveAnswer askToSave(
        QMessageBox::Icon icon, const QString &title, const QString &text, const QString &discard, const QString &name);
    // Before unsaved edits would be lost (`exiting`: the program ends, otherwise the
    // phonebook is replaced): asks to save them. True when the caller may go on:
    // nothing unsaved, saved, or the user let them go.
    bool settleUnsavedEdits(bool exiting);

    QString m_appDir;
    QString m_currentLanguage;
    // False while the phonebook holds edits from before its history began (a
    // restored recovery copy, an unsaved phonebook replaced by a history copy).
    bool m_isSaved = true;
    bool m_autoStartState = false;
    bool m_closed = false;
    // What the end of the desktop session decided about unsaved edits.
    enum class SessionEnd { None, EditsKept, DropEdits };
    SessionEnd m_sessionEnd = SessionEnd::None;
    // -1 until a signal asks the program to end; then how often the end waited.
    int m_endAttempts = -1;

    QTranslator *m_appTranslator = nullptr;
    QTranslator *m_qtTranslator = nullptr;

    QWidget *m_centralWidget = nullptr;
    // Windows of their own: QApplication may delete them before this window at exit.
    QPointer<HttpdLogWindow> m_httpdLog;

    QAction *m_newAct = nullptr;
    QAction *m_saveAct = nullptr;
    QAction *m_historyAct = nullptr;
    QAction *m_exitAct = nullptr;
    QAction *m_localImportAct = nullptr;
    QAction *m_webImportAct = nullptr;
    QAction *m_localExportAct = nullptr;
    QAction *m_phonesAct = nullptr;
    QAction *m_addressBooksAct = nullptr;
    QAction *m_zhAct = nullptr;
    QAction *m_enAct = nullptr;
    QActionGroup *m_languageGroup = nullptr;
    QAction *m_autoStartAct = nullptr;
    QAction *m_recoveryDataAct = nullptr;
    QAction *m_autoHttpdAct = nullptr;
    QAction *m_httpdPortAct = nullptr;
    QAction *m_undoAct = nullptr;
    QAction *m_redoAct = nullptr;
    QAction *m_deleteAct = nullptr;
    QAction *m_findAct = nullptr;
    QAction *m_selectAllAct = nullptr;
    QAction *m_selectNoneAct = nullptr;
    QAction *m_confirmDeleteAct = nullptr;
    QAction *m_helpAct = nullptr;
    QAction *m_aboutAct = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_importMenu = nullptr;
    QMenu *m_exportMenu = nullptr;
    QMenu *m_languageMenu = nullptr;
    QMenu *m_optionsMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMenu *m_aboutMenu = nullptr;

    QWidget *m_toolStrip = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_historyButton = nullptr;
    QPushButton *m_backupButton = nullptr;
    QPushButton *m_httpdButton = nullptr;
    QPushButton *m_phonesButton = nullptr;
    // The HTTPD button offers to open the service (it is not running).
    bool m_httpdShowsOpen = true;

    QWidget *m_groupPanel = nullptr;
    QLabel *m_groupTitleLabel = nullptr;
    QWidget *m_contactPanel = nullptr;
    QLabel *m_contactTitleLabel = nullptr;
    QPushButton *m_batchButton = nullptr;
    QLabel *m_searchLabel = nullptr;
    QPushButton *m_addContactButton = nullptr;
    GroupView *m_groupView = nullptr;
    ContactView *m_contactView = nullptr;
    SearchEdit *m_searchEdit = nullptr;
    ContactEditor *m_contactEditor = nullptr;

    // The dialogs of the import, export and port commands while they are open.
    QPointer<ImportDialog> m_importDialog;
    QPointer<ExportDialog> m_exportDialog;
    QPointer<PortDialog> m_portDialog;
    QPointer<WebImport> m_webImport;
    QPointer<PhoneCheckView> m_phonesView;
    QPointer<AddressBookDialog> m_addressBookDialog;
    PasswordStore *m_passwords = nullptr;
    CardRefresher *m_refresher = nullptr;
    QLabel *m_refreshStatus = nullptr;
    QPushButton *m_refreshCancel = nullptr;
    QString m_groupBeforeRefresh;
    int m_contactBeforeRefresh = -1;
    PhoneCheckRunner *m_phonesRunner = nullptr;
    // Gathers a run of phonebook changes into one check.
    QTimer *m_phonesTimer = nullptr;
    // What the file dialogs remember between commands.
    QString m_importPath;
    QString m_exportFolder;

    EditHistory *m_history = nullptr;
    QLabel *m_deletionNotice = nullptr;

    QPointer<QMenu> m_groupMenu;
    QPointer<QMenu> m_contactMenu;

    QPointer<QMenu> m_trayMenu;
    QAction *m_restoreAct = nullptr;
    QAction *m_trayExitAct = nullptr;
    TrayIcon *m_trayIcon = nullptr;

    QPointer<QWidget> m_overlay;
    QPointer<UserGuide> m_helpWindow;
};
