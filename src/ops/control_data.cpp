#include "ops/control_data.h"

#include "core/format_utils.h"
#include "model/control_property.h"

#include <QRegularExpression>

namespace {

const char *const kTypeNames[] = {"COM 制御", "音量 制御", "ディスプレイ 制御"};
const char *const kMuteText = "ミュート";
const char *const kSystemText = "システム設定";

bool isHexOrBlank(QChar c)
{
    return c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

QString typeName(qint32 ctrlType)
{
    switch (ctrlType) {
    case CControlProperty::CTRL_COM:
        return QString::fromUtf8(kTypeNames[0]);
    case CControlProperty::CTRL_VOLUME:
        return QString::fromUtf8(kTypeNames[1]);
    default:
        return QString::fromUtf8(kTypeNames[2]);
    }
}

} // namespace

bool NormalizeHexText(const QString &text, QString &digits)
{
    if (!std::all_of(text.begin(), text.end(), isHexOrBlank))
        return false;
    static const QRegularExpression blanks(QStringLiteral(" +"));
    QString reduced = text;
    reduced.replace(blanks, QStringLiteral(" "));
    while (reduced.endsWith(u' '))
        reduced.chop(1);
    QString joined;
    if (reduced.contains(u' ')) {
        const QStringList groups = reduced.split(u' ');
        if (!std::all_of(groups.begin(), groups.end(), [](const QString &group) { return group.size() == 2; }))
            return false;
        joined = groups.join(QString());
    } else {
        joined = reduced;
    }
    if (joined.size() % 2 != 0 || joined.size() > CControlProperty::kMaxHexDigits)
        return false;
    digits = joined;
    return true;
}

QString SpacedHexPairs(const QString &digits)
{
    QStringList pairs;
    for (qsizetype i = 0; i < digits.size(); i += 2)
        pairs.append(digits.mid(i, 2));
    return pairs.join(u' ');
}

int CheckControlData(const ControlFields &fields)
{
    QString digits;
    if (fields.ctrlType == CControlProperty::CTRL_VOLUME) {
        if (fields.volumeKind != VOLUME_USER)
            return CONTROL_DATA_OK;
        if (fields.volume.isEmpty())
            return CONTROL_VOLUME_EMPTY;
        const int level = fields.volume.toInt();
        if (!IsDecimalDigits(fields.volume) || level < kMinVolume || level > kMaxVolume)
            return CONTROL_VOLUME_OUT_OF_RANGE;
        return CONTROL_DATA_OK;
    }
    if (fields.send.isEmpty())
        return CONTROL_SEND_DATA_EMPTY;
    if (!NormalizeHexText(fields.send, digits) || digits.isEmpty())
        return CONTROL_SEND_DATA_WRONG;
    if (!NormalizeHexText(fields.response, digits))
        return CONTROL_RESPONSE_DATA_WRONG;
    return CONTROL_DATA_OK;
}

ControlValues MakeControlValues(const ControlFields &fields)
{
    ControlValues values;
    values.defaultInfo = typeName(fields.ctrlType);
    if (fields.ctrlType != CControlProperty::CTRL_VOLUME) {
        NormalizeHexText(fields.send, values.param1);
        NormalizeHexText(fields.response, values.param2);
        values.defaultTitle = SpacedHexPairs(values.param1).left(CControlProperty::kMaxTitle);
        return values;
    }
    switch (fields.volumeKind) {
    case VOLUME_MUTE:
        values.param1 = QStringLiteral("0");
        values.defaultTitle = QString::fromUtf8(kMuteText);
        break;
    case VOLUME_SYSTEM:
        values.param1 = QStringLiteral("-1");
        values.defaultTitle = QString::fromUtf8(kSystemText);
        break;
    default:
        values.param1 = QString::number(fields.volume.toInt());
        values.defaultTitle = values.param1 + QStringLiteral("%");
        break;
    }
    return values;
}
