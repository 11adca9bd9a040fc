#pragma once
// The record of a sequence (type 54): one sequence file of a playlist or
// schedule, queued for sending with the number, dates and texts it shares
// with the other records.

#include "model/property_base.h"

class CSequenceProperty : public CPropertyBase {
public:
    CSequenceProperty();
    bool Copy(const CPropertyBase *source) override;
};
