#include "widgets/ContactView.h"

#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactDelegate.h"
#include "widgets/ContactModel.h"
#include "widgets/GroupModel.h"
#include "widgets/SearchEdit.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int kRowHeight = 45;

} // namespace

ContactView::ContactView(const QString &backgroundImage, QLabel *title, QPushButton *batchButton, SearchEdit *search,
    QPushButton *addButton, QWidget *parent)
    : UniView(parent)
    , m_model(new ContactModel(this))
    , m_title(title)
    , m_batchButton(batchButton)
    , m_search(search)
    , m_addButton(addButton)
    , m_background(backgroundImage)
{
    setModel(m_model);
    const int widths[] = { 30, 25, 85, 75, 30, 10, 5, 30 };
    // Narrow columns are narrower than the style's smallest section.
    horizontalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < ContactModel::ColumnCount; ++c)
        setColumnWidth(c, widths[c]);
    setColumnHidden(ContactModel::KeyColumn, true);
    // A wider panel gives the room to names and numbers.
    setStretchColumns({ ContactModel::NameColumn, ContactModel::NumberColumn }, 280);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click gives it the keys (Delete, select all, the arrows).
    setFocusPolicy(Qt::ClickFocus);
    setItemDelegate(new ContactDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->hide();
    setRowHeights(kRowHeight);

    QFile style(QStringLiteral(":/scrollBar.qss"));
    if (style.open(QIODevice::ReadOnly | QIODevice::Text))
        m_scrollBarStyle = QString::fromUtf8(style.readAll());
    setStyleSheet(styleFor(false));

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ContactView::changeScrollValue);
    connect(this, &UniView::rowPressed, this, &ContactView::onRowPressed);
    connect(this, &UniView::currentIndexChanged, this, &ContactView::onContactChanged);
    connect(DataMgr::instance(), &DataMgr::updateModel, this, &ContactView::updateContactModel);
    if (m_search)
        connect(m_search, &QLineEdit::textChanged, this, &ContactView::onSearchTextChanged);
    if (m_batchButton)
        connect(m_batchButton, &QPushButton::released, this, &ContactView::changeBatchState);
    if (m_addButton)
        connect(m_addButton, &QPushButton::released, this, &ContactView::addNewContact);
}

QString ContactView::styleFor(bool batch) const
{
    const QString rule = batch ? QStringLiteral("QTableView {color: black; font: 16px; selection-color: black;"
                                                "selection-background-color: rgba(255, 255, 255, 0);"
                                                "border-image: url(%1) 10pix;}")
                               : QStringLiteral("QTableView {color: black; font: 16px;"
                                                "selection-background-color: rgba(255, 255, 255, 0);"
                                                "border-image: url(%1) 10pix;}");
    return m_scrollBarStyle + rule.arg(m_background);
}

int ContactView::currentContact() const
{
    return m_currentPosition;
}

bool ContactView::isBatchMode() const
{
    return m_model->isBatch();
}

QString ContactView::searchText() const
{
    return m_search && m_search->isActive() ? m_search->text().trimmed() : QString();
}

void ContactView::setCaption(int groupRow)
{
    if (!m_title)
        return;
    const QString name = GroupModel::rowName(groupRow);
    const QString spaces(4, QLatin1Char(' '));
    m_title->setText(spaces + Records::elide12(Records::groupDisplayName(name)) + spaces);
}

void ContactView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        setCaption(m_groupRow);
        if (m_batchButton) {
            m_batchButton->setText(isBatchMode() ? tr("Cancel Batch") : tr("Batch"));
            m_batchButton->setShortcut(QKeySequence(QStringLiteral("CTRL+M")));
        }
    }
    UniView::changeEvent(event);
}

void ContactView::commitCurrent()
{
    if (m_currentPosition >= 0)
        emit changeContact(-1, m_currentPosition);
}

void ContactView::showRows()
{
    // Edits of the shown contact are kept before its row goes away.
    commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    const int group = GroupModel::groupIndex(m_groupRow);
    const bool all = group < 0;
    m_model->show(all ? QList<int>() : mgr->phonebook().memberRows(group), all, searchText());
    m_shownRevision = mgr->revision();
    m_currentPosition = -1;
    selectFirstOrPreview();
}

void ContactView::selectFirstOrPreview()
{
    if (m_model->rowCount() > 0) {
        selectRow(0);
        scrollToTop();
    } else {
        emit showNobodyPreview();
    }
}

void ContactView::showGroupContacts(int, int sourceRow)
{
    m_groupRow = sourceRow;
    setCaption(sourceRow);
    showRows();
}

