#include "widgets/GroupView.h"

#include "data/Notifier.h"
#include "manager/DataMgr.h"
#include "widgets/AddNewGroupDialog.h"
#include "widgets/GroupModel.h"
#include "widgets/ItemDelegate.h"

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSortFilterProxyModel>

namespace {

constexpr int kRowHeight = 36;

} // namespace

GroupView::GroupView(const QString &backgroundImage, QWidget *parent)
    : UniView(parent)
    , m_model(new GroupModel(this))
    , m_proxy(new QSortFilterProxyModel(this))
    , m_background(backgroundImage)
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    setModel(m_proxy);

    const int widths[] = { 10, 25, 115, 60, 5, 15 };
    // Narrow columns are narrower than the style's smallest section.
    horizontalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < GroupModel::ColumnCount; ++c)
        setColumnWidth(c, widths[c]);
    setColumnHidden(GroupModel::KeyColumn, true);
    // A wider panel gives the room to the names.
    setStretchColumns({ GroupModel::NameColumn }, 230);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->hide();
    setRowHeights(kRowHeight);
    setItemDelegate(new ItemDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked);

    QString scrollBars;
    QFile style(QStringLiteral(":/scrollBar.qss"));
    if (style.open(QIODevice::ReadOnly | QIODevice::Text))
        scrollBars = QString::fromUtf8(style.readAll());
    setStyleSheet(scrollBars
        + QStringLiteral("QTableView {color: black; font: 16px; selection-color: white;"
                         "selection-background-color: rgba(255, 255, 255, 0);"
                         "border-image: url(%1) 10pix;}")
              .arg(m_background));

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GroupView::changeScrollValue);
    // Queued: the model is reset there, which must not happen inside the editor's commit.
    connect(m_model, &GroupModel::dataStored, this, &GroupView::afterDelegate, Qt::QueuedConnection);
    connect(m_model, &GroupModel::groupRenamed, this, &GroupView::groupRenamed);
    connect(this, &UniView::rowPressed, this, &GroupView::onRowPressed);
    connect(this, &UniView::currentIndexChanged, this, &GroupView::onChangeIndex);
    connect(DataMgr::instance(), &DataMgr::updateModel, this, &GroupView::updateGroupModel);
    updateGroupModel();
}

int GroupView::sourceRow(int row) const
{
    return m_proxy->mapToSource(m_proxy->index(row, 0)).row();
}

void GroupView::markSelected(int row)
{
    m_model->setSelectedRow(row);
    viewport()->update();
}

void GroupView::onRowPressed(int row)
{
    markSelected(sourceRow(row));
}

void GroupView::onChangeIndex(const QModelIndex &, const QModelIndex &) { }

void GroupView::selectGroupRow(int row)
{
    if (row < 0 || row >= m_proxy->rowCount() || GroupModel::isAddRow(sourceRow(row)))
        row = 0;
    m_currentRow = row;
    selectRow(row);
    emit rowPressed(row);
    emit showOwnContacts(row, sourceRow(row));
}

void GroupView::mousePressEvent(QMouseEvent *event)
{
    emit clearSearchFocus();
    emit groupCheckDetail();
    finishEditing();
    const int row = rowAt(int(event->position().y()));
    if (row < 0 || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton))
        return;
    if (GroupModel::isAddRow(sourceRow(row))) {
        // The add-group row is a button, never the current group.
        if (event->button() == Qt::LeftButton)
            runAddGroupDialog();
        return;
    }
    m_currentRow = row;
    emit rowPressed(row);
    // Another group is asked for: a search typed before would hide its contacts.
    emit groupChosen();
    emit showOwnContacts(row, sourceRow(row));
    UniView::mousePressEvent(event);
}

void GroupView::runAddGroupDialog()
{
    const Phonebook &book = DataMgr::instance()->phonebook();
    QString name = tr("new") + QString::number(m_newNameCounter);
    while (book.groupNameTaken(name))
        name = tr("new") + QString::number(++m_newNameCounter);
    for (;;) {
        AddNewGroupDialog dialog(name, this);
        dialog.setObjectName(QStringLiteral("add_group_dialog"));
        if (dialog.exec() != QDialog::Accepted)
            return;
        name = dialog.groupName().trimmed();
        if (name.isEmpty())
            return;
        // Membership is by name: a second group of the same name would share members.
        if (!book.groupNameTaken(name))
            break;
        Notifier::current()->message(
            Notifier::NoIcon, DataMgr::tr("Group name"), DataMgr::tr("Group name cannot be repeated!"));
    }
    emit addGroup(name);
    ++m_newNameCounter;
}

bool GroupView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!ItemDelegate::isRenamable(index))
        return false;
    const bool opened = UniView::edit(index, trigger, event);
    if (opened) {
        m_editorOpen = true;
        m_editorRow = index.row();
    }
    return opened;
}

void GroupView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    m_editorOpen = false;
    UniView::closeEditor(editor, hint);
}

void GroupView::updateGroupModel()
{
    m_model->rebuild();
    setRowHeights(kRowHeight);
    m_currentRow = 0;
    selectRow(0);
    markSelected(sourceRow(0));
    emit showOwnContacts(0, sourceRow(0));
}

void GroupView::onContactSearch()
{
    m_currentRow = 0;
    selectRow(0);
    markSelected(sourceRow(0));
}

void GroupView::afterDelegate(int row)
{
    DataMgr *mgr = DataMgr::instance();
    mgr->setBusy(true);
    m_editorOpen = false;
    m_model->rebuild();
    mgr->setBusy(false);
    // The same group again, under its new name.
    selectGroupRow(row);
}

void GroupView::changeScrollValue(int)
{
    // The editor does not scroll with its row.
    finishEditing();
}

void GroupView::finishEditing()
{
    if (!m_editorOpen)
        return;
    m_editorOpen = false;
    if (QWidget *editor = indexWidget(m_proxy->index(m_editorRow, GroupModel::NameColumn))) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
