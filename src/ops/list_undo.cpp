#include "ops/list_undo.h"

#include "model/contents_list.h"
#include "model/property_base.h"

CListUndo::CListUndo(CContentsList &list) : m_list(list) {}

CListUndo::~CListUndo() = default;

bool CListUndo::Put(const CPropertyBase &record)
{
    const int position = m_list.FindCode(record.GetIndex());
    if (position < 0) {
        if (!m_list.Add(&record))
            return false;
        m_steps.push_back({-1, nullptr, record.GetIndex()});
        return true;
    }
    std::unique_ptr<CPropertyBase> old = CreateProperty(m_list.GetContentType());
    if (!old || !m_list.Get(position, old.get()) || !m_list.Update(position, &record))
        return false;
    m_steps.push_back({position, std::move(old), record.GetIndex()});
    return true;
}

void CListUndo::Undo()
{
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        if (step->position < 0)
            m_list.Delete(m_list.FindCode(step->number));
        else
            m_list.Update(step->position, step->old.get());
    }
    m_steps.clear();
}