void ContactView::updateContactModel()
{
    // The group list goes back to "All" on the same signal; when it has already
    // asked for the new lists, they are shown.
    if (m_shownRevision == DataMgr::instance()->revision() && m_groupRow == 0)
        return;
    m_groupRow = 0;
    setCaption(0);
    setRowHeights(kRowHeight);
    showRows();
}

void ContactView::onSearchTextChanged(const QString &)
{
    if (!m_search || !m_search->isActive())
        return;
    // A search looks through every contact.
    emit onSearchState();
    m_groupRow = 0;
    setCaption(0);
    showRows();
    scrollToTop();
    m_search->setFocus();
}

void ContactView::mousePressEvent(QMouseEvent *event)
{
    const int y = int(event->position().y());
    DataMgr *mgr = DataMgr::instance();
    const int pressedPosition = m_model->position(rowAt(y));
    const int pressedId = pressedPosition >= 0 ? mgr->phonebook().contacts().value(pressedPosition).id : -1;
    const quint64 revision = mgr->revision();
    emit checkDetailValue();
    if (mgr->revision() != revision) {
        // A blank contact was removed and the rows moved under the cursor: the
        // press goes to the contact that was pressed, wherever it is now, and
        // does there what any press does (the tick in batch mode included). The
        // rebuilt list has its first row selected; only the pressed one stays.
        clearSearchEditFocus();
        const int row = m_model->rowOf(mgr->phonebook().indexOfContact(pressedId));
        if (row < 0)
            return;
        const QModelIndex index = m_model->index(row, 0);
        scrollTo(index);
        if (event->button() == Qt::LeftButton)
            emit rowPressed(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    const int row = rowAt(y);
    clearSearchEditFocus();
    if (row < 0)
        return;
    m_pressedRow = row;
    m_pressOffset = y - rowViewportPosition(row);
    // Only the left button ticks a row in batch mode; the right one opens the menu
    // for the rows already ticked.
    if (event->button() == Qt::LeftButton)
        emit rowPressed(row);
    m_fromPress = true;
    UniView::mousePressEvent(event);
    m_fromPress = false;
}

void ContactView::onRowPressed(int row)
{
    const int pos = m_model->position(row);
    if (pos < 0 || pos >= DataMgr::instance()->phonebook().contacts().size())
        return;
    if (m_model->isBatch())
        m_model->toggleTick(pos);
    onArrowStateChange(row);
}

void ContactView::onArrowStateChange(int row)
{
    m_model->setArrow(m_model->position(row));
    m_model->refreshDecorations();
}

void ContactView::onContactChanged(const QModelIndex &current, const QModelIndex &)
{
    const int previous = m_currentPosition;
    m_currentPosition = current.isValid() ? m_model->position(current.row()) : -1;
    if (current.isValid())
        onArrowStateChange(current.row());
    emit changeContact(m_currentPosition, previous);
}

bool ContactView::selectContact(int position)
{
    const int row = m_model->rowOf(position);
    if (row < 0)
        return false;
    selectRow(row);
    scrollTo(m_model->index(row, 0));
    return true;
}

void ContactView::contactEdited(int position)
{
    // After the current change that committed it has been handled.
    QMetaObject::invokeMethod(
        this, [this, position] { m_model->contactEdited(position); }, Qt::QueuedConnection);
}

void ContactView::changeBatchState()
{
    if (!m_batchButton)
        return;
    if (!isBatchMode()) {
        m_batchButton->setText(tr("Cancel Batch"));
        m_batchButton->setShortcut(QKeySequence(QStringLiteral("CTRL+M")));
        setSelectionMode(QAbstractItemView::MultiSelection);
        setStyleSheet(styleFor(true));
        m_model->setBatch(true);
    } else {
        m_batchButton->setText(tr("Batch"));
        m_batchButton->setShortcut(QKeySequence(QStringLiteral("CTRL+M")));
        // Every tick goes, also those of contacts of other groups: a later batch
        // command must never act on contacts the user cannot see.
        m_model->clearTicks();
        setSelectionMode(QAbstractItemView::SingleSelection);
        if (m_currentPosition >= 0)
            selectContact(m_currentPosition);
        setStyleSheet(styleFor(false));
        m_model->setBatch(false);
    }
}

void ContactView::addNewContact()
{
    if (m_search && m_search->isActive() && !m_search->text().isEmpty()) {
        m_search->clear();
        m_search->deactivate();
        m_search->clearFocus();
    }
    clearSelection();
    emit addNewContactByGroup();
}

void ContactView::clearSearch()
{
    if (!m_search || !m_search->isActive())
        return;
    m_search->clearFocus();
    m_search->deactivate();
}

void ContactView::changeScrollValue(int)
{
    // A press remembered before scrolling points at another row now.
    m_pressedRow = -1;
}

void ContactView::clearSearchEditFocus()
{
    if (m_search && m_search->hasFocus())
        m_search->clearFocus();
}
