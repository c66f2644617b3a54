#include "app/StringTable.h"

#include "app/Language.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Column order of every row: English (9), German (7), Spanish (10), French (12), Italian (16),
// Simplified Chinese (2052), Traditional Chinese (3076). UTF-8 literals.
enum ELanguageColumn
{
    kEnglish,
    kGerman,
    kSpanish,
    kFrench,
    kItalian,
    kChineseSimplified,
    kChineseTraditional,
    kLanguageColumns
};

struct SLocalizedString
{
    unsigned id;
    const char* text[kLanguageColumns];
};

// clang-format off
const SLocalizedString kStrings[] = {
    {101, {"About Talvex(&A)...", "Über Talvex(&A)...", "Acerca de Talvex (& A) ...", "À propos de Talvex (& A) ...", "Informazioni su Talvex (& A) ...", "关于 Talvex(&A)...", "關於 Talvex(&A)..."}},
    {102, {"Import", "Importieren", "Importar", "Importateur", "Importa", "导入", "導入"}},
    {103, {"Export", "Exportieren", "Exportar", "Export", "Esporta", "导出", "匯出"}},
    {104, {"Download", "Herunterladen", "Descargar", "Télécharger", "Scarica", "下载", "下載"}},
    {105, {"Setting", "Einstellung", "Configuración", "Paramètres", "Impostazioni", "设置", "設置"}},
    {106, {"Language", "Language", "Idioma", "Langue", "Lingua", "Language", "Language"}},
    {107, {"Pricing", "Preisstaffel", "valoración", "valorisation", "valutazione", "计价", "計價"}},
    {108, {"Counting", "Zählwaage", "cuenta", "nombre", "conta", "计数", "計數"}},
    {109, {"Sr.No.", "Seriennummer", "número de serie", "numéro de série", "numero seriale", "序号", "序號"}},
    {110, {"PLU No.", "PLU-Nummer", "número de PLU", "numéro de PLU", "Numero PLU", "PLU编号", "PLU編號"}},
    {111, {"Unit weight", "Einzelgewicht", "peso único", "poids unique", "peso singolo", "单重", "單重"}},
    {112, {"Goods Id", "Artikelnummer", "número de artículo", "numéro d'article", "numero articolo", "物品编号", "物品編號"}},
    {113, {"Goods Name", "Artikelname", "nombre del elemento", "nom d'élément", "nome elemento", "物品名称", "物品名稱"}},
    {114, {"Specification", "Spezifikation", "Especificaciones (Nota 1)", "Spécifications (Remarque 1)", "Specifiche (nota 1)", "规格(备注1)", "規格(備註1)"}},
    {115, {"Remark", "Bemerkungen", "Observaciones (Nota 2)", "Remarques (Remarque 2)", "Note (nota 2)", "备注(备注2)", "備註(備註2)"}},
    {116, {"Expiration(Days)", "Haltbarkeit (Tage)", "Vida útil (días)", "Durée de vie (en jours)", "Periodo di validità (giorni)", "保质期(天)", "保質期(天)"}},
    {117, {"Quantity pricing", "Menge Preis", "Precio por cantidad", "Prix par quantité", "Prezzo per quantità", "按数量计价", "按數量計價"}},
    {118, {"Hi", "Obere Grenze", "Límite superior", "limite supérieure", "Limite superiore", "上限", "上限"}},
    {119, {"Lo", "Untere Grenze", "límite inferior", "limite inférieure", "limite inferiore", "下限", "下限"}},
    {120, {"Unit price", "Stückpreis", "Precio unitario", "Prix unitaire", "Prezzo unitario", "单价", "單價"}},
    {121, {"New", "Neu", "Nuevo", "Nouveau", "Nuovo", "新建", "新建"}},
    {122, {"Add", "Hinzufügen", "Agregar", "Ajouter", "Aggiungi", "添加", "添加"}},
    {123, {"Delete", "Löschen", "eliminar", "supprimer", "elimina", "删除", "刪除"}},
    {124, {"Unselected", "Nicht ausgewählt", "No seleccionado", "Non sélectionné", "Non selezionato", "未选择", "未選擇"}},
    {125, {"Lim", "Alarm", "límites superior e inferior", "limites supérieure et inférieure", "limiti superiore e inferiore", "上下限", "上下限"}},
    {126, {"Not exported, are you sure you want to create a new one?", "Nicht exportiert. Möchten Sie wirklich eine neue erstellen?", "No exportado, ¿está seguro de que desea crear uno nuevo?", "Non exporté, êtes-vous sûr de vouloir en créer un?", "Non esportato, sei sicuro di volerne crearne uno nuovo?", "未导出,确定要新建吗?", "未匯出,確定要新建嗎?"}},
    {128, {"No data!", "Keine Daten!", "¡Sin datos!", "Pas de données!", "Nessun dato!", "无数据!", "無數據!"}},
    {129, {"Success", "Erfolg", "éxito", "succès", "successo", "成功", "成功"}},
    {130, {"Not exported, are you sure you want to quit?", "Nicht exportiert. Möchten Sie wirklich beenden?", "No exportado, ¿está seguro de que desea salir?", "Non exporté, êtes-vous sûr de vouloir quitter?", "Non esportato, sei sicuro di voler uscire?", "未导出,确定要退出吗?", "未匯出,確定要退出嗎?"}},
    {131, {"The program could not be restarted. Please start it again by hand.", "Das Programm konnte nicht neu gestartet werden. Bitte starten Sie es von Hand neu.", "No se pudo reiniciar el programa. Inícielo de nuevo manualmente.", "Le programme n'a pas pu être redémarré. Veuillez le relancer manuellement.", "Impossibile riavviare il programma. Riavviarlo manualmente.", "无法重新启动程序,请手动重新启动。", "無法重新啟動程式,請手動重新啟動。"}},
    {132, {"Not exported, changing the mode empties the table. Are you sure you want to change it?", "Nicht exportiert. Beim Wechsel des Modus wird die Tabelle geleert. Möchten Sie wirklich wechseln?", "No exportado, al cambiar el modo se vaciará la tabla. ¿Está seguro de que desea cambiarlo?", "Non exporté, changer de mode videra le tableau. Êtes-vous sûr de vouloir en changer?", "Non esportato, cambiando modalità la tabella verrà svuotata. Sei sicuro di volerla cambiare?", "未导出,切换模式将清空表格,确定要切换吗?", "未匯出,切換模式將清空表格,確定要切換嗎?"}},
    {133, {"Not exported, importing replaces the rows of the table. Are you sure you want to import?", "Nicht exportiert. Beim Importieren werden die Zeilen der Tabelle ersetzt. Möchten Sie wirklich importieren?", "No exportado, al importar se reemplazarán las filas de la tabla. ¿Está seguro de que desea importar?", "Non exporté, l'importation remplacera les lignes du tableau. Êtes-vous sûr de vouloir importer?", "Non esportato, l'importazione sostituirà le righe della tabella. Sei sicuro di voler importare?", "未导出,导入将替换表格中的所有行,确定要导入吗?", "未匯出,導入將替換表格中的所有行,確定要導入嗎?"}},
    {140, {"Row %1 rejected: %2", "Zeile %1 abgelehnt: %2", "Fila %1 rechazada: %2", "Ligne %1 refusée : %2", "Riga %1 rifiutata: %2", "第 %1 行被拒绝:%2", "第 %1 行被拒絕:%2"}},
    {141, {"Row %1 could not be sent: %2", "Zeile %1 konnte nicht gesendet werden: %2", "No se pudo enviar la fila %1: %2", "La ligne %1 n'a pas pu être envoyée : %2", "Impossibile inviare la riga %1: %2", "第 %1 行无法发送:%2", "第 %1 行無法傳送:%2"}},
    {142, {"The scale refused row %1.", "Die Waage hat Zeile %1 abgelehnt.", "La báscula rechazó la fila %1.", "La balance a refusé la ligne %1.", "La bilancia ha rifiutato la riga %1.", "秤拒绝了第 %1 行。", "秤拒絕了第 %1 行。"}},
    {143, {"The device was disconnected while row %1 was being sent.", "Das Gerät wurde getrennt, während Zeile %1 gesendet wurde.", "El dispositivo se desconectó mientras se enviaba la fila %1.", "L'appareil a été déconnecté pendant l'envoi de la ligne %1.", "Il dispositivo è stato scollegato durante l'invio della riga %1.", "发送第 %1 行时设备已断开。", "傳送第 %1 行時裝置已中斷連線。"}},
    {144, {"Nothing was sent: no row has both a PLU No. and a value.", "Nichts wurde gesendet: Keine Zeile hat zugleich eine PLU-Nummer und einen Wert.", "No se envió nada: ninguna fila tiene a la vez número de PLU y un valor.", "Rien n'a été envoyé : aucune ligne n'a à la fois un numéro de PLU et une valeur.", "Non è stato inviato nulla: nessuna riga ha sia un Numero PLU sia un valore.", "未发送任何内容:没有一行同时具有PLU编号和数值。", "未傳送任何內容:沒有一行同時具有PLU編號和數值。"}},
    {145, {"No answer from the scale for row %1 within %2 s.", "Keine Antwort der Waage auf Zeile %1 innerhalb von %2 s.", "La báscula no respondió a la fila %1 en %2 s.", "Pas de réponse de la balance pour la ligne %1 en %2 s.", "Nessuna risposta dalla bilancia per la riga %1 entro %2 s.", "秤在 %2 秒内未应答第 %1 行。", "秤在 %2 秒內未回應第 %1 行。"}},
    {146, {"Only %1 of %2 bytes were written to %3.", "Nur %1 von %2 Bytes wurden auf %3 geschrieben.", "Solo se escribieron %1 de %2 bytes en %3.", "Seuls %1 octets sur %2 ont été écrits sur %3.", "Solo %1 di %2 byte sono stati scritti su %3.", "%2 字节中仅有 %1 字节写入了 %3。", "%2 位元組中僅有 %1 位元組寫入了 %3。"}},
    {147, {"(blank)", "(leer)", "(vacío)", "(vide)", "(vuoto)", "(空)", "(空)"}},
    {148, {"%1 %2 is not a number", "%1 %2 ist keine Zahl", "%1 %2 no es un número", "%1 %2 n'est pas un nombre", "%1 %2 non è un numero", "%1 %2 不是数字", "%1 %2 不是數字"}},
    {149, {"%1 %2 can be read two ways: write the decimals after a point, without thousands separators", "%1 %2 ist mehrdeutig: Dezimalstellen nach einem Punkt schreiben, ohne Tausendertrennzeichen", "%1 %2 admite dos lecturas: escriba los decimales tras un punto, sin separadores de miles", "%1 %2 peut se lire de deux façons : écrivez les décimales après un point, sans séparateur de milliers", "%1 %2 si può leggere in due modi: scrivere i decimali dopo un punto, senza separatori delle migliaia", "%1 %2 有两种读法:请用小数点写小数,不要用千位分隔符", "%1 %2 有兩種讀法:請用小數點寫小數,不要用千位分隔符號"}},
    {150, {"%1 %2 is cut to %3 bytes", "%1 %2 wird auf %3 Bytes gekürzt", "%1 %2 se recorta a %3 bytes", "%1 %2 est tronqué à %3 octets", "%1 %2 viene troncato a %3 byte", "%1 %2 被截断为 %3 字节", "%1 %2 被截斷為 %3 位元組"}},
    {151, {"%1 is cut to %2 bytes", "%1 wird auf %2 Bytes gekürzt", "%1 se recorta a %2 bytes", "%1 est tronqué à %2 octets", "%1 viene troncato a %2 byte", "%1 被截断为 %2 字节", "%1 被截斷為 %2 位元組"}},
    {152, {"%1 has a character that code page %2 lacks: it goes as ?", "%1 enthält ein Zeichen, das die Codepage %2 nicht kennt: es wird als ? gesendet", "%1 tiene un carácter que la página de códigos %2 no tiene: se envía como ?", "%1 contient un caractère absent de la page de codes %2 : il part sous la forme ?", "%1 contiene un carattere assente nella code page %2: viene inviato come ?", "%1 含有代码页 %2 中没有的字符:将以 ? 发送", "%1 含有字碼頁 %2 中沒有的字元:將以 ? 傳送"}},
    {153, {"%1 %2 is above %3", "%1 %2 ist größer als %3", "%1 %2 es mayor que %3", "%1 %2 dépasse %3", "%1 %2 supera %3", "%1 %2 大于 %3", "%1 %2 大於 %3"}},
    {154, {"%1 %2 is below 0", "%1 %2 ist kleiner als 0", "%1 %2 es menor que 0", "%1 %2 est inférieur à 0", "%1 %2 è minore di 0", "%1 %2 小于 0", "%1 %2 小於 0"}},
    {155, {"%1 %2 is not above 0", "%1 %2 ist nicht größer als 0", "%1 %2 no es mayor que 0", "%1 %2 n'est pas supérieur à 0", "%1 %2 non è maggiore di 0", "%1 %2 不大于 0", "%1 %2 不大於 0"}},
    {156, {"%1 %2 does not fit in 8 characters", "%1 %2 passt nicht in 8 Zeichen", "%1 %2 no cabe en 8 caracteres", "%1 %2 ne tient pas en 8 caractères", "%1 %2 non sta in 8 caratteri", "%1 %2 超出 8 个字符", "%1 %2 超出 8 個字元"}},
    {157, {"%1 %2 would be sent as %3", "%1 %2 würde als %3 gesendet", "%1 %2 se enviaría como %3", "%1 %2 serait envoyé comme %3", "%1 %2 verrebbe inviato come %3", "%1 %2 将以 %3 发送", "%1 %2 將以 %3 傳送"}},
    {158, {"%1 %2 is also in row %3: the scale keeps only the later record", "%1 %2 steht auch in Zeile %3: Die Waage behält nur den späteren Datensatz", "%1 %2 también está en la fila %3: la báscula solo conserva el registro posterior", "%1 %2 figure aussi à la ligne %3 : la balance ne garde que l'enregistrement le plus tardif", "%1 %2 è anche nella riga %3: la bilancia conserva solo il record successivo", "%1 %2 也在第 %3 行:秤只保留后一条记录", "%1 %2 也在第 %3 行:秤只保留後一筆記錄"}},
    {159, {"No port is chosen. Choose the scale's port, then try again.", "Kein Port ausgewählt. Wählen Sie den Port der Waage und versuchen Sie es erneut.", "No hay ningún puerto elegido. Elija el puerto de la báscula y vuelva a intentarlo.", "Aucun port n'est choisi. Choisissez le port de la balance, puis réessayez.", "Nessuna porta scelta. Scegliere la porta della bilancia, quindi riprovare.", "未选择端口。请选择秤的端口,然后重试。", "未選擇連接埠。請選擇秤的連接埠,然後重試。"}},
    {160, {"Cannot open %1: it is locked by %2 (lock file %3). Close that program, then try again.", "%1 kann nicht geöffnet werden: Es ist durch %2 gesperrt (Sperrdatei %3). Beenden Sie dieses Programm und versuchen Sie es erneut.", "No se puede abrir %1: está bloqueado por %2 (archivo de bloqueo %3). Cierre ese programa y vuelva a intentarlo.", "Impossible d'ouvrir %1 : il est verrouillé par %2 (fichier de verrou %3). Fermez ce programme, puis réessayez.", "Impossibile aprire %1: è bloccato da %2 (file di blocco %3). Chiudere quel programma, quindi riprovare.", "无法打开 %1:它被 %2 锁定(锁文件 %3)。请关闭该程序,然后重试。", "無法開啟 %1:它被 %2 鎖定(鎖定檔 %3)。請關閉該程式,然後重試。"}},
    {161, {"Cannot open %1: it is in use by %2. Close that program, then try again.", "%1 kann nicht geöffnet werden: Es wird von %2 verwendet. Beenden Sie dieses Programm und versuchen Sie es erneut.", "No se puede abrir %1: lo está usando %2. Cierre ese programa y vuelva a intentarlo.", "Impossible d'ouvrir %1 : il est utilisé par %2. Fermez ce programme, puis réessayez.", "Impossibile aprire %1: è in uso da parte di %2. Chiudere quel programma, quindi riprovare.", "无法打开 %1:它正被 %2 使用。请关闭该程序,然后重试。", "無法開啟 %1:它正被 %2 使用。請關閉該程式,然後重試。"}},
    {162, {"Cannot open %1: it is in use by another program. Close that program, then try again.", "%1 kann nicht geöffnet werden: Es wird von einem anderen Programm verwendet. Beenden Sie dieses Programm und versuchen Sie es erneut.", "No se puede abrir %1: lo está usando otro programa. Cierre ese programa y vuelva a intentarlo.", "Impossible d'ouvrir %1 : il est utilisé par un autre programme. Fermez ce programme, puis réessayez.", "Impossibile aprire %1: è in uso da parte di un altro programma. Chiudere quel programma, quindi riprovare.", "无法打开 %1:它正被另一个程序使用。请关闭该程序,然后重试。", "無法開啟 %1:它正被另一個程式使用。請關閉該程式,然後重試。"}},
    {163, {"ModemManager probes serial devices that look like modems: stop it (sudo systemctl stop ModemManager), or tell it to leave the adapter alone with a udev rule that sets ENV{ID_MM_DEVICE_IGNORE}=\"1\".", "ModemManager prüft serielle Geräte, die wie Modems aussehen: Beenden Sie ihn (sudo systemctl stop ModemManager) oder lassen Sie ihn den Adapter mit einer udev-Regel, die ENV{ID_MM_DEVICE_IGNORE}=\"1\" setzt, in Ruhe.", "ModemManager sondea los dispositivos serie que parecen módems: deténgalo (sudo systemctl stop ModemManager) o indíquele que no toque el adaptador con una regla udev que establezca ENV{ID_MM_DEVICE_IGNORE}=\"1\".", "ModemManager sonde les périphériques série qui ressemblent à des modems : arrêtez-le (sudo systemctl stop ModemManager), ou faites-lui ignorer l'adaptateur avec une règle udev qui définit ENV{ID_MM_DEVICE_IGNORE}=\"1\".", "ModemManager sonda i dispositivi seriali che sembrano modem: fermarlo (sudo systemctl stop ModemManager) oppure fargli ignorare l'adattatore con una regola udev che imposta ENV{ID_MM_DEVICE_IGNORE}=\"1\".", "ModemManager 会探测看起来像调制解调器的串口设备:请停止它(sudo systemctl stop ModemManager),或用设置 ENV{ID_MM_DEVICE_IGNORE}=\"1\" 的 udev 规则让它忽略该适配器。", "ModemManager 會探測看起來像數據機的序列裝置:請停止它(sudo systemctl stop ModemManager),或用設定 ENV{ID_MM_DEVICE_IGNORE}=\"1\" 的 udev 規則讓它忽略該轉接器。"}},
    {164, {"brltty, the braille display driver, is running: it claims USB serial adapters (CH340, CP210x, FT232) for itself. Unless a braille display is used, remove it (sudo apt remove brltty) and plug the adapter in again.", "brltty, der Treiber für Braillezeilen, läuft: Er beansprucht USB-Seriell-Adapter (CH340, CP210x, FT232) für sich. Wenn keine Braillezeile verwendet wird, entfernen Sie ihn (sudo apt remove brltty) und stecken Sie den Adapter neu ein.", "brltty, el controlador de pantallas braille, está en ejecución: reclama para sí los adaptadores serie USB (CH340, CP210x, FT232). Si no se usa una pantalla braille, desinstálelo (sudo apt remove brltty) y vuelva a conectar el adaptador.", "brltty, le pilote des afficheurs braille, est en cours d'exécution : il s'approprie les adaptateurs série USB (CH340, CP210x, FT232). Si aucun afficheur braille n'est utilisé, supprimez-le (sudo apt remove brltty) et rebranchez l'adaptateur.", "brltty, il driver dei display braille, è in esecuzione: si appropria degli adattatori seriali USB (CH340, CP210x, FT232). Se non si usa un display braille, rimuoverlo (sudo apt remove brltty) e ricollegare l'adattatore.", "盲文显示器驱动 brltty 正在运行:它会占用 USB 串口适配器(CH340、CP210x、FT232)。如果不使用盲文显示器,请将其卸载(sudo apt remove brltty),然后重新插入适配器。", "點字顯示器驅動程式 brltty 正在執行:它會佔用 USB 序列轉接器(CH340、CP210x、FT232)。如果不使用點字顯示器,請將其移除(sudo apt remove brltty),然後重新插入轉接器。"}},
    {165, {"Cannot open %1: permission denied. Ask for access to the device, then log in again.", "%1 kann nicht geöffnet werden: Zugriff verweigert. Bitten Sie um Zugriff auf das Gerät und melden Sie sich dann neu an.", "No se puede abrir %1: permiso denegado. Solicite acceso al dispositivo y vuelva a iniciar sesión.", "Impossible d'ouvrir %1 : permission refusée. Demandez l'accès au périphérique, puis reconnectez-vous.", "Impossibile aprire %1: permesso negato. Chiedere l'accesso al dispositivo, quindi accedere di nuovo.", "无法打开 %1:权限被拒绝。请申请该设备的访问权限,然后重新登录。", "無法開啟 %1:權限遭拒。請申請該裝置的存取權限,然後重新登入。"}},
    {166, {"Cannot open %1: permission denied. The device belongs to the group \"%2\": add your user to it (sudo usermod -aG %2 $USER), then log out and in again.", "%1 kann nicht geöffnet werden: Zugriff verweigert. Das Gerät gehört der Gruppe \"%2\": Fügen Sie Ihren Benutzer hinzu (sudo usermod -aG %2 $USER), melden Sie sich dann ab und wieder an.", "No se puede abrir %1: permiso denegado. El dispositivo pertenece al grupo \"%2\": añada su usuario a él (sudo usermod -aG %2 $USER) y luego cierre la sesión y vuelva a iniciarla.", "Impossible d'ouvrir %1 : permission refusée. Le périphérique appartient au groupe « %2 » : ajoutez-y votre utilisateur (sudo usermod -aG %2 $USER), puis déconnectez-vous et reconnectez-vous.", "Impossibile aprire %1: permesso negato. Il dispositivo appartiene al gruppo \"%2\": aggiungervi il proprio utente (sudo usermod -aG %2 $USER), quindi uscire e accedere di nuovo.", "无法打开 %1:权限被拒绝。该设备属于组 \"%2\":请将您的用户加入该组(sudo usermod -aG %2 $USER),然后注销并重新登录。", "無法開啟 %1:權限遭拒。該裝置屬於群組 \"%2\":請將您的使用者加入該群組(sudo usermod -aG %2 $USER),然後登出並重新登入。"}},
    {167, {"Cannot open %1: the device is no longer there. Plug it in again, then choose its port.", "%1 kann nicht geöffnet werden: Das Gerät ist nicht mehr vorhanden. Stecken Sie es wieder ein und wählen Sie dann seinen Port.", "No se puede abrir %1: el dispositivo ya no está. Vuelva a conectarlo y elija su puerto.", "Impossible d'ouvrir %1 : le périphérique n'est plus là. Rebranchez-le, puis choisissez son port.", "Impossibile aprire %1: il dispositivo non è più presente. Ricollegarlo, quindi sceglierne la porta.", "无法打开 %1:设备已不存在。请重新插入,然后选择它的端口。", "無法開啟 %1:裝置已不存在。請重新插入,然後選擇它的連接埠。"}},
    {168, {"Cannot open %1: %2.", "%1 kann nicht geöffnet werden: %2.", "No se puede abrir %1: %2.", "Impossible d'ouvrir %1 : %2.", "Impossibile aprire %1: %2.", "无法打开 %1:%2。", "無法開啟 %1:%2。"}},
    {169, {"Cannot connect to %1: %2. Check the address.", "Keine Verbindung zu %1: %2. Prüfen Sie die Adresse.", "No se puede conectar con %1: %2. Compruebe la dirección.", "Impossible de se connecter à %1 : %2. Vérifiez l'adresse.", "Impossibile connettersi a %1: %2. Controllare l'indirizzo.", "无法连接到 %1:%2。请检查地址。", "無法連線到 %1:%2。請檢查位址。"}},
    {170, {"Cannot connect to %1: the connection was refused. Check that the device server is on and that the port number is right.", "Keine Verbindung zu %1: Die Verbindung wurde abgelehnt. Prüfen Sie, ob der Geräteserver eingeschaltet und die Portnummer richtig ist.", "No se puede conectar con %1: se rechazó la conexión. Compruebe que el servidor de dispositivos está encendido y que el número de puerto es correcto.", "Impossible de se connecter à %1 : la connexion a été refusée. Vérifiez que le serveur de périphériques est allumé et que le numéro de port est correct.", "Impossibile connettersi a %1: la connessione è stata rifiutata. Controllare che il server dei dispositivi sia acceso e che il numero di porta sia corretto.", "无法连接到 %1:连接被拒绝。请检查设备服务器是否已开启、端口号是否正确。", "無法連線到 %1:連線遭拒。請檢查裝置伺服器是否已開啟、連接埠號碼是否正確。"}},
    {171, {"Cannot connect to %1: the host cannot be reached. Check the address and the network.", "Keine Verbindung zu %1: Der Host ist nicht erreichbar. Prüfen Sie die Adresse und das Netzwerk.", "No se puede conectar con %1: no se puede llegar al host. Compruebe la dirección y la red.", "Impossible de se connecter à %1 : l'hôte est injoignable. Vérifiez l'adresse et le réseau.", "Impossibile connettersi a %1: l'host non è raggiungibile. Controllare l'indirizzo e la rete.", "无法连接到 %1:无法访问该主机。请检查地址和网络。", "無法連線到 %1:無法連上該主機。請檢查位址和網路。"}},
    {172, {"Cannot connect to %1: the host does not answer. Check the address and the network.", "Keine Verbindung zu %1: Der Host antwortet nicht. Prüfen Sie die Adresse und das Netzwerk.", "No se puede conectar con %1: el host no responde. Compruebe la dirección y la red.", "Impossible de se connecter à %1 : l'hôte ne répond pas. Vérifiez l'adresse et le réseau.", "Impossibile connettersi a %1: l'host non risponde. Controllare l'indirizzo e la rete.", "无法连接到 %1:该主机无应答。请检查地址和网络。", "無法連線到 %1:該主機沒有回應。請檢查位址和網路。"}},
    {173, {"Cannot connect to %1: %2.", "Keine Verbindung zu %1: %2.", "No se puede conectar con %1: %2.", "Impossible de se connecter à %1 : %2.", "Impossibile connettersi a %1: %2.", "无法连接到 %1:%2。", "無法連線到 %1:%2。"}},
    {174, {"the address is not of the form tcp://HOST:PORT", "die Adresse hat nicht die Form tcp://HOST:PORT", "la dirección no tiene la forma tcp://HOST:PUERTO", "l'adresse n'est pas de la forme tcp://HÔTE:PORT", "l'indirizzo non è nella forma tcp://HOST:PORTA", "地址不是 tcp://主机:端口 的形式", "位址不是 tcp://主機:連接埠 的形式"}},
    {175, {"the host name %1 cannot be resolved (%2)", "der Hostname %1 lässt sich nicht auflösen (%2)", "no se puede resolver el nombre de host %1 (%2)", "le nom d'hôte %1 ne peut pas être résolu (%2)", "impossibile risolvere il nome host %1 (%2)", "无法解析主机名 %1(%2)", "無法解析主機名稱 %1(%2)"}},
    {176, {"process %1", "Prozess %1", "proceso %1", "processus %1", "processo %1", "进程 %1", "處理程序 %1"}},
    {177, {"%1 (process %2)", "%1 (Prozess %2)", "%1 (proceso %2)", "%1 (processus %2)", "%1 (processo %2)", "%1(进程 %2)", "%1(處理程序 %2)"}},
    {178, {"Cannot %1 on %2: %3", "Fehler beim %1 (%2): %3", "No se puede %1 en %2: %3", "Impossible de %1 sur %2 : %3", "Impossibile %1 su %2: %3", "无法在 %2 上%1:%3", "無法在 %2 上%1:%3"}},
    {179, {"Cannot %1: %2", "Fehler beim %1: %2", "No se puede %1: %2", "Impossible de %1 : %2", "Impossibile %1: %2", "无法%1:%2", "無法%1:%2"}},
    {180, {"take the device for exclusive use", "exklusiven Belegen des Geräts", "tomar el dispositivo para uso exclusivo", "prendre le périphérique en usage exclusif", "prendere il dispositivo in uso esclusivo", "独占设备", "獨佔裝置"}},
    {181, {"set the baud rate %1", "Setzen der Baudrate %1", "ajustar la velocidad a %1 baudios", "régler la vitesse à %1 bauds", "impostare la velocità a %1 baud", "设置波特率 %1", "設定鮑率 %1"}},
    {182, {"read the line settings", "Lesen der Leitungseinstellungen", "leer la configuración de la línea", "lire les réglages de la ligne", "leggere le impostazioni della linea", "读取线路设置", "讀取線路設定"}},
    {183, {"set the line to %1 baud, 8 data bits, no parity, 1 stop bit", "Einstellen der Leitung auf %1 Baud, 8 Datenbits, keine Parität, 1 Stoppbit", "ajustar la línea a %1 baudios, 8 bits de datos, sin paridad, 1 bit de parada", "régler la ligne sur %1 bauds, 8 bits de données, sans parité, 1 bit d'arrêt", "impostare la linea a %1 baud, 8 bit di dati, nessuna parità, 1 bit di stop", "将线路设置为 %1 波特、8 个数据位、无校验、1 个停止位", "將線路設定為 %1 鮑、8 個資料位元、無同位、1 個停止位元"}},
    {184, {"flush the line", "Leeren der Leitung", "vaciar la línea", "vider la ligne", "svuotare la linea", "清空线路缓冲", "清空線路緩衝"}},
    {185, {"write to a closed port", "Schreiben auf einen geschlossenen Port", "escribir en un puerto cerrado", "transmettre sur un port fermé", "scrivere su una porta chiusa", "向已关闭的端口写入", "向已關閉的連接埠寫入"}},
    {186, {"write", "Schreiben", "escribir", "transmettre", "scrivere", "写入", "寫入"}},
    {187, {"wait to write", "Warten auf Schreibbereitschaft", "esperar para escribir", "patienter pour transmettre", "attendere per scrivere", "等待写入", "等待寫入"}},
    {188, {"create the receive thread's wake-up descriptor", "Anlegen des Weckdeskriptors für den Empfangsthread", "crear el descriptor de activación del hilo de recepción", "créer le descripteur de réveil du fil de réception", "creare il descrittore di risveglio del thread di ricezione", "创建接收线程的唤醒描述符", "建立接收執行緒的喚醒描述元"}},
    {189, {"start the receive thread", "Starten des Empfangsthreads", "iniciar el hilo de recepción", "démarrer le fil de réception", "avviare il thread di ricezione", "启动接收线程", "啟動接收執行緒"}},
    {190, {"write to a closed connection", "Schreiben auf eine geschlossene Verbindung", "escribir en una conexión cerrada", "transmettre sur une connexion fermée", "scrivere su una connessione chiusa", "向已关闭的连接写入", "向已關閉的連線寫入"}},
    {191, {"Cannot import %1:\n%2", "%1 kann nicht importiert werden:\n%2", "No se puede importar %1:\n%2", "Impossible d'importer %1 :\n%2", "Impossibile importare %1:\n%2", "无法导入 %1:\n%2", "無法導入 %1:\n%2"}},
    {192, {"it has more than %1 rows, the header included; Import reads up to %1", "die Datei hat mehr als %1 Zeilen einschließlich der Kopfzeile; importiert werden höchstens %1", "tiene más de %1 filas, incluida la cabecera; se importan como máximo %1", "il a plus de %1 lignes, en-tête compris ; l'importation en lit au plus %1", "ha più di %1 righe, intestazione inclusa; l'importazione ne legge al massimo %1", "文件超过 %1 行(含标题行);导入最多读取 %1 行", "檔案超過 %1 行(含標題行);導入最多讀取 %1 行"}},
    {193, {"it is larger than %1, the most Import reads from a .csv or .xls file", "die Datei ist größer als %1, die Höchstgröße beim Importieren einer .csv- oder .xls-Datei", "ocupa más de %1, lo máximo que se importa de un archivo .csv o .xls", "il dépasse %1, le maximum que l'importation lit dans un fichier .csv ou .xls", "supera %1, il massimo che l'importazione legge da un file .csv o .xls", "文件大于 %1,这是导入 .csv 或 .xls 文件的上限", "檔案大於 %1,這是導入 .csv 或 .xls 檔案的上限"}},
    {194, {"the quote that opens a field on line %1 is never closed", "das Anführungszeichen, das in Zeile %1 ein Feld öffnet, wird nie geschlossen", "la comilla que abre un campo en la línea %1 nunca se cierra", "le guillemet qui ouvre un champ à la ligne %1 n'est jamais fermé", "la virgoletta che apre un campo alla riga %1 non viene mai chiusa", "第 %1 行开始字段的引号没有闭合", "第 %1 行開始欄位的引號沒有閉合"}},
    {195, {"Cannot export to %1:\n%2", "Exportieren nach %1 nicht möglich:\n%2", "No se puede exportar a %1:\n%2", "Impossible d'exporter vers %1 :\n%2", "Impossibile esportare in %1:\n%2", "无法导出到 %1:\n%2", "無法匯出到 %1:\n%2"}},
    {196, {"The table has %1 rows; with the header row that is more than the %2 rows an .xls sheet holds. Export to an .xlsx file instead.", "Die Tabelle hat %1 Zeilen; mit der Kopfzeile sind das mehr als die %2 Zeilen, die ein .xls-Blatt fasst. Exportieren Sie stattdessen in eine .xlsx-Datei.", "La tabla tiene %1 filas; con la fila de cabecera son más de las %2 filas que caben en una hoja .xls. Exporte a un archivo .xlsx en su lugar.", "Le tableau a %1 lignes ; avec la ligne d'en-tête, cela dépasse les %2 lignes que contient une feuille .xls. Exportez plutôt vers un fichier .xlsx.", "La tabella ha %1 righe; con la riga di intestazione sono più delle %2 righe che un foglio .xls contiene. Esportare invece in un file .xlsx.", "表格有 %1 行;加上标题行超过了 .xls 工作表可容纳的 %2 行。请改为导出到 .xlsx 文件。", "表格有 %1 行;加上標題行超過了 .xls 工作表可容納的 %2 行。請改為匯出到 .xlsx 檔案。"}},
    {197, {"The table has %1 rows; with the header row that is more than the %2 rows a sheet holds.", "Die Tabelle hat %1 Zeilen; mit der Kopfzeile sind das mehr als die %2 Zeilen, die ein Blatt fasst.", "La tabla tiene %1 filas; con la fila de cabecera son más de las %2 filas que caben en una hoja.", "Le tableau a %1 lignes ; avec la ligne d'en-tête, cela dépasse les %2 lignes que contient une feuille.", "La tabella ha %1 righe; con la riga di intestazione sono più delle %2 righe che un foglio contiene.", "表格有 %1 行;加上标题行超过了工作表可容纳的 %2 行。", "表格有 %1 行;加上標題行超過了工作表可容納的 %2 行。"}},
    {198, {"a folder has that name", "ein Ordner hat diesen Namen", "una carpeta tiene ese nombre", "un dossier porte ce nom", "una cartella ha questo nome", "已有同名文件夹", "已有同名資料夾"}},
    {199, {"the folder %1 does not exist", "der Ordner %1 existiert nicht", "la carpeta %1 no existe", "le dossier %1 n'existe pas", "la cartella %1 non esiste", "文件夹 %1 不存在", "資料夾 %1 不存在"}},
    {200, {"the written file is incomplete", "die geschriebene Datei ist unvollständig", "el archivo escrito está incompleto", "le fichier écrit est incomplet", "il file scritto è incompleto", "写入的文件不完整", "寫入的檔案不完整"}},
    {201, {"this file type cannot be written", "dieser Dateityp kann nicht geschrieben werden", "este tipo de archivo no se puede escribir", "ce type de fichier ne peut pas être écrit", "questo tipo di file non può essere scritto", "无法写入此文件类型", "無法寫入此檔案類型"}},
    {202, {"the text of row %1, column %2 is longer than %3 characters", "der Text in Zeile %1, Spalte %2 ist länger als %3 Zeichen", "el texto de la fila %1, columna %2 tiene más de %3 caracteres", "le texte de la ligne %1, colonne %2 dépasse %3 caractères", "il testo della riga %1, colonna %2 supera %3 caratteri", "第 %1 行第 %2 列的文本超过 %3 个字符", "第 %1 行第 %2 欄的文字超過 %3 個字元"}},
    {203, {"the workbook could not be created", "die Arbeitsmappe konnte nicht angelegt werden", "no se pudo crear el libro", "le classeur n'a pas pu être créé", "impossibile creare la cartella di lavoro", "无法创建工作簿", "無法建立活頁簿"}},
    {204, {"the sheet \"%1\" could not be added", "das Blatt \"%1\" konnte nicht hinzugefügt werden", "no se pudo añadir la hoja \"%1\"", "la feuille « %1 » n'a pas pu être ajoutée", "impossibile aggiungere il foglio \"%1\"", "无法添加工作表 \"%1\"", "無法新增工作表 \"%1\""}},
    {205, {"row %1, column %2: %3", "Zeile %1, Spalte %2: %3", "fila %1, columna %2: %3", "ligne %1, colonne %2 : %3", "riga %1, colonna %2: %3", "第 %1 行第 %2 列:%3", "第 %1 行第 %2 欄:%3"}},
    {206, {"an .xls workbook is written with one sheet", "eine .xls-Arbeitsmappe wird mit einem Blatt geschrieben", "un libro .xls se escribe con una sola hoja", "un classeur .xls s'écrit avec une seule feuille", "una cartella di lavoro .xls si scrive con un solo foglio", ".xls 工作簿只写入一个工作表", ".xls 活頁簿只寫入一個工作表"}},
    {207, {"row %1, column %2 lies outside an .xls sheet (%3 rows, %4 columns)", "Zeile %1, Spalte %2 liegt außerhalb eines .xls-Blatts (%3 Zeilen, %4 Spalten)", "la fila %1, columna %2 queda fuera de una hoja .xls (%3 filas, %4 columnas)", "la ligne %1, colonne %2 est hors d'une feuille .xls (%3 lignes, %4 colonnes)", "la riga %1, colonna %2 è fuori da un foglio .xls (%3 righe, %4 colonne)", "第 %1 行第 %2 列超出 .xls 工作表范围(%3 行,%4 列)", "第 %1 行第 %2 欄超出 .xls 工作表範圍(%3 行,%4 欄)"}},
    {208, {"the workbook stream could not be created", "der Datenstrom der Arbeitsmappe konnte nicht angelegt werden", "no se pudo crear el flujo del libro", "le flux du classeur n'a pas pu être créé", "impossibile creare il flusso della cartella di lavoro", "无法创建工作簿数据流", "無法建立活頁簿資料流"}},
    {209, {"unknown error", "unbekannter Fehler", "error desconocido", "erreur inconnue", "errore sconosciuto", "未知错误", "未知錯誤"}},
    {210, {"%1 bytes", "%1 Bytes", "%1 bytes", "%1 octets", "%1 byte", "%1 字节", "%1 位元組"}},
    {211, {"%1 KB", "%1 KB", "%1 KB", "%1 Ko", "%1 KB", "%1 KB", "%1 KB"}},
    {212, {"%1 MB", "%1 MB", "%1 MB", "%1 Mo", "%1 MB", "%1 MB", "%1 MB"}},
    {213, {"%1 GB", "%1 GB", "%1 GB", "%1 Go", "%1 GB", "%1 GB", "%1 GB"}},
    {214, {"more than 4 GB", "mehr als 4 GB", "más de 4 GB", "plus de 4 Go", "più di 4 GB", "超过 4 GB", "超過 4 GB"}},
    {215, {"cannot open: %1", "Öffnen nicht möglich: %1", "no se puede abrir: %1", "ouverture impossible : %1", "impossibile aprire: %1", "无法打开:%1", "無法開啟:%1"}},
    {216, {"cannot close: %1", "Schließen nicht möglich: %1", "no se puede cerrar: %1", "fermeture impossible : %1", "impossibile chiudere: %1", "无法关闭:%1", "無法關閉:%1"}},
    {217, {"read error: %1", "Lesefehler: %1", "error de lectura: %1", "erreur de lecture : %1", "errore di lettura: %1", "读取错误:%1", "讀取錯誤:%1"}},
    {218, {"write error: %1", "Schreibfehler: %1", "error de escritura: %1", "erreur d'écriture : %1", "errore di scrittura: %1", "写入错误:%1", "寫入錯誤:%1"}},
    {219, {"the file cannot be read", "die Datei kann nicht gelesen werden", "no se puede leer el archivo", "le fichier ne peut pas être lu", "impossibile leggere il file", "无法读取该文件", "無法讀取該檔案"}},
    {220, {"the file cannot be read (%1)", "die Datei kann nicht gelesen werden (%1)", "no se puede leer el archivo (%1)", "le fichier ne peut pas être lu (%1)", "impossibile leggere il file (%1)", "无法读取该文件(%1)", "無法讀取該檔案(%1)"}},
    {221, {"not an .xls workbook", "keine .xls-Arbeitsmappe", "no es un libro .xls", "ce n'est pas un classeur .xls", "non è una cartella di lavoro .xls", "不是 .xls 工作簿", "不是 .xls 活頁簿"}},
    {222, {"an .xls workbook from before Excel 97, which Import does not read", "eine .xls-Arbeitsmappe von vor Excel 97, die nicht importiert werden kann", "un libro .xls anterior a Excel 97, que no se puede importar", "un classeur .xls antérieur à Excel 97, que l'importation ne lit pas", "una cartella di lavoro .xls precedente a Excel 97, che l'importazione non legge", "Excel 97 之前的 .xls 工作簿,导入无法读取", "Excel 97 之前的 .xls 活頁簿,導入無法讀取"}},
    {223, {"the file holds no workbook", "die Datei enthält keine Arbeitsmappe", "el archivo no contiene ningún libro", "le fichier ne contient aucun classeur", "il file non contiene alcuna cartella di lavoro", "文件中没有工作簿", "檔案中沒有活頁簿"}},
    {224, {"a damaged .xls workbook (its workbook stream claims %1 bytes)", "eine beschädigte .xls-Arbeitsmappe (ihr Datenstrom gibt %1 Bytes an)", "un libro .xls dañado (su flujo de libro declara %1 bytes)", "un classeur .xls endommagé (son flux de classeur annonce %1 octets)", "una cartella di lavoro .xls danneggiata (il suo flusso dichiara %1 byte)", "已损坏的 .xls 工作簿(其工作簿数据流声明有 %1 字节)", "已損壞的 .xls 活頁簿(其活頁簿資料流宣告有 %1 位元組)"}},
    {225, {"a damaged .xls workbook (its workbook stream cannot be read)", "eine beschädigte .xls-Arbeitsmappe (ihr Datenstrom kann nicht gelesen werden)", "un libro .xls dañado (su flujo de libro no se puede leer)", "un classeur .xls endommagé (son flux de classeur est illisible)", "una cartella di lavoro .xls danneggiata (il suo flusso non può essere letto)", "已损坏的 .xls 工作簿(无法读取其工作簿数据流)", "已損壞的 .xls 活頁簿(無法讀取其活頁簿資料流)"}},
    {226, {"a damaged .xls workbook (a record runs past the end of its stream)", "eine beschädigte .xls-Arbeitsmappe (ein Datensatz reicht über das Ende seines Datenstroms hinaus)", "un libro .xls dañado (un registro va más allá del final de su flujo)", "un classeur .xls endommagé (un enregistrement dépasse la fin de son flux)", "una cartella di lavoro .xls danneggiata (un record va oltre la fine del suo flusso)", "已损坏的 .xls 工作簿(某条记录超出其数据流末尾)", "已損壞的 .xls 活頁簿(某筆記錄超出其資料流末尾)"}},
    {227, {"a damaged .xls workbook (its shared string table is cut short)", "eine beschädigte .xls-Arbeitsmappe (ihre Tabelle gemeinsamer Zeichenfolgen ist abgeschnitten)", "un libro .xls dañado (su tabla de cadenas compartidas está cortada)", "un classeur .xls endommagé (sa table de chaînes partagées est tronquée)", "una cartella di lavoro .xls danneggiata (la sua tabella delle stringhe condivise è troncata)", "已损坏的 .xls 工作簿(其共享字符串表被截断)", "已損壞的 .xls 活頁簿(其共用字串表被截斷)"}},
    {228, {"a damaged .xls workbook (its shared string %1 is cut short)", "eine beschädigte .xls-Arbeitsmappe (ihre gemeinsame Zeichenfolge %1 ist abgeschnitten)", "un libro .xls dañado (su cadena compartida %1 está cortada)", "un classeur .xls endommagé (sa chaîne partagée %1 est tronquée)", "una cartella di lavoro .xls danneggiata (la sua stringa condivisa %1 è troncata)", "已损坏的 .xls 工作簿(其共享字符串 %1 被截断)", "已損壞的 .xls 活頁簿(其共用字串 %1 被截斷)"}},
    {229, {"a damaged .xls workbook (its first sheet is not where the workbook says)", "eine beschädigte .xls-Arbeitsmappe (ihr erstes Blatt liegt nicht dort, wo die Arbeitsmappe angibt)", "un libro .xls dañado (su primera hoja no está donde indica el libro)", "un classeur .xls endommagé (sa première feuille n'est pas là où le classeur l'indique)", "una cartella di lavoro .xls danneggiata (il suo primo foglio non è dove indica la cartella di lavoro)", "已损坏的 .xls 工作簿(其第一个工作表不在工作簿所指的位置)", "已損壞的 .xls 活頁簿(其第一個工作表不在活頁簿所指的位置)"}},
    {230, {"a damaged .xls workbook (its sheet claims %1 rows and %2 columns)", "eine beschädigte .xls-Arbeitsmappe (ihr Blatt gibt %1 Zeilen und %2 Spalten an)", "un libro .xls dañado (su hoja declara %1 filas y %2 columnas)", "un classeur .xls endommagé (sa feuille annonce %1 lignes et %2 colonnes)", "una cartella di lavoro .xls danneggiata (il suo foglio dichiara %1 righe e %2 colonne)", "已损坏的 .xls 工作簿(其工作表声明有 %1 行 %2 列)", "已損壞的 .xls 活頁簿(其工作表宣告有 %1 行 %2 欄)"}},
    {231, {"a damaged .xls workbook (the text of cell %1:%2 runs past its record)", "eine beschädigte .xls-Arbeitsmappe (der Text der Zelle %1:%2 reicht über ihren Datensatz hinaus)", "un libro .xls dañado (el texto de la celda %1:%2 va más allá de su registro)", "un classeur .xls endommagé (le texte de la cellule %1:%2 dépasse son enregistrement)", "una cartella di lavoro .xls danneggiata (il testo della cella %1:%2 va oltre il suo record)", "已损坏的 .xls 工作簿(单元格 %1:%2 的文本超出其记录)", "已損壞的 .xls 活頁簿(儲存格 %1:%2 的文字超出其記錄)"}},
    {232, {"the workbook has no sheet", "die Arbeitsmappe hat kein Blatt", "el libro no tiene ninguna hoja", "le classeur n'a aucune feuille", "la cartella di lavoro non ha fogli", "工作簿中没有工作表", "活頁簿中沒有工作表"}},
    {233, {"not an %1 workbook (%2)", "keine %1-Arbeitsmappe (%2)", "no es un libro %1 (%2)", "ce n'est pas un classeur %1 (%2)", "non è una cartella di lavoro %1 (%2)", "不是 %1 工作簿(%2)", "不是 %1 活頁簿(%2)"}},
    {234, {"not a readable %1 workbook: %2", "keine lesbare %1-Arbeitsmappe: %2", "no es un libro %1 legible: %2", "ce n'est pas un classeur %1 lisible : %2", "non è una cartella di lavoro %1 leggibile: %2", "不是可读的 %1 工作簿:%2", "不是可讀的 %1 活頁簿:%2"}},
    {235, {"not a readable %1 workbook (%2)", "keine lesbare %1-Arbeitsmappe (%2)", "no es un libro %1 legible (%2)", "ce n'est pas un classeur %1 lisible (%2)", "non è una cartella di lavoro %1 leggibile (%2)", "不是可读的 %1 工作簿(%2)", "不是可讀的 %1 活頁簿(%2)"}},
    {236, {"a damaged zip archive: %1", "ein beschädigtes Zip-Archiv: %1", "un archivo zip dañado: %1", "une archive zip endommagée : %1", "un archivio zip danneggiato: %1", "已损坏的 zip 压缩包:%1", "已損壞的 zip 壓縮檔:%1"}},
    {237, {"not a zip archive", "kein Zip-Archiv", "no es un archivo zip", "ce n'est pas une archive zip", "non è un archivio zip", "不是 zip 压缩包", "不是 zip 壓縮檔"}},
    {238, {"a damaged zip archive", "ein beschädigtes Zip-Archiv", "un archivo zip dañado", "une archive zip endommagée", "un archivio zip danneggiato", "已损坏的 zip 压缩包", "已損壞的 zip 壓縮檔"}},
    {239, {"a zip directory larger than %1", "ein Zip-Verzeichnis größer als %1", "un directorio zip de más de %1", "un répertoire zip de plus de %1", "una directory zip più grande di %1", "zip 目录大于 %1", "zip 目錄大於 %1"}},
    {240, {"its part %1 claims more bytes than the archive holds", "der Teil %1 gibt mehr Bytes an, als das Archiv enthält", "la parte %1 declara más bytes de los que contiene el archivo", "la partie %1 annonce plus d'octets que n'en contient l'archive", "la parte %1 dichiara più byte di quanti ne contenga l'archivio", "部件 %1 声明的字节数超过压缩包的大小", "部件 %1 宣告的位元組數超過壓縮檔的大小"}},
    {241, {"its part %1 unpacks to %2; Import reads parts of up to %3", "der Teil %1 ist entpackt %2 groß; importiert werden Teile bis %3", "la parte %1 ocupa %2 al descomprimirse; se importan partes de hasta %3", "la partie %1 fait %2 une fois décompressée ; l'importation lit des parties d'au plus %3", "la parte %1 occupa %2 una volta decompressa; l'importazione legge parti fino a %3", "部件 %1 解压后为 %2;导入最多读取 %3 的部件", "部件 %1 解壓後為 %2;導入最多讀取 %3 的部件"}},
    {242, {"its part %1 is too large", "der Teil %1 ist zu groß", "la parte %1 es demasiado grande", "la partie %1 est trop grande", "la parte %1 è troppo grande", "部件 %1 过大", "部件 %1 過大"}},
    {243, {"the unpacker could not start", "das Entpacken konnte nicht beginnen", "no se pudo iniciar el descompresor", "le décompresseur n'a pas pu démarrer", "impossibile avviare il decompressore", "无法启动解压程序", "無法啟動解壓程式"}},
    {244, {"its part %1 unpacks to more than the %2 bytes it declares", "der Teil %1 ist entpackt größer als die angegebenen %2 Bytes", "la parte %1 se descomprime en más de los %2 bytes que declara", "la partie %1 se décompresse en plus des %2 octets qu'elle annonce", "la parte %1 si decomprime in più dei %2 byte dichiarati", "部件 %1 解压后超过其声明的 %2 字节", "部件 %1 解壓後超過其宣告的 %2 位元組"}},
    {245, {"its part %1 cannot be unpacked", "der Teil %1 kann nicht entpackt werden", "la parte %1 no se puede descomprimir", "la partie %1 ne peut pas être décompressée", "la parte %1 non può essere decompressa", "部件 %1 无法解压", "部件 %1 無法解壓"}},
    {246, {"its part %1 unpacks to %2 of the %3 bytes it declares", "der Teil %1 ergibt entpackt %2 der angegebenen %3 Bytes", "la parte %1 se descomprime en %2 de los %3 bytes que declara", "la partie %1 se décompresse en %2 des %3 octets qu'elle annonce", "la parte %1 si decomprime in %2 dei %3 byte dichiarati", "部件 %1 解压后只有其声明的 %3 字节中的 %2 字节", "部件 %1 解壓後只有其宣告的 %3 位元組中的 %2 位元組"}},
    {247, {"the header of its part %1 is missing", "der Kopf des Teils %1 fehlt", "falta la cabecera de la parte %1", "l'en-tête de la partie %1 manque", "manca l'intestazione della parte %1", "缺少部件 %1 的头部", "缺少部件 %1 的標頭"}},
    {248, {"its part %1 runs past the end of the archive", "der Teil %1 reicht über das Ende des Archivs hinaus", "la parte %1 va más allá del final del archivo", "la partie %1 dépasse la fin de l'archive", "la parte %1 va oltre la fine dell'archivio", "部件 %1 超出压缩包末尾", "部件 %1 超出壓縮檔末尾"}},
    {249, {"its stored part %1 declares %2 bytes packed and %3 unpacked", "der unkomprimiert gespeicherte Teil %1 gibt %2 Bytes gepackt und %3 entpackt an", "la parte almacenada %1 declara %2 bytes comprimidos y %3 sin comprimir", "la partie stockée %1 annonce %2 octets compressés et %3 décompressés", "la parte memorizzata %1 dichiara %2 byte compressi e %3 decompressi", "存储部件 %1 声明压缩 %2 字节、解压 %3 字节", "儲存部件 %1 宣告壓縮 %2 位元組、解壓 %3 位元組"}},
    {250, {"its part %1 does not match its checksum", "der Teil %1 stimmt nicht mit seiner Prüfsumme überein", "la parte %1 no coincide con su suma de comprobación", "la partie %1 ne correspond pas à sa somme de contrôle", "la parte %1 non corrisponde al suo checksum", "部件 %1 与其校验和不符", "部件 %1 與其總和檢查碼不符"}},
    {251, {"the part %1 is missing", "der Teil %1 fehlt", "falta la parte %1", "la partie %1 manque", "manca la parte %1", "缺少部件 %1", "缺少部件 %1"}},
    {252, {"the part %1 is packed in a way the program does not read", "der Teil %1 ist auf eine Art gepackt, die das Programm nicht liest", "la parte %1 está comprimida de un modo que el programa no lee", "la partie %1 est compressée d'une façon que le programme ne lit pas", "la parte %1 è compressa in un modo che il programma non legge", "部件 %1 的压缩方式本程序无法读取", "部件 %1 的壓縮方式本程式無法讀取"}},
    {253, {"the part %1 is empty", "der Teil %1 ist leer", "la parte %1 está vacía", "la partie %1 est vide", "la parte %1 è vuota", "部件 %1 为空", "部件 %1 為空"}},
    {254, {"%1 at byte %2 of %3", "%1 bei Byte %2 von %3", "%1 en el byte %2 de %3", "%1 à l'octet %2 de %3", "%1 al byte %2 di %3", "%3 第 %2 字节处:%1", "%3 第 %2 位元組處:%1"}},
    {255, {"a document that does not end with a tag", "ein Dokument, das nicht mit einem Tag endet", "un documento que no termina con una etiqueta", "un document qui ne se termine pas par une balise", "un documento che non termina con un tag", "文档没有以标记结尾", "文件沒有以標記結尾"}},
    {256, {"an element that is never closed", "ein Element, das nie geschlossen wird", "un elemento que nunca se cierra", "un élément jamais fermé", "un elemento mai chiuso", "元素没有闭合", "元素沒有閉合"}},
    {257, {"an unclosed comment", "ein nicht geschlossener Kommentar", "un comentario sin cerrar", "un commentaire non fermé", "un commento non chiuso", "注释没有闭合", "註解沒有閉合"}},
    {258, {"an unclosed CDATA section", "ein nicht geschlossener CDATA-Abschnitt", "una sección CDATA sin cerrar", "une section CDATA non fermée", "una sezione CDATA non chiusa", "CDATA 段没有闭合", "CDATA 區段沒有閉合"}},
    {259, {"an unclosed processing instruction", "eine nicht geschlossene Verarbeitungsanweisung", "una instrucción de procesamiento sin cerrar", "une instruction de traitement non fermée", "un'istruzione di elaborazione non chiusa", "处理指令没有闭合", "處理指令沒有閉合"}},
    {260, {"an unclosed tag", "ein nicht geschlossenes Tag", "una etiqueta sin cerrar", "une balise non fermée", "un tag non chiuso", "标记没有闭合", "標記沒有閉合"}},
    {261, {"an end tag without its start tag", "ein End-Tag ohne Start-Tag", "una etiqueta de cierre sin su etiqueta de apertura", "une balise de fin sans sa balise de début", "un tag di chiusura senza il suo tag di apertura", "结束标记没有对应的开始标记", "結束標記沒有對應的開始標記"}},
    {262, {"an end tag that does not match its start tag", "ein End-Tag, das nicht zu seinem Start-Tag passt", "una etiqueta de cierre que no coincide con su etiqueta de apertura", "une balise de fin qui ne correspond pas à sa balise de début", "un tag di chiusura che non corrisponde al suo tag di apertura", "结束标记与开始标记不匹配", "結束標記與開始標記不相符"}},
    {263, {"a document type with an internal subset", "eine Dokumenttypdeklaration mit interner Teilmenge", "un tipo de documento con un subconjunto interno", "un type de document avec un sous-ensemble interne", "un tipo di documento con un sottoinsieme interno", "文档类型带有内部子集", "文件類型帶有內部子集"}},
    {264, {"an unclosed attribute value", "ein nicht geschlossener Attributwert", "un valor de atributo sin cerrar", "une valeur d'attribut non fermée", "un valore di attributo non chiuso", "属性值没有闭合", "屬性值沒有閉合"}},
    {265, {"a malformed reference", "ein fehlerhafter Verweis", "una referencia mal formada", "une référence mal formée", "un riferimento malformato", "引用格式错误", "參照格式錯誤"}},
    {266, {"a reference to the character U+0000", "ein Verweis auf das Zeichen U+0000", "una referencia al carácter U+0000", "une référence au caractère U+0000", "un riferimento al carattere U+0000", "引用了字符 U+0000", "參照了字元 U+0000"}},
    {267, {"a reference to half of a surrogate pair", "ein Verweis auf die Hälfte eines Surrogatpaars", "una referencia a la mitad de un par suplente", "une référence à la moitié d'une paire de substitution", "un riferimento a metà di una coppia surrogata", "引用了代理对的一半", "參照了代理對的一半"}},
    {268, {"an undefined entity", "eine nicht definierte Entität", "una entidad no definida", "une entité non définie", "un'entità non definita", "未定义的实体", "未定義的實體"}},
    {269, {"a cell reference outside the sheet", "ein Zellbezug außerhalb des Blatts", "una referencia de celda fuera de la hoja", "une référence de cellule hors de la feuille", "un riferimento di cella fuori dal foglio", "单元格引用超出工作表", "儲存格參照超出工作表"}},
    {270, {"a malformed cell reference", "ein fehlerhafter Zellbezug", "una referencia de celda mal formada", "une référence de cellule mal formée", "un riferimento di cella malformato", "单元格引用格式错误", "儲存格參照格式錯誤"}},
    {271, {"a malformed row number", "eine fehlerhafte Zeilennummer", "un número de fila mal formado", "un numéro de ligne mal formé", "un numero di riga malformato", "行号格式错误", "行號格式錯誤"}},
    {272, {"a row outside the sheet", "eine Zeile außerhalb des Blatts", "una fila fuera de la hoja", "une ligne hors de la feuille", "una riga fuori dal foglio", "行超出工作表", "行超出工作表"}},
    {273, {"a cell outside the sheet", "eine Zelle außerhalb des Blatts", "una celda fuera de la hoja", "une cellule hors de la feuille", "una cella fuori dal foglio", "单元格超出工作表", "儲存格超出工作表"}},
    {274, {"the package has no workbook", "das Paket enthält keine Arbeitsmappe", "el paquete no contiene ningún libro", "le paquet ne contient aucun classeur", "il pacchetto non contiene alcuna cartella di lavoro", "包中没有工作簿", "套件中沒有活頁簿"}},
    {275, {"the first sheet's part is not named", "der Teil des ersten Blatts ist nicht benannt", "la parte de la primera hoja no tiene nombre", "la partie de la première feuille n'est pas nommée", "la parte del primo foglio non ha nome", "第一个工作表的部件未命名", "第一個工作表的部件未命名"}},
    {276, {"a malformed row repeat", "eine fehlerhafte Zeilenwiederholung", "una repetición de filas mal formada", "une répétition de lignes mal formée", "una ripetizione di righe malformata", "行重复次数格式错误", "行重複次數格式錯誤"}},
    {277, {"a malformed cell repeat", "eine fehlerhafte Zellenwiederholung", "una repetición de celdas mal formada", "une répétition de cellules mal formée", "una ripetizione di celle malformata", "单元格重复次数格式错误", "儲存格重複次數格式錯誤"}},
    {278, {"a malformed space count", "eine fehlerhafte Leerzeichenanzahl", "un número de espacios mal formado", "un nombre d'espaces mal formé", "un numero di spazi malformato", "空格数格式错误", "空格數格式錯誤"}},
    {279, {"a run of spaces longer than the file", "eine Folge von Leerzeichen, die länger als die Datei ist", "una serie de espacios más larga que el archivo", "une suite d'espaces plus longue que le fichier", "una sequenza di spazi più lunga del file", "连续空格比文件还长", "連續空格比檔案還長"}},
    {280, {"Permission denied", "Zugriff verweigert", "Permiso denegado", "Permission refusée", "Permesso negato", "权限被拒绝", "權限遭拒"}},
    {281, {"No such file or directory", "Datei oder Ordner nicht gefunden", "No existe el archivo o la carpeta", "Fichier ou dossier introuvable", "File o cartella inesistente", "没有该文件或文件夹", "沒有該檔案或資料夾"}},
    {282, {"No space left on device", "Kein Platz mehr auf dem Datenträger", "No queda espacio en el disco", "Plus de place sur le disque", "Spazio esaurito sul disco", "磁盘空间不足", "磁碟空間不足"}},
    {283, {"Read-only file system", "Der Datenträger ist schreibgeschützt", "El disco es de solo lectura", "Le disque est en lecture seule", "Il disco è di sola lettura", "磁盘为只读", "磁碟為唯讀"}},
    {284, {"Is a directory", "Es ist ein Ordner", "Es una carpeta", "C'est un dossier", "È una cartella", "这是一个文件夹", "這是一個資料夾"}},
    {285, {"Not a directory", "Ein Teil des Pfads ist kein Ordner", "Una parte de la ruta no es una carpeta", "Une partie du chemin n'est pas un dossier", "Una parte del percorso non è una cartella", "路径中有一部分不是文件夹", "路徑中有一部分不是資料夾"}},
    {286, {"Input/output error", "Ein-/Ausgabefehler", "Error de entrada/salida", "Erreur d'entrée/sortie", "Errore di input/output", "输入/输出错误", "輸入/輸出錯誤"}},
    {287, {"Device or resource busy", "Gerät oder Ressource belegt", "Dispositivo o recurso ocupado", "Périphérique ou ressource occupé", "Dispositivo o risorsa occupati", "设备或资源忙", "裝置或資源忙碌"}},
    {288, {"File name too long", "Dateiname zu lang", "Nombre de archivo demasiado largo", "Nom de fichier trop long", "Nome del file troppo lungo", "文件名过长", "檔案名稱過長"}},
    {289, {"Disk quota exceeded", "Speicherkontingent überschritten", "Cuota de disco superada", "Quota de disque dépassé", "Quota del disco superata", "超出磁盘配额", "超出磁碟配額"}},
    {290, {"Too many open files", "Zu viele offene Dateien", "Demasiados archivos abiertos", "Trop de fichiers ouverts", "Troppi file aperti", "打开的文件过多", "開啟的檔案過多"}},
    {291, {"No such device", "Gerät nicht vorhanden", "No existe el dispositivo", "Périphérique inexistant", "Dispositivo inesistente", "没有该设备", "沒有該裝置"}},
    {292, {"Connection timed out", "Zeitüberschreitung", "Se agotó el tiempo de espera", "Délai dépassé", "Tempo scaduto", "超时", "逾時"}},
    {293, {"Connection closed", "Die Verbindung wurde geschlossen", "Se cerró la conexión", "La connexion a été fermée", "La connessione è stata chiusa", "连接已关闭", "連線已關閉"}},
    {294, {"Edits the PLU tables of weighing scales and loads them over a serial line.", "Bearbeitet die PLU-Tabellen von Waagen und lädt sie über eine serielle Leitung.", "Edita las tablas PLU de las básculas y las carga por una línea serie.", "Modifie les tables PLU des balances et les charge par une liaison série.", "Modifica le tabelle PLU delle bilance e le carica tramite una linea seriale.", "编辑电子秤的 PLU 表,并通过串口下载到秤中。", "編輯電子秤的 PLU 表,並透過序列埠下載到秤中。"}},
    {295, {"The simulated scale could not start: %1", "Die simulierte Waage konnte nicht starten: %1", "No se pudo iniciar la báscula simulada: %1", "La balance simulée n'a pas pu démarrer : %1", "Impossibile avviare la bilancia simulata: %1", "无法启动模拟秤:%1", "無法啟動模擬秤:%1"}},
    {296, {"Simulated scale (%1)", "Simulierte Waage (%1)", "Báscula simulada (%1)", "Balance simulée (%1)", "Bilancia simulata (%1)", "模拟秤(%1)", "模擬秤(%1)"}},
    {297, {"Copy", "Kopieren", "Copiar", "Copier", "Copia", "复制", "複製"}},
    {298, {"Copy whole row", "Ganze Zeile kopieren", "Copiar fila entera", "Copier toute la ligne", "Copia riga intera", "复制整行", "複製整行"}},
    {299, {"Paste", "Einfügen", "Pegar", "Coller", "Incolla", "粘贴", "貼上"}},
    {300, {"Acknowledged by the scale", "Von der Waage bestätigt", "Confirmado por la balanza", "Confirmé par la balance", "Confermato dalla bilancia", "秤已确认", "秤已確認"}},
    {301, {"Refused by the scale", "Von der Waage abgelehnt", "Rechazado por la balanza", "Refusé par la balance", "Rifiutato dalla bilancia", "秤已拒绝", "秤已拒絕"}},
    {302, {"No answer from the scale", "Keine Antwort von der Waage", "Sin respuesta de la balanza", "Pas de réponse de la balance", "Nessuna risposta dalla bilancia", "秤无应答", "秤無應答"}},
    {303, {"Not sent", "Nicht gesendet", "No enviado", "Non envoyé", "Non inviato", "未发送", "未發送"}},
    {304, {"Transfer…", "Übertragung…", "Transferencia…", "Transfert…", "Trasferimento…", "传输…", "傳輸…"}},
    {305, {"Transfer log", "Übertragungsprotokoll", "Registro de transferencias", "Journal des transferts", "Registro dei trasferimenti", "传输日志", "傳輸日誌"}},
    {306, {"Retries of a record without answer:", "Wiederholungen eines unbeantworteten Datensatzes:", "Reintentos de un registro sin respuesta:", "Nouvelles tentatives pour un enregistrement sans réponse:", "Tentativi per un record senza risposta:", "无应答记录的重发次数:", "無應答記錄的重發次數:"}},
    {307, {"Acknowledgement time-out:", "Zeitlimit für die Bestätigung:", "Tiempo de espera de la confirmación:", "Délai de confirmation:", "Tempo di attesa della conferma:", "确认超时:", "確認逾時:"}},
    {308, {"ms", "ms", "ms", "ms", "ms", "毫秒", "毫秒"}},
    {309, {"The last download stopped at row %1. Continue there, or start again from the first row?", "Die letzte Übertragung endete in Zeile %1. Dort fortsetzen oder wieder mit der ersten Zeile beginnen?", "La última transferencia se detuvo en la fila %1. ¿Continuar desde allí o empezar de nuevo desde la primera fila?", "Le dernier transfert s'est arrêté à la ligne %1. Reprendre à cette ligne ou recommencer à la première?", "L'ultimo trasferimento si è fermato alla riga %1. Riprendere da lì o ricominciare dalla prima riga?", "上次下载在第 %1 行停止。从该行继续,还是从第一行重新开始?", "上次下載在第 %1 行停止。從該行繼續,還是從第一行重新開始?"}},
    {310, {"Continue at row %1", "Ab Zeile %1 fortsetzen", "Continuar en la fila %1", "Reprendre à la ligne %1", "Riprendi dalla riga %1", "从第 %1 行继续", "從第 %1 行繼續"}},
    {311, {"Start from the first row", "Mit der ersten Zeile beginnen", "Empezar desde la primera fila", "Recommencer à la première ligne", "Ricomincia dalla prima riga", "从第一行开始", "從第一行開始"}},
    {312, {"The transfer log %1 could not be created.", "Das Übertragungsprotokoll %1 konnte nicht angelegt werden.", "No se pudo crear el registro de transferencias %1.", "Le journal des transferts %1 n'a pas pu être créé.", "Impossibile creare il registro dei trasferimenti %1.", "无法创建传输日志 %1。", "無法建立傳輸日誌 %1。"}},
    {313, {"No program was found to show the transfer log %1.", "Es wurde kein Programm gefunden, das das Übertragungsprotokoll %1 anzeigt.", "No se encontró ningún programa para mostrar el registro de transferencias %1.", "Aucun programme n'a été trouvé pour afficher le journal des transferts %1.", "Nessun programma trovato per mostrare il registro dei trasferimenti %1.", "找不到可显示传输日志 %1 的程序。", "找不到可顯示傳輸日誌 %1 的程式。"}},
};
// clang-format on

