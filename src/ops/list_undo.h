#pragma once
// Puts edited records into a content list while remembering what the list
// held before, so that an edit whose list file cannot be saved leaves the
// list in memory as the file on disk still has it.

#include <memory>
#include <vector>

class CContentsList;
class CPropertyBase;

class CListUndo {
public:
    explicit CListUndo(CContentsList &list);
    ~CListUndo();
    CListUndo(const CListUndo &) = delete;
    CListUndo &operator=(const CListUndo &) = delete;

    // Adds the record, or overwrites the one with its number; false (the
    // list unchanged) when the list refuses it.
    bool Put(const CPropertyBase &record);
    // Takes back every Put, the last one first.
    void Undo();

private:
    struct Step {
        int position;                        // -1: the record was added
        std::unique_ptr<CPropertyBase> old;  // the record overwritten
        int number;
    };
    CContentsList &m_list;
    std::vector<Step> m_steps;
};
