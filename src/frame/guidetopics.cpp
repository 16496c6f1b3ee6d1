#include "frame/guidetopics.h"

namespace qv {
namespace {

// Paragraphs that two topics share are written once, so they read the same
// wherever they appear.

QString attachmentsParagraph()
{
    return QStringLiteral(
        "A ogni scheda si possono allegare fino a tre file di qualsiasi tipo, ciascuno con una breve descrizione: "
        "un programma, un curriculum, un modulo compilato e scansionato. Il pulsante Allega file apre la finestra "
        "degli allegati. Sfoglia... sceglie il file, che viene copiato nella cartella Documenti_Allegati all'interno "
        "della cartella del programma; Apri lo mostra con il programma a cui è associato; l'icona accanto al nome "
        "toglie il file dalla scheda, lasciandone la copia nella cartella. Applica e chiudi riporta file e descrizioni "
        "sulla scheda, che va poi salvata con Salva; Annulla chiude la finestra senza cambiare la scheda.");
}

QString attachmentsFolderParagraph()
{
    return QStringLiteral(
        "La cartella Documenti_Allegati è una sola per tutte le schede degli eventi e dei partecipanti, e ogni file "
        "vi conserva il proprio nome. Se un file con lo stesso nome è già presente, magari allegato a un'altra scheda, "
        "il programma chiede se sostituirlo: rispondendo Sì il nuovo file prende il posto del vecchio anche per le "
        "altre schede che lo citano; rispondendo No la scheda si riferisce al file già presente. Per conservare "
        "entrambi i file basta rinominare il nuovo prima di allegarlo. Un nome di file troppo lungo (più di 250 "
        "caratteri) o con caratteri che la scheda non può memorizzare viene rifiutato con un avviso: anche in questo "
        "caso si rinomina il file e si ripete l'operazione.");
}

QString unsavedChangesSentence()
{
    return QStringLiteral("Chi passa a un'altra scheda o esce dalla schermata senza salvare perde le modifiche: il "
                          "programma non chiede conferma.");
}

QStringList participantsTopic()
{
    return {
        QStringLiteral(
            "L'Anagrafica Partecipanti è la rubrica elettronica delle persone interessate agli eventi: partecipanti, "
            "organizzatori, relatori e altri contatti. Ogni persona si registra una volta sola; i suoi dati si "
            "importano poi con un clic nelle schede degli eventi, come organizzatore o come contatto per "
            "informazioni, e nelle prenotazioni dei posti, senza doverli digitare di nuovo. Oltre a conservare i "
            "dati anagrafici, la rubrica verifica la partita IVA, il codice fiscale, l'IBAN e il numero della carta "
            "di credito, e con un pulsante apre un nuovo messaggio di posta elettronica per la persona."),
        QStringLiteral(
            "Ogni scheda raccoglie cognome e nome, data, comune e provincia di nascita, sesso, recapito "
            "preferenziale, indirizzo, comune, provincia e CAP di residenza, modalità di pagamento preferita, "
            "telefono di casa, dell'ufficio e cellulare, fax, indirizzo e-mail, codice fiscale, numero e scadenza "
            "della carta di credito, partita IVA, IBAN, estremi del documento di identità, occupazione, stato "
            "civile, titoli e qualifiche, prodotti o servizi di interesse, zona di appartenenza, questioni in "
            "sospeso e note. La provincia si sceglie dall'elenco delle sigle oppure si digita; le sigle delle "
            "province, il codice fiscale e l'IBAN diventano maiuscoli mentre si scrive, e nelle caselle della carta "
            "di credito e della partita IVA si possono digitare soltanto cifre. Il tasto Invio porta alla casella "
            "successiva."),
        QStringLiteral(
            "Il pulsante Nuovo prepara una scheda vuota; Salva la inserisce in archivio e ne mostra il numero tra "
            "le frecce in basso a destra. Per salvare basta il cognome e nome: tutte le altre caselle sono "
            "facoltative. Le frecce mostrano la prima, la precedente, la successiva e l'ultima scheda in archivio. "
            "Per correggere una scheda la si richiama con le frecce o con la ricerca, si modificano i dati e si "
            "preme Salva, che aggiorna la scheda stessa. ")
            + unsavedChangesSentence(),
        QStringLiteral(
            "Nella casella Questioni in sospeso si annota ciò che resta da chiarire con la persona. Spuntando la "
            "casella Da ricontattare la scheda entra nell'elenco delle persone da richiamare, che il pulsante Da "
            "ricontattare mostra in ordine alfabetico insieme ai recapiti e alle questioni in sospeso; un doppio "
            "clic su una riga apre la scheda corrispondente. Risolta la questione, si toglie la spunta e si salva "
            "la scheda."),
        QStringLiteral(
            "Il pulsante Duplica velocizza l'inserimento dei familiari che abitano allo stesso indirizzo. Su una "
            "scheda già salvata prepara una nuova scheda con tutti gli stessi dati, compresa la spunta Da "
            "ricontattare, tranne i file allegati. Si correggono il nome e gli altri dati personali e si preme "
            "Salva, che aggiunge la nuova scheda in archivio senza toccare quella di partenza. Una scheda non "
            "ancora salvata non si può duplicare."),
        QStringLiteral(
            "Il pulsante Trova apre la ricerca: si scrivono una o più parole consecutive in una o più caselle, per "
            "esempio nel comune di residenza e nei prodotti di interesse insieme, si lasciano in bianco le altre e "
            "si preme Cerca. Sono elencate, in ordine alfabetico, le schede che contengono le parole di tutte le "
            "caselle compilate, senza distinzione tra maiuscole e minuscole. L'elenco si può scorrere, cercare con "
            "il pulsante Trova e stampare, e un doppio clic su una riga apre la scheda. Cercando senza compilare "
            "alcuna casella si ottiene l'elenco completo della rubrica."),
        attachmentsParagraph(),
        attachmentsFolderParagraph(),
        QStringLiteral(
            "I pulsanti accanto al codice fiscale, al numero della carta di credito, alla partita IVA e all'IBAN ne "
            "verificano la correttezza formale; di una partita IVA valida la verifica indica anche l'ufficio "
            "provinciale che l'ha rilasciata. Un codice fiscale di sole cifre è quello di un'azienda e viene "
            "verificato come partita IVA. Le verifiche si limitano a informare e non modificano la scheda. Il "
            "pulsante accanto all'indirizzo e-mail apre nel programma di posta elettronica un nuovo messaggio "
            "indirizzato alla persona."),
        QStringLiteral(
            "Anteprima mostra il foglio della scheda così come verrà stampato, Stampa lo stampa e Crea PDF lo salva "
            "nel file Partecipante.pdf nella cartella del programma, offrendo di aprirlo. Il foglio riporta la "
            "scheda così come appare sullo schermo, anche se non è ancora stata salvata. Esporta archivio copia "
            "l'intera rubrica nel file Partecipanti.xls, che Microsoft Excel e i comuni programmi per ufficio in "
            "grado di leggere i file XLS aprono direttamente."),
        QStringLiteral(
            "Il pulsante Importa aggiunge alla rubrica, in un solo passaggio, le persone di un elenco ricevuto da "
            "altri: un file CSV, una cartella di lavoro di Excel o un file di contatti vCard. La finestra che si apre "
            "mostra le prime righe del file, propone per ogni colonna il campo della scheda in cui andrà, controlla "
            "tutte le righe e segnala i doppioni prima di scrivere qualsiasi cosa; la sua guida spiega ogni "
            "passaggio."),
    };
}

QStringList eventsTopic()
{
    return {
        QStringLiteral(
            "L'applicazione Eventi Programmati conserva la storia di tutti gli eventi organizzati negli anni: "
            "convegni, conferenze, congressi, corsi, presentazioni e riunioni. Ogni evento ha la sua scheda, che "
            "si può stampare e distribuire a relatori, collaboratori e partecipanti. I posti a sedere non si "
            "prenotano qui: si prenotano in seguito, evento per evento, nell'applicazione Posti Assegnati, che "
            "riprende i dati dalla scheda dell'evento."),
        QStringLiteral(
            "La scheda descrive l'evento in quattro sezioni. Evento: titolo, tipologia, materie trattate, relatori, "
            "data e ora di inizio, data e ora di fine, sede e indirizzo. Organizzazione e contatti: organizzatore e "
            "contatto per informazioni con i rispettivi recapiti, collaboratori e criteri di ammissione. Pagamento: "
            "modalità di pagamento, quota di partecipazione, intestatario del conto corrente, IBAN, banca "
            "d'appoggio e anticipo richiesto. Note e adesioni: note, termine per le adesioni, numero totale dei "
            "posti e casella Al completo. Il tasto Invio porta alla casella successiva."),
        QStringLiteral(
            "Le date non si digitano: si scelgono dal calendario, che si apre con l'icona accanto alla casella "
            "oppure premendo un tasto qualsiasi nella casella stessa; i tasti Canc e Backspace la svuotano. Le "
            "caselle degli importi accettano soltanto cifre e la virgola e, appena lasciate, mostrano l'importo con "
            "almeno due decimali: 1500 diventa 1500,00. L'IBAN diventa maiuscolo mentre si scrive e si verifica con "
            "il pulsante accanto. Le icone accanto all'organizzatore e al contatto per informazioni importano nome "
            "e recapito di una persona dall'Anagrafica Partecipanti."),
        QStringLiteral(
            "La casella Al completo segnala che tutti i posti dell'evento sono stati assegnati. Il pulsante degli "
            "eventi disponibili elenca gli eventi ai quali è ancora possibile aderire: quelli non segnati come al "
            "completo il cui termine di adesione non è ancora passato (un evento il cui termine scade oggi compare "
            "ancora). Un doppio clic su una riga dell'elenco apre la scheda dell'evento."),
        QStringLiteral(
            "Il pulsante Nuovo prepara una scheda vuota; Salva la inserisce in archivio e ne mostra il numero nella "
            "barra in alto. Per salvare occorrono il titolo, la data di inizio, il termine di adesione e il numero "
            "totale dei posti (anche zero). Per modificare un evento già in archivio lo si richiama con le frecce, "
            "che mostrano la prima, la precedente, la successiva e l'ultima scheda, oppure con la ricerca; si "
            "correggono i dati e si preme Salva, che aggiorna la scheda stessa. ")
            + unsavedChangesSentence(),
        QStringLiteral(
            "Attenzione: non usare mai la scheda di un evento archiviato per registrarne uno nuovo scrivendoci "
            "sopra. Ogni evento è legato al proprio numero di scheda, e con quel numero l'applicazione Posti "
            "Assegnati ritrova le prenotazioni dei suoi posti: un evento scritto sopra un altro ne erediterebbe le "
            "prenotazioni. Per ogni nuovo evento si prepara una nuova scheda, con Nuovo oppure con Duplica."),
        QStringLiteral(
            "Il pulsante Trova apre la ricerca degli eventi: si scrivono una o più parole consecutive in una o più "
            "caselle, per esempio nel titolo e nella sede insieme, si lasciano in bianco le altre e si preme Cerca. "
            "Sono elencati, in ordine alfabetico di titolo, gli eventi che contengono le parole di tutte le caselle "
            "compilate, senza distinzione tra maiuscole e minuscole. L'elenco si può scorrere, cercare con il "
            "pulsante Trova e stampare, e un doppio clic su una riga apre la scheda. Cercando senza compilare "
            "alcuna casella si ottiene l'elenco di tutti gli eventi in archivio."),
        attachmentsParagraph(),
        attachmentsFolderParagraph(),
        QStringLiteral(
            "Il pulsante Duplica è pensato per gli eventi che si ripetono. Su una scheda già salvata prepara una "
            "nuova scheda che conserva titolo, tipologia, materie, relatori, sede, indirizzo, organizzazione e "
            "contatti, criteri di ammissione, dati di pagamento, note e numero dei posti, mentre svuota le date e "
            "gli orari di inizio e di fine, il termine di adesione, la casella Al completo e i file allegati. Si "
            "indicano le nuove date e si preme Salva, che aggiunge il nuovo evento in archivio con un nuovo numero "
            "senza toccare quello di partenza. Una scheda non ancora salvata non si può duplicare."),
        QStringLiteral(
            "Il pulsante Stampa stampa la scheda così come appare sullo schermo, anche se non è ancora stata "
            "salvata. I dati dell'evento sono richiamati automaticamente quando se ne prenotano i posti, e l'intero "
            "archivio degli eventi si può esportare in un foglio di Microsoft Excel con il pulsante Esporta, che "
            "crea il file Riepilogo_Eventi.xls nella cartella del programma."),
        QStringLiteral(
            "Il pulsante Calendario, accanto a Stampa, porta l'evento nel calendario personale: scrive la scheda "
            "nel file Evento_ seguito dal numero della scheda e dall'estensione .ics (per esempio Evento_12.ics) "
            "nella cartella del programma e lo apre con il programma di calendario del computer, che propone di "
            "aggiungere l'appuntamento con data, orari, sede e indirizzo. Un evento di più giorni con i suoi orari "
            "compare in ciascuno dei suoi giorni, dall'ora di inizio all'ora di fine; senza orari occupa i suoi "
            "giorni interi. Se il programma di calendario non si avvia, un messaggio dice dove si trova il file, "
            "che si può aprire a mano. Nel calendario va l'evento così come è "
            "salvato in archivio: una scheda nuova va prima salvata, e le modifiche non ancora salvate non vi "
            "compaiono. Aggiungendo di nuovo lo stesso evento dopo averlo modificato, i programmi di calendario "
            "aggiornano l'appuntamento invece di ripeterlo."),
    };
}

QStringList reservationsTopic()
{
    return {
        QStringLiteral(
            "L'applicazione Posti Assegnati prenota i posti a sedere di ciascun evento. Si entra con POSTI "
            "ASSEGNATI dal menu principale e si procede in due passi. Seleziona evento apre la ricerca degli "
            "eventi, dove un doppio clic sull'evento scelto ne riporta i dati principali nella schermata; Assegna "
            "posti apre la schermata di prenotazione di quell'evento. Senza la scheda di un evento non si possono "
            "prenotare posti: l'evento va prima registrato nell'applicazione Eventi Programmati. I tasti Canc e "
            "Backspace in una casella dell'evento scelto annullano la scelta; per prenotare i posti di un altro "
            "evento si torna al menu principale e si ripete la selezione."),
        QStringLiteral(
            "La schermata di prenotazione mostra in alto, in sola lettura, i dati dell'evento: titolo, numero "
            "totale dei posti, data e ora di inizio e di fine, sede e indirizzo. Sotto si trovano i dati della "
            "persona (cognome e nome, indirizzo, comune, provincia e CAP di residenza, codice fiscale, recapito "
            "preferenziale, telefono cellulare ed e-mail), che l'icona accanto al nome importa dall'Anagrafica "
            "Partecipanti; quindi il numero del posto, la sua ubicazione (per esempio la fila o il settore) e le "
            "annotazioni. Il numero del posto diventa maiuscolo mentre si scrive: a12 diventa A12."),
        QStringLiteral(
            "Nuovo prepara una scheda vuota per lo stesso evento; Salva la inserisce in archivio e ne mostra il "
            "numero tra le frecce, che scorrono le prenotazioni dell'evento. Per salvare occorrono il nome del "
            "partecipante e il numero del posto. Prima di salvare conviene premere Verifica disponibilità posto, "
            "che controlla se il posto è libero e, se non lo è, mostra a chi è già stato assegnato: la verifica "
            "informa soltanto, e il salvataggio non rifiuta un posto già occupato. Visualizza posti già prenotati "
            "elenca i posti assegnati in ordine di numero, con il nome di chi li occupa."),
        QStringLiteral(
            "Scelto l'evento, la selezione indica quante persone sono prenotate e quante di loro attendono "
            "conferma, quanti posti sono occupati sul totale e quanti sono liberi, con gli stessi conteggi della "
            "mappa, e il pulsante Mappa dei posti accanto ad Assegna posti apre la mappa della sala; dalla "
            "schermata di prenotazione la apre l'icona della mappa (tasti Ctrl+M). La mappa mostra i posti liberi, "
            "prenotati, in attesa di conferma e assegnati più volte; un doppio clic su un posto libero prepara una "
            "nuova scheda con quel posto. Accanto al numero del posto la schermata di prenotazione indica lo stato del "
            "posto quando si esce dalla casella, dopo ogni salvataggio e quando mostra una scheda: libero, già "
            "assegnato a chi lo occupa (o a quante persone), in attesa di conferma, oppure oltre il numero totale dei "
            "posti dell'evento. La scheda stessa non conta: il suo posto non risulta già assegnato a lei. "
            "L'indicazione non impedisce di salvare: come la verifica della disponibilità, informa soltanto."),
        QStringLiteral(
            "La casella Da confermare segnala una prenotazione in attesa di conferma. Il pulsante delle "
            "prenotazioni da confermare ne mostra l'elenco in ordine alfabetico, con recapiti e posto, così da "
            "poter richiamare quelle persone prima dell'evento; un doppio clic su una riga apre la scheda. "
            "Confermata la prenotazione, si toglie la spunta e si salva."),
        QStringLiteral(
            "Duplica serve quando la stessa persona occupa un posto in più sessioni o giornate dello stesso evento: "
            "su una scheda già salvata prepara una nuova scheda con gli stessi dati, svuotando soltanto il numero "
            "del posto. Si indica il nuovo posto e si preme Salva, che aggiunge una nuova prenotazione senza "
            "toccare quella di partenza. Una scheda non ancora salvata non si può duplicare."),
        QStringLiteral(
            "Il pulsante Trova cerca tra le prenotazioni dell'evento con uno o più filtri insieme: per esempio chi "
            "ha occupato un certo posto, chi proviene da un certo comune o le schede che contengono una parola "
            "nelle annotazioni. Sono elencate le schede che contengono le parole di tutte le caselle compilate, "
            "senza distinzione tra maiuscole e minuscole; un doppio clic su una riga apre la scheda."),
        QStringLiteral(
            "Invia notifica prepara nel programma di posta elettronica un messaggio che conferma la prenotazione al "
            "partecipante; occorrono il nome, l'indirizzo e-mail e il numero del posto, e non è necessario aver "
            "salvato la scheda. Il messaggio, che si può rileggere e modificare prima di inviarlo, ha per oggetto "
            "«Notifica prenotazione posto a sedere» e un testo come questo:")
            + kGuideLineBreak
            + QStringLiteral(
                "«Gentile Sig. Bianchi Anna, con la presente le notifichiamo l'avvenuta prenotazione a suo nome del "
                "posto a sedere n. 15 relativamente all'evento intitolato Convegno di primavera, che avrà inizio in "
                "data 12/03/2026 alle ore 09:30 presso la seguente sede: Aula Magna, ubicata in Via Roma 1. Con "
                "l'occasione, le porgiamo cordiali saluti.»"),
        QStringLiteral(
            "Il pulsante Stampa stampa la scheda della prenotazione, da consegnare al partecipante come "
            "promemoria. Per stampare l'elenco di tutti i partecipanti in ordine alfabetico si apre la ricerca, si "
            "preme Cerca senza compilare alcun filtro e si stampa l'elenco ottenuto; per stampare i posti assegnati "
            "in ordine di numero si stampa l'elenco di Visualizza posti già prenotati. Il pulsante Esporta copia "
            "tutte le prenotazioni dell'evento in un foglio di Microsoft Excel, il file Prenotazioni_Posti.xls "
            "nella cartella del programma."),
        QStringLiteral(
            "Nell'elenco di Visualizza posti già prenotati, Avviso a tutti prepara nel programma di posta "
            "elettronica un messaggio per tutti i prenotati dell'evento: i loro indirizzi e-mail, ciascuno una "
            "volta sola anche se ripetuto in più prenotazioni, vanno in copia nascosta (Ccn), così che nessuno veda "
            "gli indirizzi degli altri. L'oggetto è «Comunicazione relativa all'evento» seguito dal titolo; il testo "
            "comincia con il titolo, la data, l'ora, la sede e l'indirizzo dell'evento, e si completa prima di "
            "inviarlo. Con più di 50 indirizzi il programma, dopo averlo chiesto, prepara un messaggio ogni 50. Le "
            "prenotazioni senza indirizzo e-mail sono contate ed elencate in un avviso, per raggiungerle in altro "
            "modo."),
        QStringLiteral(
            "Per il giorno dell'evento, una volta scelto l'evento nella selezione compaiono le icone Accoglienza, "
            "che registra l'ingresso dei partecipanti, e Cartellini, che stampa i cartellini con il nome e un "
            "codice QR da leggere all'ingresso. I cartellini si stampano anche dall'elenco dei posti già prenotati "
            "e, per la sola scheda corrente, dalla schermata di prenotazione. Le due finestre hanno ciascuna la "
            "propria pagina della guida."),
    };
}

QStringList badgesTopic()
{
    return {
        QStringLiteral(
            "I cartellini sono le etichette con il nome che i partecipanti portano durante l'evento. Si stampano "
            "dalla selezione dell'evento con l'icona Cartellini, che si attiva una volta scelto l'evento, "
            "dall'elenco Visualizza posti già prenotati e dalla schermata di prenotazione. Ogni prenotazione con un "
            "posto assegnato ha il suo cartellino, e i cartellini escono nell'ordine dei posti, lo stesso "
            "dell'elenco dei posti già prenotati."),
        QStringLiteral(
            "Ogni cartellino riporta in alto il titolo dell'evento, poi il cognome e nome del partecipante, scritto "
            "in grande e rimpicciolito quanto serve perché entri sempre per intero, il posto (per esempio «Posto "
            "12»), la data di inizio dell'evento e un codice QR. Il codice identifica la prenotazione, cioè il "
            "numero dell'evento, il numero della scheda e il posto, nella forma QV1;E3;R12;P15: all'ingresso "
            "l'accoglienza dei partecipanti lo legge con un lettore di codici a barre."),
        QStringLiteral(
            "Nella finestra dei cartellini si sceglie quali prenotazioni stampare: tutte, soltanto quelle "
            "confermate (senza la spunta Da confermare) oppure, quando la finestra è aperta dalla schermata di "
            "prenotazione, soltanto la scheda corrente così come è salvata in archivio; una scheda non ancora "
            "salvata non ha cartellino. Si sceglie poi il foglio di etichette adesive A4: 8 cartellini da 99,1 x "
            "67,7 mm (2 colonne per 4 righe) oppure 10 cartellini da 99,1 x 57 mm (2 colonne per 5 righe). Sotto, "
            "la finestra dice quanti cartellini e quanti fogli servono."),
        QStringLiteral(
            "Anteprima mostra i fogli come verranno stampati. Stampa apre la finestra della stampante, dove la "
            "scala va lasciata al 100%, perché ogni cartellino cada sulla sua etichetta. Crea PDF scrive il file "
            "Cartellini_Evento seguito dal numero dell'evento e dai cartellini per foglio (per esempio "
            "Cartellini_Evento_3_8.pdf per il foglio da 8, Cartellini_Evento_3_10.pdf per quello da 10) nella cartella "
            "del programma e chiede se aprirlo; il file precedente viene sostituito soltanto quando il nuovo è "
            "completo. Se cambiano un nome o un posto basta ristampare il cartellino di quella scheda dalla "
            "schermata di prenotazione: il codice resta quello della scheda."),
    };
}

QStringList backupsTopic()
{
    return {
        QStringLiteral(
            "La finestra Copie di sicurezza si apre dal menu principale con l'icona accanto a Riconoscimenti. "
            "Elenca le copie della cartella Backup dalla pi\u00F9 recente, con la data, la dimensione e lo stato: "
            "da verificare, integra o danneggiata. Crea ora fa subito una copia: la copia viene riletta e "
            "confrontata con il suo manifesto prima di contare, e le copie pi\u00F9 vecchie si tolgono soltanto "
            "dopo. Verifica rilegge la copia scelta e dice quale file non corrisponde."),
        QStringLiteral(
            "Ripristina rimette gli archivi, il file della password e, se la copia li ha, gli allegati come erano "
            "al momento della copia. Prima di chiedere conferma la finestra dice in parole semplici che cosa "
            "cambia, per esempio \"le presenze registrate dopo questa copia saranno tolte: 6\". Il ripristino "
            "\u00E8 rifiutato mentre un'altra postazione sta scrivendo in un archivio: si chiude Quorvane sulle "
            "altre postazioni e si riprova. Lo stato di prima viene salvato in una nuova copia, e se un file non "
            "pu\u00F2 essere rimesso a posto quelli gi\u00E0 ripristinati tornano com'erano."),
        QStringLiteral(
            "In basso si sceglie quante copie conservare (con 0 la copia automatica del primo accesso del giorno "
            "non si fa) e se copiare anche gli allegati; Salva impostazioni le scrive nel file unins000.dll. Se la "
            "cartella del programma \u00E8 di sola lettura le copie sono disattivate e la finestra lo dice."),
    };
}

QStringList certificatesTopic()
{
    return {
        QStringLiteral(
            "Finito l'evento, chi vi ha partecipato riceve l'attestato di partecipazione. La finestra Attestati di "
            "partecipazione si apre dalla selezione dell'evento con l'icona Attestati, una volta scelto l'evento, "
            "e dall'elenco delle presenze dell'accoglienza. Elenca i prenotati in ordine di nome con i giorni in "
            "cui sono entrati, le ore di presenza quando le uscite sono registrate e, per ciascuno, se riceve "
            "l'attestato e perché."),
        QStringLiteral(
            "Chi riceve l'attestato dipende dalla regola scelta: i presenti in ogni giorno dell'evento (la regola "
            "predefinita), i presenti in almeno un giorno, oppure, se all'accoglienza sono state registrate le "
            "uscite, i presenti almeno per la percentuale indicata delle ore dell'evento. Le ore di un giorno "
            "sono quelle tra l'ora di inizio e l'ora di fine dell'evento, oppure, se mancano, la presenza più "
            "lunga registrata quel giorno. La spunta di ogni persona si può cambiare a mano prima di stampare, "
            "e resta anche cambiando regola."),
        QStringLiteral(
            "Il testo dell'attestato si scrive nella finestra: il titolo, il testo con i campi {Cliente}, "
            "{Titolo}, {DataInizio}, {DataFine}, {Sede}, {Giorni} (i giorni di presenza), {Ore} (le ore di "
            "presenza, quando note) e {Relatori}, il luogo e la data di rilascio (vuota: il giorno della stampa), "
            "il nome e il ruolo di chi firma, un logo e l'immagine della firma (file PNG o JPEG, copiati nella "
            "cartella del programma). Una riga del testo con un campo vuoto non viene stampata. Il testo si "
            "conserva nel file Attestato.txt, per tutti gli eventi, oppure nel file Attestato_Evento seguito dal "
            "numero dell'evento, solo per quell'evento; viene salvato alla stampa o alla creazione del PDF. Senza "
            "modifiche si usa un testo predefinito."),
        QStringLiteral(
            "Ogni attestato occupa una pagina A4 e porta il numero N. seguito dal numero dell'evento e da quello "
            "della scheda di prenotazione (per esempio N. 3/12), unico nell'evento, così una copia si distingue "
            "da un falso. Anteprima e Stampa funzionano come per le altre stampe; Crea PDF scrive "
            "Attestati_Evento seguito dal numero dell'evento nella cartella del programma e, se richiesto, un "
            "file per persona nella cartella Attestati_Evento_N, con il nome della persona nel nome del file."),
        QStringLiteral(
            "Il foglio firme serve dove l'accoglienza è su carta. Si apre dalla selezione dell'evento con l'icona "
            "Foglio firme e dall'accoglienza dei partecipanti; si sceglie il giorno (oggi, se non si sceglie). "
            "Ogni pagina A4 riporta il titolo dell'evento, la sede e la data del giorno, poi i prenotati in ordine "
            "di nome con il posto e le colonne Firma entrata e Firma uscita, con gli orari da scrivere a mano, e "
            "in fondo Pagina 1 di 3. Crea PDF scrive Foglio_Firme_Evento_N_aaaa-mm-gg.pdf nella cartella del "
            "programma."),
    };
}

QStringList statisticsTopic()
{
    return {
        QStringLiteral(
            "La finestra Statistiche mostra in grafici, ciascuno con la sua tabella di numeri, l'andamento di un "
            "evento o di un anno. Per un evento si apre dalla selezione dell'evento con l'icona Statistiche, una "
            "volta scelto l'evento; per un anno dalla scheda degli eventi con l'icona Statistiche, sull'anno "
            "dell'evento mostrato, che si può cambiare nella casella Anno."),
        QStringLiteral(
            "Per un evento: i posti prenotati, quelli da confermare, i liberi e quelli assegnati più volte, con "
            "gli stessi numeri della mappa dei posti; per ogni giorno dell'evento i presenti e gli usciti "
            "registrati all'accoglienza, con quanti sono stati presenti in ogni giorno e in almeno un giorno e quanti prenotati non sono "
            "mai venuti; per il giorno scelto nella casella Giorno degli arrivi, gli arrivi ogni quarto d'ora e, se "
            "quel giorno sono state registrate le uscite, quante persone erano in sala quarto d'ora per quarto "
            "d'ora; le province di residenza dei prenotati, le dieci più frequenti e le altre insieme sotto la voce altre."),
        QStringLiteral(
            "Per un anno: quanti eventi cominciano in ciascun mese, per ogni evento i posti prenotati a confronto "
            "con quelli offerti, le province di residenza di tutti i prenotati agli eventi dell'anno e quanti "
            "partecipanti sono da ricontattare, come nell'elenco dei partecipanti da ricontattare."),
        QStringLiteral(
            "Anteprima e Stampa mettono ogni grafico su una pagina, con il suo titolo e i suoi numeri; Crea PDF "
            "scrive Statistiche_Evento_N.pdf o Statistiche_aaaa.pdf nella cartella del programma; Salva PNG accanto "
            "a ogni tabella salva quel grafico come immagine. Se un "
            "archivio non si può leggere, la finestra lo dice e non mostra alcun numero. Gli stessi numeri si "
            "ottengono con il comando quorvane-cli stats."),
    };
}

QStringList checkInTopic()
{
    return {
        QStringLiteral(
            "L'accoglienza registra l'ingresso dei partecipanti in ogni giorno dell'evento, dalla data di inizio "
            "alla data di fine (un solo giorno se la data di fine manca), e, se servono le ore di presenza (per "
            "esempio per i crediti formativi), anche l'uscita. Si apre dalla selezione dell'evento con l'icona "
            "Accoglienza, accanto ad Assegna posti, una volta scelto l'evento, e resta aperta accanto alle altre "
            "finestre. Gli ingressi sono conservati nell'archivio Presenze_Evento seguito dal numero dell'evento "
            "(per esempio Presenze_Evento_3.pro) e le uscite in Uscite_Evento_3.pro, accanto all'archivio delle "
            "prenotazioni, che l'accoglienza legge soltanto e non modifica mai."),
        QStringLiteral(
            "In alto si sceglie che cosa registrare: Ingressi (Alt+I) oppure Uscite (Alt+U). Nella casella Codice, "
            "posto o nome si legge il codice QR del cartellino con un lettore di codici a barre, che scrive il "
            "codice e preme Invio da sé, oppure si digita il numero del posto o una parte del nome e si preme "
            "Invio. Un codice o un posto che corrisponde a una sola prenotazione registra subito l'ingresso: il "
            "riquadro sotto la casella diventa verde e mostra il nome, il posto e l'ora. Ogni persona entra una "
            "volta al giorno: se è già entrata oggi il riquadro diventa giallo, dice a che ora è stato registrato "
            "l'ingresso di oggi e non registra nulla; il giorno dopo lo stesso cartellino registra un nuovo "
            "ingresso. Una prenotazione ancora da confermare entra con il riquadro arancione e la scritta "
            "PRENOTAZIONE DA CONFERMARE, da verificare con la persona. Il cartellino di un altro evento o un codice "
            "illeggibile colorano il riquadro di rosso, senza registrare nulla."),
        QStringLiteral(
            "Le uscite si registrano allo stesso modo, una volta al giorno e soltanto per chi è entrato quel "
            "giorno: il riquadro dice le ore di presenza, cioè il tempo dall'ingresso all'uscita (per esempio "
            "8:30 ore)."),
        QStringLiteral(
            "Una parte del nome, senza distinzione tra maiuscole e minuscole né tra lettere accentate e non, "
            "elenca le prenotazioni che la contengono, e così un posto assegnato a più persone; le prenotazioni da "
            "confermare sono segnate DA CONFERMARE. Si sceglie la persona con le frecce e si preme Invio, oppure si "
            "fa doppio clic sulla riga. Il tasto Esc nell'elenco riporta alla casella."),
        QStringLiteral(
            "Chi arriva senza prenotazione si accoglie con Nuovo ingresso (Ctrl+N): si apre la scheda di "
            "prenotazione dell'evento con il nome scritto nella casella, dove si può anche importare la persona "
            "dall'anagrafica; si indica il posto e si salva, e la scheda si chiude registrando l'ingresso."),
        QStringLiteral(
            "A destra si sceglie il giorno da guardare (oggi, se non se ne sceglie un altro) e si leggono il "
            "conteggio «Presenti oggi X su Y prenotati», dove i prenotati sono le schede con un posto assegnato, "
            "e gli ultimi passaggi, dal più recente, con le ore di chi è uscito. Per correggere un ingresso o "
            "un'uscita registrati per errore li si seleziona in quell'elenco e si preme Annulla (Ctrl+Maiusc+Canc): "
            "il programma chiede conferma e lo segna come annullato; un ingresso che ha già la sua uscita si "
            "annulla dopo l'uscita. Il pulsante Elenco presenze mostra tutti i prenotati del giorno scelto, prima "
            "gli assenti e poi i presenti, in ordine di posto e con gli orari: l'elenco si può stampare, e un "
            "doppio clic o Invio su una riga porta in primo piano la scheda di quella prenotazione; chiudendo la "
            "scheda si torna all'accoglienza."),
        QStringLiteral(
            "Più postazioni possono accogliere i partecipanti insieme dalla stessa cartella condivisa: ogni "
            "ingresso e ogni uscita vengono decisi e scritti tenendo riservato il proprio archivio, perciò se due "
            "postazioni leggono lo stesso cartellino nello stesso istante il passaggio viene registrato una volta "
            "sola e l'altra postazione riceve l'avviso. Dalla riga di comando, quorvane-cli attendance seguito dal "
            "numero dell'evento elenca le prenotazioni con una colonna per giorno, e quorvane-cli checkin registra "
            "un ingresso (o con --exit un'uscita) con le stesse regole, per esempio da un chiosco."),
    };
}

QStringList seatMapTopic()
{
    return {
        QStringLiteral(
            "La mappa dei posti mostra a colpo d'occhio la sala di un evento: quali posti sono liberi, quali "
            "prenotati, quali in attesa di conferma e quali assegnati per errore a più persone. Si apre con il pulsante "
            "Mappa dei posti della selezione dell'evento, accanto ad Assegna posti, dopo aver scelto l'evento, oppure "
            "dalla schermata di prenotazione con l'icona della mappa o con i tasti Ctrl+M. La mappa legge soltanto "
            "l'archivio delle prenotazioni: non modifica nulla e non crea l'archivio di un evento che non ha ancora "
            "prenotazioni."),
        QStringLiteral(
            "In alto compaiono il titolo, le date, gli orari e la sede dell'evento, con il riepilogo, per esempio "
            "«12 prenotati (2 da confermare, 1 con posto fuori pianta), 10 posti occupati su 100, 90 liberi, 1 posto "
            "assegnato più volte». I prenotati sono le persone, cioè le schede con un posto scritto, qualunque esso "
            "sia: sono gli stessi prenotati dell'accoglienza; da confermare sono quelle di loro che attendono "
            "conferma; con posto fuori pianta quelle il cui posto non è uno dei numeri da 1 al totale dei posti (per "
            "esempio A5, 0 o 120 in una sala di 100). I posti occupati sono invece i posti da 1 al totale che hanno "
            "almeno una scheda, e i liberi quelli che non ne hanno: occupati e liberi fanno sempre il totale (se "
            "l'archivio non si legge per intero, con i posti di stato non noto). Un posto assegnato a due persone "
            "conta quindi due volte tra i prenotati, una volta tra i posti occupati e una volta tra quelli assegnati "
            "più volte. Sotto si trovano i posti numerati da 1 al numero totale indicato nella scheda dell'evento, "
            "disposti in file; gli altri posti presenti nell'archivio, come A5 o i numeri oltre il totale, seguono in "
            "file a parte, raggruppati per lettere iniziali e ordinati per numero. Maiuscole e minuscole non contano: "
            "a5 e A5 sono lo stesso posto, come nella verifica della disponibilità."),
        QStringLiteral(
            "Ogni stato ha un colore e un segno, spiegati nella legenda, così da riconoscerlo anche senza distinguere "
            "i colori e sulla stampa in bianco e nero: libero, bianco e senza segno; prenotato, blu con un segno di "
            "spunta; in attesa di conferma, giallo con una clessidra (tutte le schede che lo occupano sono da "
            "confermare); assegnato più volte, rosso con un doppio bordo e un punto esclamativo, che prevale sugli "
            "altri stati. Passando con il mouse su un posto se ne leggono il numero, chi lo occupa e lo stato, per "
            "esempio «Posto 12: Rossi Mario (in attesa di conferma)»; i lettori di schermo annunciano lo stesso testo "
            "per ogni posto. Di un posto occupato da più di quattro schede si leggono i primi quattro nomi e quante "
            "sono le altre persone."),
        QStringLiteral(
            "Un doppio clic su un posto libero apre la schermata di prenotazione con una nuova scheda dell'evento e "
            "il numero del posto già scritto; un doppio clic su un posto occupato mostra la scheda di chi lo occupa e, "
            "se le schede sono più di una, prima un elenco da cui sceglierla. Con la tastiera il tasto Tab porta "
            "sulla mappa, le frecce passano da un posto all'altro e Invio equivale al doppio clic. Poiché altre "
            "postazioni possono prenotare nel frattempo, la mappa rilegge l'archivio ogni volta che la sua finestra "
            "torna attiva e quando si preme Aggiorna."),
        QStringLiteral(
            "La casella Posti per fila stabilisce quanti posti compaiono in ogni fila; con il valore adatta alla "
            "finestra le file sono larghe quanto la finestra. La scelta vale per tutte le mappe e resta memorizzata "
            "nel file unins000.dll, sezione MappaPosti, chiave PostiPerFila. Stampa ed Esporta in PDF riproducono "
            "la mappa su fogli A4 orizzontali, con l'intestazione, il riepilogo e la legenda su ogni foglio e la data "
            "di stampa in fondo; una mappa che non sta in un foglio prosegue nei fogli successivi. Il PDF prende il "
            "nome dall'evento, per esempio Mappa_Posti_Evento_3.pdf, nella cartella del programma."),
        QStringLiteral(
            "Se l'archivio delle prenotazioni non si può leggere compare il messaggio di errore di accesso "
            "all'archivio, e i posti di cui non si conosce lo stato sono mostrati in grigio con un tratteggio, mai "
            "come liberi. Tornando al menu principale la mappa si chiude."),
    };
}

// `formats`: what "Salva come..." offers besides the XLS, XLSX and CSV files.
QStringList exportTopic(const QString &what, const QString &fileName, const QString &formats)
{
    return {
        QStringLiteral("Il pulsante di esportazione scrive %1 in un foglio di lavoro di Microsoft Excel, che può "
                       "essere aperto da qualsiasi programma in grado di leggere i file XLS.")
            .arg(what),
        QStringLiteral(
            "Nella finestra che si apre, la griglia mostra una riga per ogni scheda in archivio. Un clic sull'icona "
            "di Excel, dopo una domanda di conferma, crea subito il file %1 nella cartella del programma; "
            "rispondendo Sì alla domanda successiva il file viene aperto. Le celle delle colonne modificabili si "
            "possono correggere nella griglia prima di esportare: le correzioni finiscono soltanto nel file, mai "
            "nell'archivio.")
            .arg(fileName),
        QStringLiteral(
            "Il file viene sostituito a ogni esportazione: per conservarlo, lo si salva dal programma che lo ha "
            "aperto, nella cartella e con il nome che si desidera. Se l'esportazione non riesce, accertarsi che il "
            "file non sia già aperto e riprovare. Il pulsante Salva come... scrive invece la griglia, correzioni "
            "comprese, nella cartella e con il nome che si scelgono, nel formato scelto nell'elenco dei tipi di "
            "file (oppure indicato dall'estensione digitata nel nome): foglio XLS, come l'icona di Excel; cartella "
            "di lavoro di Excel (XLSX), che conserva i codici esattamente come sono scritti e tiene le date come "
            "date e gli importi come numeri in euro, da ordinare e sommare; file CSV separato da punto e virgola%1. "
            "Nella cartella di lavoro e nel CSV la data e l'ora di inizio e di fine, il comune e la sua provincia "
            "stanno in colonne separate, così che il file si possa anche importare di nuovo. Al termine il programma offre di aprire il file.")
            .arg(formats),
    };
}

QStringList importTopic()
{
    return {
        QStringLiteral(
            "Il pulsante Importa dell'Anagrafica Partecipanti aggiunge alla rubrica le persone di un elenco ricevuto "
            "da altri: un file CSV salvato da un foglio di calcolo (con il punto e virgola o la virgola come "
            "separatore, in UTF-8 o nella codifica di Windows), una cartella di lavoro di Excel (.xlsx, il primo "
            "foglio), un file XLS esportato dal programma stesso oppure un file di contatti vCard (.vcf) esportato "
            "da una rubrica. Nei file CSV e di Excel la prima riga deve contenere i nomi delle colonne. Un foglio "
            "di Excel 97-2003 (.xls) o OpenDocument (.ods) va prima salvato come .xlsx o CSV. Prima si sceglie il "
            "file, poi si apre la finestra di importazione; Scegli file... ne sceglie un altro."),
        QStringLiteral(
            "La finestra mostra le prime righe del file e, sopra ogni colonna, il campo della scheda in cui andrà, "
            "riconosciuto dall'intestazione: Nome, Cognome, Cognome e nome, E-mail, Cellulare, Telefono, Codice "
            "fiscale, Partita IVA, Indirizzo, CAP, Città o Comune, Provincia, Note, le etichette della scheda e "
            "altre intestazioni d'uso comune, anche quelle in inglese delle rubriche dei programmi di posta (First "
            "Name, Last Name, E-mail Address, Mobile Phone...). Un comune seguito dalla sigla della provincia, "
            "come lo scrivono le esportazioni XLS, viene diviso tra comune e provincia. Dei contatti vCard, ciò "
            "che la scheda non ha dove mettere (un secondo cellulare o indirizzo e-mail, l'organizzazione, un "
            "compleanno senza anno) è raccolto in colonne a parte, che si possono mandare nelle note. Le colonne Cognome e Nome formano insieme il cognome e nome della "
            "scheda, in quest'ordine. Il campo di una colonna si cambia dall'elenco sopra di essa; scegliendo (non "
            "importare) la colonna viene lasciata fuori. La prima colonna della tabella mostra il cognome e nome "
            "che ogni riga darà alla sua scheda. Sotto la tabella sono indicate le colonne lasciate fuori e, se un "
            "campo è scelto per due colonne o manca il nome, che cosa correggere."),
        QStringLiteral(
            "Prima di scrivere qualsiasi cosa il programma controlla tutte le righe del file ed elenca, con il "
            "numero della riga, tutto ciò che va segnalato: un testo più lungo del campo, che viene accorciato; un "
            "carattere che la scheda non può memorizzare, che diventa un punto interrogativo; una riga con più o "
            "meno valori dell'intestazione, importata con i valori presenti; una riga senza nome, che viene saltata. "
            "Valgono le regole della scheda: codice fiscale, IBAN, province, sesso e CAP in maiuscolo, soltanto "
            "cifre per la carta di credito e la partita IVA. Le date di nascita scritte in altro modo (1975-03-05, "
            "5/3/75) diventano gg/mm/aaaa; una data che non si riconosce resta com'è scritta, e viene segnalata. "
            "Un file che mescola codifiche diverse viene rifiutato "
            "indicando la riga da correggere, perché le lettere accentate non ne uscirebbero intatte."),
        QStringLiteral(
            "Una riga con lo stesso codice fiscale, oppure con gli stessi cognome e nome e data di nascita, di una "
            "scheda già in archivio o di una riga precedente del file è un doppione, ed è indicata come tale "
            "nell'elenco con il numero della scheda o della riga che ripete. I doppioni non vengono importati, a "
            "meno di contrassegnare la casella Importa anche i doppioni."),
        QStringLiteral(
            "Il pulsante Importa chiede conferma indicando quante schede verranno aggiunte, poi le aggiunge tutte "
            "in fondo all'archivio con un'unica scrittura e indica quante sono e con quali numeri. Con un file "
            "grande il controllo e l'importazione richiedono qualche secondo: una barra ne mostra l'avanzamento, "
            "la finestra resta utilizzabile e il pulsante Annulla interrompe l'operazione. Un'importazione "
            "annullata o non riuscita lascia l'archivio com'era: le schede vengono aggiunte tutte oppure nessuna. "
            "Lo stesso lavoro si può fare dalla riga di comando con quorvane-cli import participants seguito dal "
            "nome del file."),
    };
}

QStringList generalTopic()
{
    QStringList all{QStringLiteral(
        "Quorvane è un software semplice da usare per prenotare i posti a sedere in convegni, conferenze, congressi, "
        "presentazioni commerciali e meeting di ogni genere. È composto da tre applicazioni che lavorano insieme: "
        "l'Anagrafica Partecipanti, che raccoglie le persone interessate agli eventi; gli Eventi Programmati, che "
        "conservano la storia di tutti gli eventi organizzati; i Posti Assegnati, dove si prenotano i posti di ciascun "
        "evento importando i dati delle persone dall'anagrafica. Dal menu principale si entra in un'applicazione con "
        "un clic sulla sua immagine, sul suo titolo o sulla sua descrizione; ogni schermata di lavoro ha un pulsante "
        "che apre la pagina di questa guida a essa dedicata, e chiudendo la schermata si torna al menu principale.")};
    all += participantsTopic();
    all += eventsTopic();
    all += reservationsTopic();
    all += QStringLiteral(
        "Quorvane si può usare anche in una rete locale, per condividere gli archivi tra più postazioni: si copia la "
        "cartella del programma in una cartella condivisa e ogni postazione avvia il programma da lì. Ogni "
        "salvataggio riserva l'archivio per il solo istante della scrittura, tramite un file di blocco che resta "
        "accanto all'archivio (per esempio Eventi.pro.lock) e non va cancellato; così due postazioni che salvano "
        "nello stesso momento non si sovrascrivono a vicenda e ogni nuova scheda riceve un numero tutto suo. Se "
        "l'archivio resta occupato per qualche secondo, il salvataggio viene annullato con un avviso e si può "
        "ripetere. Se una postazione si spegne o si blocca durante un salvataggio, l'archivio non resta a metà: "
        "la prima postazione che lo apre o vi salva dopo di essa lo riporta com'era prima di quel salvataggio, "
        "grazie al file Eventi.pro.journal che il programma tiene accanto all'archivio soltanto durante la "
        "scrittura, e il blocco viene liberato subito dal sistema. Quando si salva una scheda che un'altra postazione ha modificato dopo che la si è "
        "aperta, il programma chiede se sovrascriverla: rispondendo No non si salva nulla, e richiamando la scheda "
        "si vedono le modifiche dell'altra postazione. Se la cartella condivisa consente soltanto la lettura, "
        "elenchi, ricerche, verifiche ed esportazioni funzionano comunque, mentre i salvataggi sono rifiutati con "
        "un avviso.");
    all += QStringLiteral(
        "Il programma funziona anche da una chiavetta USB: basta copiarvi l'intera cartella del programma. Tutti i "
        "dati si trovano in quella cartella (gli archivi Eventi.pro e Partecipanti.pro, un archivio "
        "Posti_Riservati_Evento per ogni evento, la cartella Documenti_Allegati e il file della password), perciò "
        "copiarla è anche il modo più rapido per fare una copia di sicurezza dei dati: conviene farlo spesso, a "
        "programma chiuso.");
    all += QStringLiteral(
        "Ogni giorno, al primo accesso, Quorvane fa da sé una copia di sicurezza dei dati nella cartella Backup "
        "della cartella del programma, in una sottocartella che porta la data e l'ora della copia (per esempio "
        "2024-05-01_093000): gli archivi, il file della password e l'elenco dei nomi degli allegati, con un "
        "manifesto che permette di verificarli. La copia si fa mentre si lavora; se dura più di un secondo compare "
        "una finestra che si può chiudere. Un archivio che non è cambiato dalla copia precedente non occupa nuovo "
        "spazio. Si conservano le 14 copie più recenti: il numero si cambia nel file unins000.dll, sezione Backup, "
        "chiave Copie (con 0 le copie automatiche non si fanno più), e con Allegati=1 nella stessa sezione si "
        "copiano anche gli allegati; le stesse impostazioni si cambiano dalla finestra Copie di sicurezza del menu "
        "principale, che elenca le copie, le verifica e le ripristina. Per ripristinare una copia anche senza "
        "finestra si chiude Quorvane su tutte le postazioni e si dà il comando quorvane-cli restore seguito dal "
        "nome della copia: prima di rimettere i file il programma "
        "salva lo stato attuale in una nuova copia, così anche il ripristino si può annullare. Il comando "
        "quorvane-cli backup list elenca le copie e dice se ciascuna è integra. Le copie stanno sullo stesso disco "
        "degli archivi: contro un guasto del disco conviene copiare di tanto in tanto la cartella Backup anche su "
        "un altro disco o su una chiavetta.");
    all += QStringLiteral(
        "L'accesso al programma è protetto da una password, che si può cambiare in qualsiasi momento con il "
        "pulsante Cambia password della finestra di accesso; maiuscole e minuscole non fanno differenza. Al primo "
        "accesso la parola chiave è cartolinavespa, da digitare senza virgolette. Si consiglia di sostituirla "
        "subito con una password personale e di conservarla con cura.");
    all += QStringLiteral(
        "Quorvane è consigliato ad aziende, associazioni ed enti pubblici che organizzano spesso eventi con posti "
        "riservati: tiene in ordine la storia degli eventi, la rubrica delle persone e le prenotazioni, senza "
        "digitare due volte gli stessi dati.");
    return all;
}

QStringList mailTopic()
{
    return {
        QStringLiteral(
            "Quorvane invia da sé la posta elettronica attraverso il server di posta in uscita che si indica nella "
            "finestra Posta elettronica, dal menu principale: server, porta, sicurezza (nessuna, STARTTLS oppure "
            "SSL/TLS), nome utente e password, indirizzo e nome del mittente, un eventuale indirizzo per le "
            "risposte e quanti messaggi al minuto il fornitore accetta (0: senza limite). Se il server usa un "
            "certificato di un'autorità aziendale, si indica il file PEM di quell'autorità. Il pulsante Invia un "
            "messaggio di prova manda un messaggio al mittente stesso."),
        QStringLiteral(
            "Le impostazioni stanno nel file unins000.dll, sezione Posta. La password no: la conserva il "
            "portachiavi del sistema, se c'è; altrimenti il programma la chiede una volta a ogni accesso e la "
            "tiene in memoria fino alla chiusura. Il comando quorvane-cli mail la legge dalla variabile "
            "QUORVANE_SMTP_PASSWORD o la chiede sul terminale senza mostrarla."),
        QStringLiteral(
            "Dalla selezione dell'evento, il pulsante E-mail invia le conferme di prenotazione (a tutti i prenotati, "
            "ai soli confermati o alla scheda corrente), ciascuna con l'evento, il posto della persona e il suo "
            "cartellino con codice QR in PDF; l'avviso a tutti i prenotati, un messaggio per persona; gli "
            "attestati di partecipazione a chi ne ha diritto, ciascuno con il suo PDF. La finestra mostra il primo "
            "messaggio, quanti ne partono e quali prenotati non hanno un indirizzo di posta elettronica; "
            "durante l'invio si può annullare tra un messaggio e l'altro."),
        QStringLiteral(
            "Ogni messaggio viene scritto per intero nella cartella Posta_In_Uscita prima di partire, con il suo "
            "stato: da inviare, inviato (con l'ora e la risposta del server), rifiutato (con le parole del "
            "server) o esito incerto. Più postazioni possono inviare dalla stessa cartella condivisa. Un "
            "messaggio non parte mai due volte: ripetendo l'invio delle conferme partono soltanto quelle nuove "
            "(un posto o un indirizzo cambiato fanno una nuova conferma). Se il server rinvia un messaggio "
            "(risposta 4xx) lo si ritenta dopo una breve attesa e poi con Invia ora; se lo rifiuta (5xx) il "
            "resoconto nomina la persona. Se l'invio si interrompe mentre il server riceveva un messaggio, quel "
            "messaggio resta con esito incerto: il server potrebbe averlo ricevuto, e lo si invia di nuovo "
            "soltanto scegliendolo nella scheda Posta in uscita e premendo Invia di nuovo."),
    };
}

} // namespace

QList<GuideTopic> guideTopics()
{
    return {GuideTopic::General,      GuideTopic::Participants,       GuideTopic::Events,
            GuideTopic::Reservations, GuideTopic::SeatMap,            GuideTopic::Badges,
            GuideTopic::CheckIn,      GuideTopic::Certificates,       GuideTopic::ParticipantsExport, GuideTopic::ParticipantsImport,
            GuideTopic::Statistics,   GuideTopic::EventsExport,       GuideTopic::ReservationsExport,
            GuideTopic::Backups,      GuideTopic::Mail};
}

QString guideTitle(GuideTopic topic)
{
    switch (topic) {
    case GuideTopic::General: return QStringLiteral("Uno sguardo a Quorvane.");
    case GuideTopic::Events: return QStringLiteral("Applicazione Eventi Programmati.");
    case GuideTopic::Participants: return QStringLiteral("Anagrafica Partecipanti.");
    case GuideTopic::Reservations: return QStringLiteral("Applicazione Posti Assegnati.");
    case GuideTopic::EventsExport: return QStringLiteral("Esportazione archivio eventi in Microsoft Excel.");
    case GuideTopic::ParticipantsExport: return QStringLiteral("Esportazione archivio partecipanti in Microsoft Excel.");
    case GuideTopic::ReservationsExport: return QStringLiteral("Esportazione archivio prenotazioni in Microsoft Excel.");
    case GuideTopic::ParticipantsImport: return QStringLiteral("Importazione dei partecipanti da un file.");
    case GuideTopic::SeatMap: return QStringLiteral("Mappa dei posti.");
    case GuideTopic::Badges: return QStringLiteral("Cartellini con codice QR.");
    case GuideTopic::CheckIn: return QStringLiteral("Accoglienza partecipanti.");
    case GuideTopic::Backups: return QStringLiteral("Copie di sicurezza.");
    case GuideTopic::Certificates: return QStringLiteral("Attestati di partecipazione e foglio firme.");
    case GuideTopic::Mail: return QStringLiteral("Posta elettronica.");
    case GuideTopic::Statistics: return QStringLiteral("Statistiche.");
    }
    return {};
}

QStringList guideParagraphs(GuideTopic topic)
{
    switch (topic) {
    case GuideTopic::General: return generalTopic();
    case GuideTopic::Events: return eventsTopic();
    case GuideTopic::Participants: return participantsTopic();
    case GuideTopic::Reservations: return reservationsTopic();
    case GuideTopic::EventsExport:
        return exportTopic(QStringLiteral("le schede degli eventi"), QStringLiteral("Riepilogo_Eventi.xls"),
                           QStringLiteral("; calendario iCalendar (ICS), che i programmi di calendario importano "
                                          "con un evento per scheda"));
    case GuideTopic::ParticipantsExport:
        return exportTopic(QStringLiteral("i dati anagrafici dei partecipanti"), QStringLiteral("Partecipanti.xls"),
                           QStringLiteral("; contatti vCard (VCF), che le rubriche dei programmi di posta e dei "
                                          "telefoni importano con un contatto per scheda"));
    case GuideTopic::ReservationsExport:
        return exportTopic(QStringLiteral("le prenotazioni dei posti dell'evento"),
                           QStringLiteral("Prenotazioni_Posti.xls"), QString());
    case GuideTopic::ParticipantsImport:
        return importTopic();
    case GuideTopic::SeatMap: return seatMapTopic();
    case GuideTopic::Badges: return badgesTopic();
    case GuideTopic::CheckIn: return checkInTopic();
    case GuideTopic::Backups: return backupsTopic();
    case GuideTopic::Certificates: return certificatesTopic();
    case GuideTopic::Mail: return mailTopic();
    case GuideTopic::Statistics: return statisticsTopic();
    }
    return {};
}

QString guideText(GuideTopic topic)
{
    return guideParagraphs(topic).join(kGuideParagraphBreak);
}

} // namespace qv
