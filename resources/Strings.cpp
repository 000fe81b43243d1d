// The program's texts in English (1033) and Japanese (1041). The texts are
// the product's own wording, kept exactly as shipped: blanks, line breaks and
// spelling included.
#include "resources/ResourceIds.h"
#include "resources/StringTables.h"

namespace resources {
namespace {

const platform::StringResource kEnglish[] = {
    {ids::IDS_ABOUTBOX, L"&About Firmware Installer..."},
    {ids::IDS_SOCKETS_INIT_FAILED, L"Failed to initialize Windows socket."},
    {ids::IDS_USER_INPUT, L"User Input (Fill in IP address below)"},
    {ids::IDS_INSTALL, L"Install"},
    {ids::IDS_NEXT, L"&Next"},
    {ids::IDS_AUTOMATIC_DETECTION, L"Automatic Detection"},
    {ids::IDS_FATAL_ERROR, L"Fatal error."},
    {ids::IDS_NO_PRINTER_NETWORK,
     L"Cannot find a printer.\n"
     L"Fill in IP address again or turn on main power switch."},
    {ids::IDS_NO_PRINTER_USB,
     L"Cannot find a printer.\n"
     L"Connect USB cable with PC and printer or turn on main power switch."},
    {ids::IDS_WRONG_MODEL,
     L"This installer doesn't support %s.\n"
     L"Download a proper installer for your printer."},
    {ids::IDS_UP_TO_DATE,
     L"Current version is %s. \n"
     L"Installation is not necessary."},
    {ids::IDS_NOT_READY, L"Turn off SUB power switch."},
    {ids::IDS_CORRUPTED,
     L"This installer is corrupted.\n"
     L"Download another installer."},
    {ids::IDS_SEND_FAILED,
     L"Failed to send firmware.\n"
     L"Turn off main power switch and turn it on,\n"
     L"then try installation again."},
    {ids::IDS_INSTALL_FAILED,
     L"Failed to install firmware.\n"
     L"Turn off main power switch and turn it on,\n"
     L"then try installation again."},
    {ids::IDS_ALREADY_RUNNING,
     L"Execution Error.\n"
     L"The previous installer is still executing."},
    {ids::IDS_INSTALL_FAILED_SUM,
     L"Failed to install firmware.\n"
     L"\n"
     L"If the \"SUM ERROR\" appears on the LCD,  push \"ENTER\" button on the panel and then try installation again."},
    {ids::IDS_ILLEGAL_PARAMETER, L"Illegal command parameter."},
    {ids::IDS_SENDING, L"Sending firmware..."},
    {ids::IDS_INSTALLING,
     L"Installing and checking firmware...\n"
     L"Don't turn off main power switch until finishing installation.\n"
     L"\n"
     L"If not, Turn off main power switch and turn it on,\n"
     L"then try installation again. "},
    {ids::IDS_INSTALLING_IPL,
     L"Installing and checking firmware...\n"
     L"If the \"COMPLETED\" apperas on the Panel,\n"
     L"turn off sub main power switch and wait for a while."},
    {ids::IDS_CONFIRM_EXIT, L"Are you sure to exit without installation?"},
    {ids::IDS_INSTALLED, L"The installation of firmware was successful."},
    {ids::IDS_APP_TITLE, L"Corvex Firmware Installer"},
};

const platform::StringResource kJapanese[] = {
    {ids::IDS_ABOUTBOX, L"バージョン情報(&A)..."},
    {ids::IDS_SOCKETS_INIT_FAILED, L"Windows ソケットの初期化に失敗しました。"},
    {ids::IDS_USER_INPUT, L"ユーザー入力"},
    {ids::IDS_INSTALL, L"インストール"},
    {ids::IDS_NEXT, L"次へ(&N)"},
    {ids::IDS_AUTOMATIC_DETECTION, L"自動検出"},
    {ids::IDS_FATAL_ERROR, L"致命的なエラー"},
    {ids::IDS_NO_PRINTER_NETWORK,
     L"プリンタが見つかりません。\n"
     L"IPアドレスが間違っているか、メイン電源スイッチがOFFになっています。"},
    {ids::IDS_NO_PRINTER_USB,
     L"プリンタが見つかりません。\n"
     L"USBケーブルが外れているか、メイン電源スイッチがOFFになっています。"},
    {ids::IDS_WRONG_MODEL,
     L"インストーラ対応機種が異なります。\n"
     L"お使いの機種にあった %s 用のインストーラをご使用ください。"},
    {ids::IDS_UP_TO_DATE,
     L"現在のバージョンは %s です。\n"
     L"インストールは必要ありません。"},
    {ids::IDS_NOT_READY, L"サブ電源スイッチを切ってください。"},
    {ids::IDS_CORRUPTED,
     L"インストーラが壊れています。\n"
     L"もう一度、インストーラをダウンロードして下さい。"},
    {ids::IDS_SEND_FAILED,
     L"ファームウェアの送信に失敗しました。\n"
     L"メイン電源スイッチを入れ直して、もう一度インストールをしてください。"},
    {ids::IDS_INSTALL_FAILED,
     L"インストールに失敗しました。\n"
     L"メイン電源スイッチを入れ直して、もう一度インストールをして下さい。"},
    {ids::IDS_ALREADY_RUNNING, L"インストーラはすでに起動しています。"},
    {ids::IDS_INSTALL_FAILED_SUM,
     L"インストールに失敗しました。\n"
     L"\n"
     L"パネルに\"SUM ERROR\"が表示されている場合には\n"
     L"パネルの\"ENTER\"ボタンを押して、もう一度インストールしてください。\n"
     L"\n"
     L"\"SUM ERROR\"が表示されていない場合には\n"
     L"メイン電源スイッチを入れ直して、もう一度インストールしてください。"},
    {ids::IDS_ILLEGAL_PARAMETER, L"起動パラメータが不正です。"},
    {ids::IDS_SENDING, L"ファームウェアを送っています..."},
    {ids::IDS_INSTALLING,
     L"ファームウェアをインストール、確認をしています。\n"
     L"インストールが終了するまで、メイン電源スイッチには触らないようにしてください。"},
    {ids::IDS_INSTALLING_IPL,
     L"ファームをインストール、確認しています。\n"
     L"\"COMPLETED\"が表示されたら、サブ電源を切り、しばらくお待ちください。"},
    {ids::IDS_CONFIRM_EXIT, L"インストールが完了していませんが、終了してもよろしいですか？"},
    {ids::IDS_INSTALLED, L"インストールが完了しました。"},
    {ids::IDS_APP_TITLE, L"Corvex Firmware Installer"},
};

} // namespace

std::span<const platform::StringResource> EnglishStrings()
{
    return kEnglish;
}

std::span<const platform::StringResource> JapaneseStrings()
{
    return kJapanese;
}

} // namespace resources
