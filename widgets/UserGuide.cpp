#include "widgets/UserGuide.h"

#include "manager/DataMgr.h"
#include "widgets/UserGuideControl.h"
#include "widgets/UserGuideWidget.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int kPageWidth = 698;
constexpr int kPageHeight = 480;

const char *const kTitles[] = {
    QT_TRANSLATE_NOOP("UserGuide", "Create new phonebook"),
    QT_TRANSLATE_NOOP("UserGuide", "Import an exist phonebook"),
    QT_TRANSLATE_NOOP("UserGuide", "Save current phonebook"),
    QT_TRANSLATE_NOOP("UserGuide", "Export current phonebook"),
    QT_TRANSLATE_NOOP("UserGuide", "Managing contacts"),
    QT_TRANSLATE_NOOP("UserGuide", "Managing groups"),
    QT_TRANSLATE_NOOP("UserGuide", "View history"),
    QT_TRANSLATE_NOOP("UserGuide", "Make backup for current phonebook"),
    QT_TRANSLATE_NOOP("UserGuide", "Language Option"),
    QT_TRANSLATE_NOOP("UserGuide", "Other config options"),
};

const char *const kTexts[] = {
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose File > New (Ctrl+N) or the New button to start an empty phonebook that holds only "
        "the groups Default and Blacklist. When the phonebook in the window has changes that are "
        "not saved yet, you are asked first whether to save them, to drop them or to cancel."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose Import > Local Import (Ctrl+I) or the Import button to read contacts from an XML, "
        "CSV or vCard file. Pick the file and its text encoding, choose whether the list is emptied "
        "first and whether contacts with the same name replace the ones you have, then press OK. "
        "Import > Network Import (Ctrl+W) fetches a phonebook file from an http or https address "
        "and imports it the same way."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose File > Save (Ctrl+S) or the Save file button. The phonebook is kept in the "
        "program's database, a copy named with the current date and time is written to the target "
        "folder, and the files that the built-in HTTPD server hands to the phones are renewed. "
        "Closing the window with unsaved changes asks whether to save them."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose Export > Local Export (Ctrl+E) or the Export button to write the phonebook for "
        "another program or phone: vCard, the general XML layout, the XML and CSV layouts of the "
        "Alder, Birch, Cedar and Brenn phones, or the CSV layouts of Outlook, Outlook Express and "
        "Google Gmail. Choose the format, the text encoding, a name and a folder, then press OK. "
        "An existing file is only replaced after you confirm it."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Select a group on the left to list its contacts in the middle; the panel on the right "
        "shows the selected contact for editing: names, department, phone numbers with their types "
        "and accounts, and e-mail addresses. Add new contact (Ctrl+G) creates a contact in the "
        "selected group. Right-click a contact to delete it, to remove it from the group or to move "
        "or copy it to another group; Batch (Ctrl+M) lets you tick several contacts and act on all "
        "of them at once. Type in the search line to find contacts by name or by pinyin initials."),
    QT_TRANSLATE_NOOP("UserGuide",
        "The group list starts with All, Default and Blacklist. Click Add group to create a group: "
        "a free name is proposed, which you can change before you press Add. Double-click the name "
        "of a group you made to rename it; every name must be unique. Right-click a group to delete "
        "it or to dissolve it; both empty the group, and deleting also removes it from the list. "
        "The contacts themselves stay in the phonebook."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose File > History (Ctrl+R) or the History button to go back to a phonebook saved "
        "earlier. Every save leaves a copy in the target folder, named with its date and time; the "
        "copy you open replaces the phonebook in the window. Save your work before you open a copy: "
        "changes that are not saved are lost."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Press the Backup button (Ctrl+B) to write the whole phonebook to a file of your choice, by "
        "default in the backup folder. A backup is always written in the general XML layout, which "
        "Local Import and History read back."),
    QT_TRANSLATE_NOOP("UserGuide",
        "Choose Language > 简体中文 or Language > English to change the language of "
        "the program. The choice is kept in the file language/config.xml and takes effect the next "
        "time the program starts. Without that file the program follows the language of the "
        "system."),
    QT_TRANSLATE_NOOP("UserGuide",
        "The Options menu holds three switches that take effect at the next start: Auto Start "
        "starts the editor when you log on, Recovery Data reopens the phonebook you worked on last, "
        "and Auto Httpd starts the HTTPD server at once. Configure Httpd Port chooses the server's "
        "port: 80, or one from 5000 to 65535. The Open HTTPD button starts and stops the server, "
        "from which every phone fetches the phonebook in its own layout, and shows the phones' "
        "requests."),
};

