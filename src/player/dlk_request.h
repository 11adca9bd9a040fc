#pragma once
// A transfer request: one step of a transfer job that every player's worker
// carries out in order. The kinds are fixed numbers; each kind is a class
// derived from CDlkRequest that can make an empty request of its own class,
// copy another of its class and free itself.

#include <QtGlobal>

#include <new>

enum DlkRequestKind : int {
    DLK_REQUEST_COMMAND = 1,     // a list of player commands
    DLK_REQUEST_CONFIG = 2,      // the player's setup file
    DLK_REQUEST_REMOTE_LIST = 3, // fetch the player's lists
    DLK_REQUEST_LOG = 4,         // fetch the player's log
    DLK_REQUEST_SEND = 5,        // register contents
    DLK_REQUEST_UPDATE = 6,      // firmware update
    DLK_REQUEST_STATUS = 7,      // fetch the player's status
};

class CDlkRequest {
public:
    virtual ~CDlkRequest();

    int GetKind() const { return m_kind; }
    quint32 GetLastError() const { return m_lastError; }

    // A new, empty request of the same class; null without memory.
    virtual CDlkRequest *Create() const = 0;
    // Copies another request of the same class into this one. The base part
    // copies the kind; a null request fails with 87, the request itself with
    // 1359.
    virtual bool CopyFrom(const CDlkRequest *other);
    // Destroys and frees the request; the base only sets 1359.
    virtual void Release();

protected:
    explicit CDlkRequest(int kind);
    CDlkRequest(const CDlkRequest &) = default;
    CDlkRequest &operator=(const CDlkRequest &) = default;

    // Sets the last error and returns false.
    bool fail(quint32 error);
    void clearError() { m_lastError = 0; }

private:
    int m_kind;
    quint32 m_lastError = 0;
};

// Create, CopyFrom and Release of a request class whose members copy by
// assignment.
template <class Derived, int Kind>
class CDlkRequestOf : public CDlkRequest {
public:
    CDlkRequest *Create() const override { return new (std::nothrow) Derived; }

    bool CopyFrom(const CDlkRequest *other) override
    {
        if (other && other != this && !dynamic_cast<const Derived *>(other))
            return fail(87);
        if (!CDlkRequest::CopyFrom(other))
            return false;
        static_cast<Derived &>(*this) = static_cast<const Derived &>(*other);
        clearError();
        return true;
    }

    void Release() override { delete static_cast<Derived *>(this); }

protected:
    CDlkRequestOf()
        : CDlkRequest(Kind)
    {
    }
    CDlkRequestOf(const CDlkRequestOf &) = default;
    CDlkRequestOf &operator=(const CDlkRequestOf &) = default;
};
