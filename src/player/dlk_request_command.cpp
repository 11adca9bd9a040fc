#include "player/dlk_request_command.h"

#include "core/last_error.h"

CDlkRequestCommand::CDlkRequestCommand(const CDlkRequestCommand &other)
    : CDlkRequestOf(other)
    , m_entries(cloneEntries(other.m_entries))
{
}

CDlkRequestCommand &CDlkRequestCommand::operator=(const CDlkRequestCommand &other)
{
    if (this != &other) {
        std::vector<Entry> entries = cloneEntries(other.m_entries);
        CDlkRequestOf::operator=(other);
        m_entries = std::move(entries);
    }
    return *this;
}

std::vector<CDlkRequestCommand::Entry> CDlkRequestCommand::cloneEntries(const std::vector<Entry> &entries)
{
    std::vector<Entry> copies;
    copies.reserve(entries.size());
    for (const Entry &entry : entries)
        copies.push_back({entry.command->Clone(), entry.entryIndex});
    return copies;
}

bool CDlkRequestCommand::Add(const CR40Request *command, int entryIndex)
{
    if (!command)
        return fail(ERROR_INVALID_PARAMETER);
    try {
        m_entries.push_back({command->Clone(), entryIndex});
    } catch (const std::bad_alloc &) {
        return fail(ERROR_OUTOFMEMORY);
    }
    return true;
}

CR40Request *CDlkRequestCommand::GetCommand(int i) const
{
    return i >= 0 && i < GetCount() ? m_entries[size_t(i)].command.get() : nullptr;
}

int CDlkRequestCommand::GetEntryIndex(int i) const
{
    return i >= 0 && i < GetCount() ? m_entries[size_t(i)].entryIndex : -1;
}
