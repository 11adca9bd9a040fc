#pragma once
// The base of the application data documents (players, groups, displays,
// setups, display filters): a missing file loads as an empty document, and a
// file that does not parse or holds a refused value fails with error 13 and
// leaves the document as it was. Subclasses read into a pending copy, which
// replaces the document only when the whole file was read.

#include "core/xml_document.h"

class CModelXmlDocument : public CXmlDocument {
public:
    // Reads path; see above.
    bool Load(const QString &path);

protected:
    // Starts a pending copy of the document.
    virtual void beginLoad() = 0;
    // Makes the pending copy the document.
    virtual void commitLoad() = 0;
    // A handler found a value it refuses; the load will fail with 13.
    void refuseValue() { m_refused = true; }

private:
    bool m_refused = false;
};

// "1" or "0".
QString BoolText(bool value);
// "1" or "0" into value; false for any other text.
bool ParseBool(const QString &text, bool &value);
// A decimal 32-bit number in [minimum, maximum].
bool ParseInt32(const QString &text, qint32 minimum, qint32 maximum, qint32 &value);
