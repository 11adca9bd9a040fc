#pragma once
// The messages of the player operations that have no string-table id: shown
// as ready texts (MessageBoxWithCaptionId), in UTF-8.

#include "core/message_box.h"
#include "core/printf_format.h"
#include "ops/player_commands.h"
#include "transfer/transfer_codes.h"

// Shows one of these texts under the program's caption; returns the answer.
inline int ShowText(QObject *owner, const char *text, quint32 style)
{
    return MessageBoxWithCaptionId(owner, QString::fromUtf8(text), kTitleCaption, style);
}

namespace OpText {

// Transfers.
inline constexpr const char *kStopped = "処理を中止しました。";
inline constexpr const char *kDiskFull = "KDP-R40のディスク容量がいっぱいになりました。";
// %s: the error-code table's words for the code, each on a line of its own.
inline constexpr const char *kErrorCode =
    "エラーコード： %04d  エラーが発生しました。%s\n\nエラーの対処法などは、[ヘルプ]メニューから「エラーコード表」を参照ください。";
inline constexpr const char *kUpdateSent =
    "KDP-R40のアップデートファイルの送信が完了し、KDP-R40の再起動中です。\nしばらくお待ちください。";
inline constexpr const char *kScheduleOverlap = "再生期間が重なるスケジュールは同時に配信できません。";
inline constexpr const char *kSelectDevice = "機器を選択してください。";
// Power-on needs the player's MAC address, which the player settings hold.
inline constexpr const char *kNoMacAddress =
    "MACアドレスが設定されていないため、電源オンできません。\nKDP-R40設定でMACアドレスを設定してください。";
inline constexpr const char *kTouchPanelScreenSaver =
    "Touch Panel Mode プレイリストはユーザースクリーンセーバーに設定できません。";
inline constexpr const char *kPreviewResolution = "プレイリストとプレビュー機器の解像度が異なっているため再生できません。";
inline constexpr const char *kGroupResolution = "プレイリストとグループの解像度が異なっているため再生できません。";
inline constexpr const char *kRecoverStillJpeg = "代替再生の静止画は、JPEGファイルを指定してください。";
inline constexpr const char *kListSaveFailed = "コンテンツ一覧の保存に失敗したため、配信を中止しました。";
inline constexpr const char *kNotOnPlayer =
    "選択されたコンテンツはKDP-R40のコンテンツ一覧にないため、再生できません。\nコンテンツ一覧を更新してください。";
inline constexpr const char *kScreenSaverLayers =
    "背景以外のレイヤーが登録されています。\nユーザースクリーンセーバーに設定できません。";
inline constexpr const char *kDeleteQuestion = "削除します。\nよろしいですか？";
inline constexpr const char *kUpdateAllQuestion =
    "通信可能なすべてのKDP-R40にアップデートを行い、再起動をかけます。\nよろしいですか？";
inline constexpr const char *kUpdateSelectedQuestion =
    "選択したKDP-R40にアップデートを行い、再起動をかけます。\nよろしいですか？";
inline constexpr const char *kUpdateDialogTitle = "KDP-R40アップデートファイルの選択";
inline constexpr const char *kDeleteFailed = "素材の削除に失敗しました(エラーコード：%d)";

// Single player commands.
inline constexpr const char *kCheckConnectDone =
    "接続チェック OK。\n\n[KDP-R40 情報]\nバージョン： %s \nシリアル番号： %s \nMACアドレス： %s \nディスプレイ(COM1)： %s (%02X)";
inline constexpr const char *kQueryTimeDone =
    "-- システム日時の情報 --\n\nKDP-R40：\t %s (%s)\nPC：\t %s (%s)\n\nPCの時計にKDP-R40を合わせたい場合は、[はい]をクリックしてください。\n[ご注意]\n時計を変更した場合、KDP-R40は自動的に再起動します。";
inline constexpr const char *kSetTimeDone = "KDP-R40の日付と時刻の設定が完了しました。";
inline constexpr const char *kRestartQuestion = "指定したKDP-R40 を再起動します。\nよろしいですか？";
inline constexpr const char *kRestartDone = "指定したKDP-R40 を再起動しました。";
inline constexpr const char *kPowerOnDone =
    "指定したKDP-R40 に電源オンのコマンドを送信しました。\nただし、Magic Packetが受信できないネットワーク環境では電源オンできません。";
inline constexpr const char *kPowerOffQuestion =
    "指定したKDP-R40 を電源オフします。\nMagic Packetが受信できないネットワーク環境ではTELV-Q9から電源オンできませんのでご注意ください。\nよろしいですか？";
inline constexpr const char *kPowerOffDone =
    "指定したKDP-R40 に電源オフのコマンドを送信しました。\n電源オフが完了するまでしばらくかかります。\nすぐに電源を遮断しないでください。";

// The question asked before a single player command (null: none) and the
// notice of its success (null: a reply of its own is shown).
struct CommandTexts {
    int mode;
    const char *question;
    const char *done;
};
inline constexpr CommandTexts kCommandTexts[] = {
    {COMMAND_MODE_SET_TIME, nullptr, kSetTimeDone},
    {COMMAND_MODE_RESTART, kRestartQuestion, kRestartDone},
    {COMMAND_MODE_POWER_ON, nullptr, kPowerOnDone},
    {COMMAND_MODE_POWER_OFF, kPowerOffQuestion, kPowerOffDone},
};

} // namespace OpText

// The failure message of a transfer or player code: the code with what the
// error-code table says it means and what to do.
inline QString ErrorCodeText(qint32 code)
{
    QString words;
    if (const TransferCodeMeaning *meaning = FindTransferCode(code)) {
        for (const char *line : {meaning->meaning, meaning->remedy}) {
            if (*line)
                words += QLatin1Char('\n') + QString::fromUtf8(line);
        }
    }
    return FormatPrintf(QString::fromUtf8(OpText::kErrorCode), {PrintfArg(int(code)), PrintfArg(words)});
}
