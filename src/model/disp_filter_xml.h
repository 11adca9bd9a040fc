#pragma once
// The display filter of one content type ("Filter_<type>.xml"): show only
// contents updated on or after a date, and/or hide the contents of excluded
// categories. Element paths: /DispFilter/Config/UseDate, /DispFilter/Config/Date,
// /DispFilter/Config/UseType and one /DispFilter/Type/Name per excluded category.

#include "model/contents_list.h"
#include "model/model_xml_document.h"

class CDispFilterXml : public CModelXmlDocument {
public:
    bool GetUseDate() const { return m_filter.useDate; }
    void SetUseDate(bool use) { m_filter.useDate = use; }
    const SystemTime &GetDate() const { return m_filter.date; }
    // False (error 87) for a date that does not exist.
    bool SetDate(const SystemTime &date);
    bool GetUseType() const { return m_filter.useType; }
    void SetUseType(bool use) { m_filter.useType = use; }

    // The excluded category names.
    int GetTypeCount() const { return int(m_filter.excluded.size()); }
    QString GetType(int position) const { return m_filter.excluded.value(position); }
    void RemoveAllTypes() { m_filter.excluded.clear(); }
    void AddType(const QString &name) { m_filter.excluded.append(name); }

    // The filter as the content lists apply it.
    const ContentsFilter &GetFilter() const { return m_filter; }

    bool Save(const QString &path) { return CXmlDocument::Save(path); }

protected:
    void beginLoad() override;
    void commitLoad() override;
    void OnCharacters(const QString &path, const QString &text) override;
    bool WriteContents() override;

private:
    ContentsFilter m_filter;
    ContentsFilter m_pending;
};
