#pragma once

#include <QWidget>

class PhoneFetchModel;
class PhoneFetches;
class QTableView;
class QTextEdit;

// The service's window: the request log, and beside it the phones that fetched
// from the service with what each got.
class HttpdLogWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HttpdLogWindow(QWidget *parent = nullptr);

    QTextEdit *log() const { return m_log; }
    QTableView *phonesView() const { return m_phones; }
    PhoneFetchModel *phonesModel() const { return m_model; }

    // The phones of the running service; null when it stops.
    void setFetches(PhoneFetches *fetches);

protected:
    void changeEvent(QEvent *event) override;

private:
    QTextEdit *m_log = nullptr;
    QTableView *m_phones = nullptr;
    PhoneFetchModel *m_model = nullptr;
};