ELanguageColumn ColumnFor(int lcid)
{
    switch (lcid) {
    case 9: return kEnglish;
    case 7: return kGerman;
    case 10: return kSpanish;
    case 12: return kFrench;
    case 16: return kItalian;
    case 2052: return kChineseSimplified;
    case 3076: return kChineseTraditional;
    // Taiwan and Macao write Traditional characters, Singapore Simplified ones.
    case 1028:
    case 5124:
    case 31748: return kChineseTraditional;
    case 4100:
    case 4: return kChineseSimplified;
    default: break;
    }
    switch (lcid & 0x3FF) {
    case 7: return kGerman;
    case 10: return kSpanish;
    case 12: return kFrench;
    case 16: return kItalian;
    case 4: return kChineseSimplified;
    default: return kEnglish;
    }
}

// The table's texts as strings, made once: messages are built on the receive thread and for every row a check
// refuses, so a lookup copies a shared string instead of searching and decoding.
struct SDecodedTable
{
    std::vector<std::array<QString, kLanguageColumns>> texts; // by ID; empty where an ID has no text
    QList<unsigned> ids;
};

const SDecodedTable& DecodedTable()
{
    static const SDecodedTable table = [] {
        SDecodedTable decoded;
        unsigned highest = 0;
        for (const SLocalizedString& entry : kStrings)
            highest = std::max(highest, entry.id);
        decoded.texts.resize(highest + 1);
        for (const SLocalizedString& entry : kStrings) {
            for (int column = 0; column < kLanguageColumns; ++column)
                decoded.texts[entry.id][std::size_t(column)] = QString::fromUtf8(entry.text[column]);
            decoded.ids.append(entry.id);
        }
        std::sort(decoded.ids.begin(), decoded.ids.end());
        return decoded;
    }();
    return table;
}

} // namespace

QString LoadString(unsigned id, int lcid)
{
    const SDecodedTable& table = DecodedTable();
    if (id >= table.texts.size())
        return QString();
    return table.texts[id][std::size_t(ColumnFor(lcid))];
}

QString LoadString(unsigned id)
{
    return LoadString(id, Language::LanguageInForce());
}

QString MessageString(unsigned id)
{
    return LoadString(id, Language::MessageLanguage());
}

QString StringTableLanguageName(int lcid)
{
    static const char* const kNames[kLanguageColumns] = {"en", "de", "es", "fr", "it", "zh_CN", "zh_TW"};
    return QString::fromLatin1(kNames[ColumnFor(lcid)]);
}

bool MessagesInEnglish()
{
    return ColumnFor(Language::MessageLanguage()) == kEnglish;
}

QString MessageNumber(qint64 number)
{
    return Language::MessageLocale().toString(number);
}

QList<unsigned> StringTableIds()
{
    return DecodedTable().ids;
}
