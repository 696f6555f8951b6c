#pragma once

#include "data/ContactInfo.h"
#include "data/Result.h"

#include <QList>

#include <functional>
#include <iterator>
#include <memory>

// The contacts a writer writes, in order: a list held in memory, or contacts read
// a slice at a time while the file is written, so that a phonebook of any size
// costs the memory of one slice. Read once, front to back.
class ExportContacts
{
public:
    // Replaces `slice` with the next contacts; an empty slice ends them. A failure
    // ends them too, and result() then gives it. Called on another thread while
    // the writer works on the slice before; the calls never overlap.
    using Reader = std::function<Result(QList<ContactInfo> &slice)>;

    // A list the caller keeps alive while the writer runs.
    ExportContacts(const QList<ContactInfo> &contacts);
    explicit ExportContacts(Reader reader);
    ~ExportContacts();
    ExportContacts(const ExportContacts &) = delete;
    ExportContacts &operator=(const ExportContacts &) = delete;

    class const_iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = ContactInfo;
        using difference_type = qsizetype;
        using pointer = const ContactInfo *;
        using reference = const ContactInfo &;

        const ContactInfo &operator*() const;
        const ContactInfo *operator->() const { return &**this; }
        const_iterator &operator++();
        bool operator==(const const_iterator &other) const { return m_at == other.m_at && m_index == other.m_index; }
        bool operator!=(const const_iterator &other) const { return !(*this == other); }

    private:
        friend class ExportContacts;
        struct State;
        const_iterator(State *at, qsizetype index)
            : m_at(at)
            , m_index(index)
        {
        }
        State *m_at = nullptr;
        qsizetype m_index = 0;
    };

    const_iterator begin() const;
    const_iterator end() const { return const_iterator(nullptr, 0); }

    // Why the reading stopped early; success when it did not.
    const Result &result() const;

private:
    std::unique_ptr<const_iterator::State> m_state;
};
