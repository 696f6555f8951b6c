#pragma once

#include "widgets/UniView.h"

class ContactModel;
class QLabel;
class QPushButton;
class SearchEdit;

// The contacts of the selected group, ordered by their pinyin key and filtered
// by the search line. The current row is the contact the detail editor shows;
// changeContact(new, old) tells the window to commit the old one and show the
// new one, with positions in the data manager's contact list (-1 for none).
class ContactView : public UniView
{
    Q_OBJECT
public:
    ContactView(const QString &backgroundImage, QLabel *title, QPushButton *batchButton, SearchEdit *search,
        QPushButton *addButton, QWidget *parent = nullptr);

    ContactModel *contactModel() const { return m_model; }
    SearchEdit *searchEdit() const { return m_search; }
    // Position of the current contact in the contact list, or -1.
    int currentContact() const;
    bool isBatchMode() const;
    // Whether the list shows the matches of a typed search.
    bool isSearching() const { return !searchText().isEmpty(); }
    // Back to the search line's hint and the group's whole list.
    void clearSearch();
    // Makes the contact at `position` current (if this list shows it); true when it does.
    bool selectContact(int position);
    // Commits the shown contact without moving: changeContact(-1, current).
    void commitCurrent();
    // The detail editor changed the contact at `position`: its row is put in order.
    void contactEdited(int position);

signals:
    void showNobodyPreview();
    void addNewContactByGroup();
    void onSearchState();
    void changeContact(int current, int previous);
    void checkDetailValue();

public slots:
    void onSearchTextChanged(const QString &text);
    void changeBatchState();
    void addNewContact();
    void showGroupContacts(int row, int sourceRow);
    void onContactChanged(const QModelIndex &current, const QModelIndex &previous);
    void updateContactModel();
    void onRowPressed(int row);
    void onArrowStateChange(int row);
    void changeScrollValue(int value);
    void clearSearchEditFocus();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // The caption and the Batch button in the language now in force.
    void changeEvent(QEvent *event) override;

private:
    // Shows the rows of the group `m_groupRow` with the current search, commits first.
    void showRows();
    void selectFirstOrPreview();
    void setCaption(int groupRow);
    QString searchText() const;
    QString styleFor(bool batch) const;

    ContactModel *m_model;
    QLabel *m_title;
    QPushButton *m_batchButton;
    SearchEdit *m_search;
    QPushButton *m_addButton;
    QString m_background;
    QString m_scrollBarStyle;
    int m_groupRow = 0;
    // The data manager's revision the rows were last taken at.
    quint64 m_shownRevision = ~quint64(0);
    int m_currentPosition = -1;
    int m_pressedRow = -1;
    int m_pressOffset = 0;
    bool m_fromPress = false;
    bool m_resorting = false;
};