constexpr int kTopicCount = int(sizeof(kTitles) / sizeof(kTitles[0]));
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == sizeof(kTitles) / sizeof(kTitles[0]), "one paragraph per topic");

QString arrowStyle(const QString &name)
{
    return QStringLiteral("QPushButton {border-image: url(:/UserGuide/%1_unpressed.png); border: none;}"
                          "QPushButton:pressed {border-image: url(:/UserGuide/%1_pressed.png);}"
                          "QPushButton:disabled {border-image: url(:/UserGuide/%1_disable.png);}")
        .arg(name);
}

} // namespace

UserGuide::UserGuide(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("user_guide"));
    setFixedSize(800, 480);
    setWindowTitle(tr("Quorvane Phonebook Editor Help"));
    setWindowIcon(QIcon(QStringLiteral(":/UserGuide/UserGuide.png")));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("QWidget#user_guide {background-color: #22272e;}"));
    // The keys that turn pages come here, not to a page's scroll area.
    setFocusPolicy(Qt::StrongFocus);

    m_pageArea = new QWidget(this);
    m_pageArea->setObjectName(QStringLiteral("guide_page_area"));
    m_pageArea->setGeometry(0, 0, kPageWidth, kPageHeight);

    auto *panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("guide_right_panel"));
    panel->setGeometry(kPageWidth, 0, 102, kPageHeight);
    panel->setPixmap(QPixmap(QStringLiteral(":/UserGuide/right_BG.jpg")));
    panel->setScaledContents(true);

    m_upArrow = new QPushButton(this);
    m_upArrow->setObjectName(QStringLiteral("guide_up_arrow"));
    m_upArrow->setGeometry(725, 100, 48, 48);
    m_upArrow->setFocusPolicy(Qt::NoFocus);
    m_upArrow->setStyleSheet(arrowStyle(QStringLiteral("arrow_up")));
    connect(m_upArrow, &QPushButton::released, this, &UserGuide::leftPressed);

    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("guide_page_counter"));
    m_counter->setGeometry(735, 210, 48, 50);
    m_counter->setStyleSheet(QStringLiteral("background : transparent;font-size : 18px;color : white;"));

    m_downArrow = new QPushButton(this);
    m_downArrow->setObjectName(QStringLiteral("guide_down_arrow"));
    m_downArrow->setGeometry(725, 335, 48, 48);
    m_downArrow->setFocusPolicy(Qt::NoFocus);
    m_downArrow->setStyleSheet(arrowStyle(QStringLiteral("arrow_down")));
    connect(m_downArrow, &QPushButton::released, this, &UserGuide::rightPressed);

    m_control = new UserGuideControl(this);
    connect(m_control, &UserGuideControl::finished, this, [this] {
        if (m_retranslatePending)
            retranslate();
    });

    loadPages();
    updateControls();
}

QStringList UserGuide::topicTitles()
{
    QStringList titles;
    for (const char *t : kTitles)
        titles << QString::fromUtf8(t);
    return titles;
}

QStringList UserGuide::topicTexts()
{
    QStringList texts;
    for (const char *t : kTexts)
        texts << QString::fromUtf8(t);
    return texts;
}

