#include "transfer/transfer_codes.h"

#include "transfer/dlk_transfer_worker.h"

#include <span>

namespace {

constexpr TransferCodeMeaning kStates[] = {
    {DLK_STATE_REGIST_BEGUN, "登録を開始しました。", ""},
    {DLK_STATE_LIST_MADE, "送信する一覧を作成しました。", ""},
    {DLK_STATE_DONE, "正常に終了しました。", ""},
    {DLK_STATE_INTERNAL, "要求を作成できませんでした。", "PCのメモリとディスクの空きを確認してください。"},
    {DLK_STATE_DISK_FULL, "KDP-R40のディスク容量がいっぱいです。", "KDP-R40の不要な素材を削除してください。"},
    {DLK_STATE_AV_DISK_FULL, "KDP-R40の素材用ディスク容量がいっぱいです。", "KDP-R40の不要な素材を削除してください。"},
    {DLK_STATE_UPLOAD_FAILED, "ファイルの送信に失敗しました。", "詳細コードを確認してください。"},
    {DLK_STATE_COMMAND_FAILED, "コマンドの実行に失敗しました。", "詳細コードを確認してください。"},
    {DLK_STATE_STOPPED, "処理を中止しました。", ""},
};

constexpr TransferCodeMeaning kDetails[] = {
    {DLK_DETAIL_INTERNAL, "内部エラーが発生しました。", "TELV-Q9を再起動して、もう一度実行してください。"},
    {DLK_DETAIL_NOT_FOUND, "KDP-R40が応答しません。", "KDP-R40の電源、LANケーブル、IPアドレスを確認してください。"},
    {DLK_DETAIL_PASSWORD, "KDP-R40に接続できません(ユーザー名またはパスワードが違います)。",
     "KDP-R40設定のユーザー名とパスワードを確認してください。"},
    {DLK_DETAIL_SEND_ERROR, "KDP-R40との通信でエラーが発生しました。", "ネットワークの状態を確認して、もう一度実行してください。"},
    {DLK_DETAIL_DISCONNECT, "KDP-R40との通信が切断されました。", "ネットワークの状態を確認して、もう一度実行してください。"},
    {DLK_DETAIL_TIMEOUT, "KDP-R40からの応答がタイムアウトしました。", "ネットワークの状態を確認して、もう一度実行してください。"},
    {DLK_DETAIL_FILE_NOT_FOUND, "送信するファイルがPCにありません。", "素材を登録し直してください。"},
    {DLK_DETAIL_FILE_IN_USE, "送信するファイルが他のプログラムで使用中です。", "ファイルを使用しているプログラムを終了してください。"},
    {DLK_DETAIL_CONFIG_FILE, "設定ファイルまたはコマンドを作成できませんでした。",
     "PCのディスクの空きと、KDP-R40設定の内容(MACアドレスなど)を確認してください。"},
    {DLK_DETAIL_AV_DISK_FULL, "KDP-R40の素材用ディスク容量がいっぱいです。", "KDP-R40の不要な素材を削除してください。"},
    {DLK_DETAIL_DISK_FULL, "KDP-R40のディスク容量がいっぱいです。", "KDP-R40の不要な素材を削除してください。"},
    {DLK_DETAIL_PLAYER_CHANGED, "KDP-R40のシリアル番号、タイムゾーン、解像度またはサマータイムが登録内容と異なります。",
     "KDP-R40設定を確認してください。"},
    {DLK_DETAIL_VERSION_CHANGED, "KDP-R40のバージョンが変わりました。", ""},
    {DLK_DETAIL_FAN, "KDP-R40のファンが停止しています。", "KDP-R40の点検を依頼してください。"},
    {DLK_DETAIL_TEMPERATURE, "KDP-R40の内部温度が異常です。", "設置場所の温度と通風を確認してください。"},
};

constexpr TransferCodeMeaning kRefusals[] = {
    {100, "KDP-R40の再生プログラムが起動していません。", "KDP-R40を再起動してください。"},
    {101, "KDP-R40が知らないコマンドまたはパラメーターです。", "KDP-R40のバージョンを確認してください。"},
    {110, "削除するものがありません。", ""},
    {112, "ファイルがありません。", ""},
    {115, "該当する行がないか、表が空です。", ""},
    {120, "KDP-R40のディスク容量がいっぱいです。", "KDP-R40の不要な素材を削除してください。"},
    {122, "KDP-R40の保存先フォルダーを作成できません。", "KDP-R40を再起動してください。"},
};

QString escaped(const char *text)
{
    return QString::fromUtf8(text).toHtmlEscaped();
}

QString tableHtml(const char *title, std::span<const TransferCodeMeaning> rows)
{
    QString html = QStringLiteral("<h2>%1</h2>\n<table>\n<tr><th>コード</th><th>内容</th><th>対処</th></tr>\n")
                       .arg(escaped(title));
    for (const TransferCodeMeaning &row : rows)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(QStringLiteral("%1").arg(row.code, 4, 10, QLatin1Char('0')), escaped(row.meaning),
                         escaped(row.remedy));
    return html + QStringLiteral("</table>\n");
}

} // namespace

const TransferCodeMeaning *FindTransferCode(int code)
{
    // The processing states are not codes a message prints.
    for (std::span<const TransferCodeMeaning> rows :
         {std::span<const TransferCodeMeaning>(kDetails), std::span<const TransferCodeMeaning>(kRefusals)}) {
        for (const TransferCodeMeaning &row : rows) {
            if (row.code == code)
                return &row;
        }
    }
    return nullptr;
}

QString ErrorCodeTableHtml()
{
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n<title>TELV-Q9 エラーコード表</title>\n"
        "<style>table{border-collapse:collapse}td,th{border:1px solid #888;padding:2px 6px;text-align:left}</style>\n"
        "</head>\n<body>\n<h1>TELV-Q9 エラーコード表</h1>\n"
        "<p>メッセージの「エラーコード」は、次の表の詳細コードまたはKDP-R40の応答コードです。</p>\n");
    html += tableHtml("詳細コード", kDetails);
    html += tableHtml("KDP-R40の応答コード", kRefusals);
    html += tableHtml("処理の状態", kStates);
    return html + QStringLiteral("</body>\n</html>\n");
}
