#include "export/ExportContacts.h"

#include <future>
#include <system_error>

struct ExportContacts::const_iterator::State {
    const QList<ContactInfo> *list = nullptr;
    QList<ContactInfo> slice;
    Reader reader;
    // The slice after this one, read on another thread while this one is written:
    // the reader's own work and the writer's then take about as long each.
    QList<ContactInfo> ahead;
    std::future<Result> reading;
    Result failure;
    bool begun = false;
    bool ended = false;

    void readAhead()
    {
        auto read = [this] { return reader(ahead); };
        try {
            reading = std::async(std::launch::async, read);
        } catch (const std::system_error &) {
            // No thread to be had: read when the slice is wanted.
            reading = std::async(std::launch::deferred, read);
        }
    }

    // Whether there is a slice to read from after this call.
    bool nextSlice()
    {
        if (!reader || ended)
            return false;
        if (!reading.valid())
            readAhead();
        failure = reading.get();
        if (!failure || ahead.isEmpty()) {
            ended = true;
            slice.clear();
            return false;
        }
        std::swap(slice, ahead);
        readAhead();
        return true;
    }
};

ExportContacts::ExportContacts(const QList<ContactInfo> &contacts)
    : m_state(std::make_unique<const_iterator::State>())
{
    m_state->list = &contacts;
}

ExportContacts::ExportContacts(Reader reader)
    : m_state(std::make_unique<const_iterator::State>())
{
    m_state->list = &m_state->slice;
    m_state->reader = std::move(reader);
}

ExportContacts::~ExportContacts() = default;

ExportContacts::const_iterator ExportContacts::begin() const
{
    const_iterator::State *state = m_state.get();
    // A reader's contacts are gone once read.
    Q_ASSERT(!state->reader || !state->begun);
    if (state->reader && (state->begun || !state->nextSlice())) {
        state->begun = true;
        return end();
    }
    state->begun = true;
    return state->list->isEmpty() ? end() : const_iterator(state, 0);
}

const ContactInfo &ExportContacts::const_iterator::operator*() const
{
    return m_at->list->at(m_index);
}

ExportContacts::const_iterator &ExportContacts::const_iterator::operator++()
{
    if (++m_index < m_at->list->size())
        return *this;
    if (m_at->nextSlice()) {
        m_index = 0;
        return *this;
    }
    *this = const_iterator(nullptr, 0);
    return *this;
}

const Result &ExportContacts::result() const
{
    return m_state->failure;
}
