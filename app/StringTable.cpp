#include "app/StringTable.h"

#include "app/Language.h"

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

} // namespace

QString LoadString(unsigned id, int lcid)
{
    const ELanguageColumn column = ColumnFor(lcid);
    for (const SLocalizedString& entry : kStrings) {
        if (entry.id == id)
            return QString::fromUtf8(entry.text[column]);
    }
    return QString();
}

QString LoadString(unsigned id)
{
    return LoadString(id, Language::LanguageInForce());
}
