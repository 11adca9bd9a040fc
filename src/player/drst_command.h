#pragma once
// "DRST": total and free bytes of the player's normal and AV storage areas.

#include "player/r40_request.h"

#include <optional>

class CDrstCommand : public CR40Request {
public:
    CDrstCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest();

    // The normal area; false when the reply does not carry both values.
    bool GetCapacity(quint64 &total, quint64 &remain) const;
    // The AV area (movies and audio).
    bool GetCapacityAV(quint64 &total, quint64 &remain) const;
    // The two validity tests: both values present and the free bytes not
    // above the total.
    bool IsCapacityValid() const { return isValid(m_total, m_remain); }
    bool IsCapacityAVValid() const { return isValid(m_totalAv, m_remainAv); }

protected:
    bool ReadReplyElement(QXmlStreamReader &reader) override;
    void ClearReplyData() override;

private:
    static bool isValid(const std::optional<quint64> &total, const std::optional<quint64> &remain);

    std::optional<quint64> m_total;
    std::optional<quint64> m_remain;
    std::optional<quint64> m_totalAv;
    std::optional<quint64> m_remainAv;
};