QString UserGuide::pictureFolder(const QString &language)
{
    return language == QLatin1String("zh") ? QStringLiteral(":/UserGuide/chinese/") : QStringLiteral(":/UserGuide/");
}

bool UserGuide::isTurning() const
{
    return m_control->isRunning();
}

void UserGuide::loadPages()
{
    QFile file(QStringLiteral(":/UserGuide/userguide.xml"));
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return;
    const QDomElement root = doc.documentElement();
    if (root.tagName() != QLatin1String("root"))
        return;
    const QString folder = pictureFolder(DataMgr::instance()->language());
    for (QDomElement item = root.firstChildElement(QStringLiteral("item")); !item.isNull();
         item = item.nextSiblingElement(QStringLiteral("item"))) {
        bool ok = false;
        const int topic = item.attribute(QStringLiteral("text")).toInt(&ok) - 1;
        if (!ok || topic < 0 || topic >= kTopicCount)
            continue;
        auto *page = new UserGuideWidget(folder + item.attribute(QStringLiteral("pic")),
            QCoreApplication::translate("UserGuide", kTitles[topic]),
            QCoreApplication::translate("UserGuide", kTexts[topic]), m_pageArea);
        page->setObjectName(QStringLiteral("guide_page_%1").arg(m_pages.size() + 1));
        page->move(0, 0);
        page->setVisible(m_pages.isEmpty());
        page->setFocusPolicy(Qt::NoFocus);
        page->viewport()->installEventFilter(this);
        m_pages.append(page);
    }
}

void UserGuide::leftPressed()
{
    if (m_current > 0)
        turnTo(m_current - 1);
}

void UserGuide::rightPressed()
{
    if (m_current + 1 < m_pages.size())
        turnTo(m_current + 1);
}

void UserGuide::turnTo(int index)
{
    if (!m_control->turn(m_pages[m_current], m_pages[index], index > m_current, kPageHeight))
        return;
    m_current = index;
    updateControls();
}

void UserGuide::updateControls()
{
    m_counter->setText(QStringLiteral("%1/%2").arg(m_pages.isEmpty() ? 0 : m_current + 1).arg(m_pages.size()));
    m_upArrow->setEnabled(m_current > 0);
    m_downArrow->setEnabled(m_current + 1 < m_pages.size());
}

void UserGuide::closeEvent(QCloseEvent *event)
{
    emit closeClicked();
    QWidget::closeEvent(event);
}

void UserGuide::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        leftPressed();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        rightPressed();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool UserGuide::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        for (UserGuideWidget *page : std::as_const(m_pages)) {
            if (page->viewport() == watched)
                return turnByWheel(page, static_cast<QWheelEvent *>(event));
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool UserGuide::turnByWheel(UserGuideWidget *page, QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return false;
    const QScrollBar *bar = page->verticalScrollBar();
    const bool canScroll = delta < 0 ? bar->value() < bar->maximum() : bar->value() > bar->minimum();
    if (canScroll) {
        m_wheelDelta = 0;
        return false;
    }
    if ((m_wheelDelta < 0) != (delta < 0))
        m_wheelDelta = 0;
    m_wheelDelta += delta;
    if (m_wheelDelta >= QWheelEvent::DefaultDeltasPerStep) {
        m_wheelDelta = 0;
        leftPressed();
    } else if (m_wheelDelta <= -QWheelEvent::DefaultDeltasPerStep) {
        m_wheelDelta = 0;
        rightPressed();
    }
    event->accept();
    return true;
}

void UserGuide::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void UserGuide::retranslate()
{
    setWindowTitle(tr("Quorvane Phonebook Editor Help"));
    if (isTurning()) {
        m_retranslatePending = true;
        return;
    }
    m_retranslatePending = false;
    qDeleteAll(m_pages);
    m_pages.clear();
    loadPages();
    m_current = qBound(0, m_current, qMax(0, int(m_pages.size()) - 1));
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(i == m_current);
    updateControls();
}
