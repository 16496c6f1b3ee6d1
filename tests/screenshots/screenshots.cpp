// Saves pictures of the windows at a given screen size, to look at the layout:
//   qv_screenshots <width> <height> <folder>
#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "app/tfrmcambiapassword.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "events/tfrmregistro.h"
#include "app/infowindows.h"
#include "app/tfrmcopie.h"
#include "mail/tfrminvioposta.h"
#include "mail/tfrmposta.h"
#include <QTabWidget>
#include "frame/guide.h"
#include <QRadioButton>
#include <memory>
#include <QPlainTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include "ui/style.h"
#include "ui/widgets.h"
#include "events/tfrmtrovaregistro.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmcalendario.h"
#include "events/tfrmallegacartella.h"
#include <QLineEdit>
#include "checks/checkwindows.h"
#include "output/sheetprintdialog.h"
#include "archive/records.h"
#include "core/programfolder.h"
#include "reservations/tfrmprenotazioni.h"
#include "reservations/tfrmconvalida.h"
#include "reservations/tfrmverificaposti.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmmappaposti.h"
#include "reservations/seatwidgets.h"
#include "eventday/attendance.h"
#include "stats/statisticspages.h"
#include "stats/tfrmstatistiche.h"
#include "eventday/badgecode.h"
#include "eventday/badges.h"
#include "eventday/tfrmaccoglienza.h"
#include "eventday/tfrmcartellini.h"
#include "eventday/tfrmattestati.h"
#include "eventday/certificatepages.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include "archive/records.h"
#include "core/programfolder.h"
#include "events/tfrmexpregistro.h"
#include "participants/tfrmexpclienti.h"
#include "participants/tfrmimportaclienti.h"
#include "reservations/tfrmexpprenotazioni.h"
#include <QFile>
#include <QTemporaryDir>
#include <QApplication>
#include <QTimer>
int main(int argc, char**argv){
  QApplication app(argc, argv);
  qv::applyHouseStyle(app);
  qv::createWindows();
  auto &w = qv::windows();
  const int W = argc > 1 ? atoi(argv[1]) : 1366, H = argc > 2 ? atoi(argv[2]) : 768;
  const QString dir = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(".");
  w.frmPassword->show(); app.processEvents(); w.frmPassword->grab().save(dir + "/password.png");
  w.frmCambiaPassword->show(); app.processEvents(); w.frmCambiaPassword->grab().save(dir + "/change.png");
  for (QWidget* x : {(QWidget*)w.frmAvvio, (QWidget*)w.frmMenuPrenotazioni, (QWidget*)w.frmRegistro, (QWidget*)w.frmClienti}) {
    x->setWindowState(Qt::WindowNoState); x->resize(W,H); x->show(); app.processEvents();
    x->grab().save(QString(dir + "/%1_%2.png").arg(x->objectName()).arg(W));
  }
  // The main menu's keyboard mark, on an entry and on a corner picture.
  w.frmAvvio->show(); QApplication::setActiveWindow(w.frmAvvio); app.processEvents();
  w.frmAvvio->btnEventi->setFocus(Qt::TabFocusReason); app.processEvents();
  w.frmAvvio->grab().save(QString(dir + "/frmAvvio_focus_entry_%1.png").arg(W));
  w.frmAvvio->imgGuida->setFocus(Qt::TabFocusReason); app.processEvents();
  w.frmAvvio->grab().save(QString(dir + "/frmAvvio_focus_corner_%1.png").arg(W));
  {
    // The participant card again with every box filled, to see the texts fit.
    TfrmClienti *c = w.frmClienti;
    for (QLineEdit *box : c->findChildren<QLineEdit *>())
      if (box->isVisible()) box->setText(QString("Abcdefghilmnopqrstuvz 0123456789").left(box->maxLength()));
    c->chkRicontatta->setChecked(true);
    c->lblPosizione->setText("12345");
    c->grab().save(QString(dir + "/frmClienti_filled_%1.png").arg(W));
  }
  TfrmGuida g; g.lblTitolo->setText(qv::guideTitle(qv::GuideTopic::General)); g.txtGuida->setPlainText(qv::guideText(qv::GuideTopic::General)); g.show(); app.processEvents(); g.grab().save(dir + "/guide.png");
  TfrmInfo i; i.show(); app.processEvents(); i.grab().save(dir + "/info.png");
  TfrmSplash s; s.show(); app.processEvents(); s.grab().save(dir + "/splash.png");
  TfrmCopie copie; copie.show(); app.processEvents(); copie.grab().save(dir + "/copie.png");
  const auto dialog = [&](QWidget &d, const QString &name) {
    d.show(); app.processEvents(); d.grab().save(dir + "/" + name + ".png");
  };
  { TfrmTrovaRegistro d; dialog(d, "trovaregistro"); }
  { TfrmDaAderire d; dialog(d, "daaderire"); }
  { TfrmTrovaClienti d; dialog(d, "trovaclienti"); }
  { TfrmRicontatta d; dialog(d, "ricontatta"); }
  { TfrmCalendario d; dialog(d, "calendario"); }
  { TfrmAllegaCartella d; d.txtFile[0]->setText("Programma del convegno.pdf"); d.txtDesc[0]->setText("Programma dei lavori");
    dialog(d, "allegacartella"); }
  { TfrmCodFisc d; dialog(d, "codfisc"); }
  { TfrmPartitaIva d; dialog(d, "partitaiva"); }
  { TfrmCarta d; dialog(d, "carta"); }
  { TfrmIban d; dialog(d, "iban"); }
  { TfrmStampaRegistro d(w.frmRegistro); dialog(d, "stamparegistro"); }

  // The reservation card and its dialogs, on a small sample event.
  QTemporaryDir sample;
  qv::ProgramFolder::setOverride(sample.path());
  {
    const QList<QStringList> rows{
      {"Rossi Mario", "Roma", "RM", "06 5550123", "333 1234567", "12", "Platea, fila B", "Relatore", "No"},
      {"Bianchi Anna", "Milano", "MI", "02 5550456", "347 7654321", "12", "Platea, fila B", "", "S\u00EC"},
      {"Esposito Carla", "Napoli", "NA", "081 5550789", "320 1112233", "2", "Platea, fila A", "Ospite VIP", "No"},
      {"Verdi Luca", "Torino", "TO", "011 5550111", "339 4445566", "A1", "Galleria", "", "S\u00EC"},
    };
    QFile f(qv::TSchedaPrenotazione::archivePath(1));
    f.open(QIODevice::WriteOnly);
    for (const QStringList &r : rows) {
      qv::TSchedaPrenotazione b;
      b.setText("Cliente", r[0]); b.setText("ComuneRes", r[1]); b.setText("ProvRes", r[2]);
      b.setText("Recapito", r[3]); b.setText("TelCel", r[4]); b.setText("Posto", r[5]);
      b.setText("Numero", qv::TSchedaPrenotazione::Numero(r[5])); b.setText("Ubicazione", r[6]);
      b.setText("Annotazioni", r[7]); b.setText("DaConfermare", r[8]);
      f.write(b.bytes());
    }
  }
  TfrmPrenotazioni *card = w.frmPrenotazioni;
  card->lblFile->setText(qv::TSchedaPrenotazione::archivePath(1));
  card->txtTitolo->setText("Convegno nazionale sulla sicurezza informatica");
  card->txtPosti->setText("120"); card->txtDataInizio->setText("12/03/2022"); card->txtOraInizio->setText("09:30");
  card->txtDataFine->setText("13/03/2022"); card->txtOraFine->setText("18:00");
  card->txtSede->setText("Aula Magna"); card->txtIndirizzo->setText("Via Roma 1, Roma");
  card->setWindowState(Qt::WindowNoState); card->resize(W, H); card->show(); app.processEvents();
  card->grab().save(QString(dir + "/frmPrenotazioni_new_%1.png").arg(W));
  card->cmdPrimoClick(); card->txtCliente->setFocus(); app.processEvents();
  card->grab().save(QString(dir + "/frmPrenotazioni_%1.png").arg(W));
  // The card's seat line on a seat held twice, then the seat map of the event.
  card->btnNuovoClick(); card->txtPosto->setText("12"); card->updateSeatState(); app.processEvents();
  card->grab().save(QString(dir + "/frmPrenotazioni_seat_%1.png").arg(W));
  card->txtPosto->setText("500"); card->updateSeatState(); app.processEvents();
  card->grab().save(QString(dir + "/frmPrenotazioni_seat500_%1.png").arg(W));
  {
    TfrmMappaPosti m(card->boundEvent(), {});
    m.resize(W, H); m.show(); QApplication::setActiveWindow(&m); app.processEvents();
    m.grdPosti->setFocus(); m.grdPosti->setCurrent(11); app.processEvents();
    m.grab().save(QString(dir + "/frmMappaPosti_%1.png").arg(W));
    qv::page::renderPage(m.document(), 0, 110).save(dir + "/mappaposti_stampa.png");
  }
  {
    // The event selection with its event chosen: its bookings counted, the map's picture usable.
    TfrmMenuPrenotazioni *menu = w.frmMenuPrenotazioni;
    menu->setWindowState(Qt::WindowNoState); menu->resize(W, H); menu->show(); app.processEvents();
    menu->lblPosizione->setText("1"); menu->txtTitolo->setText(card->txtTitolo->text());
    menu->txtDataInizio->setText("12/03/2022"); menu->txtOraInizio->setText("09:30");
    menu->txtDataFine->setText("13/03/2022"); menu->txtOraFine->setText("18:00");
    menu->txtSede->setText("Aula Magna"); menu->txtIndirizzo->setText("Via Roma 1, Roma");
    menu->txtPosti->setText("120"); menu->updateBookedCount();
    app.processEvents();
    menu->grab().save(QString(dir + "/frmMenuPrenotazioni_chosen_%1.png").arg(W));
    menu->hide();
    card->show();
  }
  { TfrmConvalida d(qv::TSchedaPrenotazione::archivePath(1), "12", card);
    d.txtConvalida->setText(TfrmConvalida::heading("12")); dialog(d, "convalida_taken"); }
  { TfrmConvalida d(qv::TSchedaPrenotazione::archivePath(1), "7", card);
    d.txtConvalida->setText(TfrmConvalida::heading("7")); dialog(d, "convalida_free"); }
  { TfrmVerificaPosti d(card); dialog(d, "verificaposti"); }
  { TfrmDaConfermare d(card); dialog(d, "daconfermare"); }
  { TfrmTrovaPrenotazioni d(card); dialog(d, "trovaprenotazioni");
    d.btnCercaClick(); app.processEvents(); d.grab().save(dir + "/trovaprenotazioni_result.png"); }
  // The day of the event (the event selection above shows its pictures):
  // the badges' window and a page of badges, the check-in and its list.
  { TfrmCartellini d(qv::TSchedaPrenotazione::archivePath(1), card->eventInfo(), card, 1); dialog(d, "cartellini"); }
  // After the event: the certificates' window and a certificate, the signature sheet.
  { TfrmAttestati d(card->eventInfo(), qv::TSchedaPrenotazione::archivePath(1), card); d.optUnGiorno->setChecked(true);
    dialog(d, "attestati"); }
  { TfrmFoglioFirme d(card->eventInfo(), qv::TSchedaPrenotazione::archivePath(1), QDate::currentDate(), card);
    dialog(d, "fogliofirme"); }
  // Mail sent by the program: its settings and the sending window of the event.
  { TfrmPosta d(card); d.txtServer->setText("smtp.esempio.it"); d.txtUtente->setText("segreteria");
    d.txtMittente->setText("segreteria@esempio.it"); d.txtNomeMittente->setText("Segreteria Congressi");
    dialog(d, "posta"); d.tabPagine->setCurrentIndex(1); dialog(d, "posta_uscita"); }
  { TfrmInvioPosta d(card->eventInfo(), MailUse::Confirmations, card, 1); dialog(d, "invioposta"); }
  // The statistics of the event and of its year, and a page of them.
  { TfrmStatistiche d(1, card); dialog(d, "statistiche");
    qv::page::renderPage(qv::StatisticsPages::document(d.result()), 0, 100).save(dir + "/statistiche_page.png"); }
  { std::unique_ptr<TfrmStatistiche> d(TfrmStatistiche::ofYear(QDate::currentDate().year(), card));
    dialog(*d, "statistiche_anno"); }
  {
    const auto bookings = qv::Bookings::read(qv::TSchedaPrenotazione::archivePath(1));
    qv::Certificates::Person person;
    person.booking = bookings.value(0);
    person.days = {QDate::currentDate()};
    const auto setting = qv::CertificatePages::Setting::make(card->eventInfo(), qv::Certificates::Template::standard(),
                                                             QDate::currentDate());
    qv::page::Document doc = qv::CertificatePages::document(setting, {person});
    qv::page::renderPage(doc, 0, 100).save(dir + "/attestato.png");
    qv::page::renderPage(qv::CertificatePages::signatureSheet(card->eventInfo(), bookings, QDate::currentDate()), 0, 100)
        .save(dir + "/fogliofirme_page.png");
  }
  for (const qv::Badges::LabelSheet *sheet : {&qv::Badges::eightPerPage(), &qv::Badges::tenPerPage()}) {
    const qv::page::Document badges = qv::Badges::document(
        card->eventInfo(), qv::Bookings::read(qv::TSchedaPrenotazione::archivePath(1)), *sheet);
    qv::page::renderPage(badges, 0, 150).save(QString(dir + "/badges_%1.png").arg(sheet->perPage()));
    // The PDF too, to read back with pdftoppm and a QR decoder.
    qv::PageOutput::writePdf(badges, QString(dir + "/badges_%1.pdf").arg(sheet->perPage()));
  }
  {
    qv::Attendance::checkIn(qv::TSchedaPresenza::archivePath(1), 4, "A1", QDateTime::currentDateTime().addSecs(-600));
    TfrmAccoglienza d(card->eventInfo(), qv::TSchedaPrenotazione::archivePath(1), card);
    d.setWindowState(Qt::WindowNoState); d.resize(W, H); d.show(); app.processEvents();
    d.txtCodice->setText(QString::fromLatin1(qv::BadgeCode::text(1, 3, "2"))); d.txtCodiceEnter(); app.processEvents();
    d.grab().save(QString(dir + "/frmAccoglienza_%1.png").arg(W));
    d.txtCodice->setText("12"); d.txtCodiceEnter(); app.processEvents();
    d.grab().save(QString(dir + "/frmAccoglienza_choose_%1.png").arg(W));
    d.txtCodice->setText(QString::fromLatin1(qv::BadgeCode::text(1, 3, "2"))); d.txtCodiceEnter(); app.processEvents();
    d.grab().save(QString(dir + "/frmAccoglienza_again_%1.png").arg(W));
    d.optUscite->setChecked(true);
    d.txtCodice->setText(QString::fromLatin1(qv::BadgeCode::text(1, 4, "A1"))); d.txtCodiceEnter(); app.processEvents();
    d.grab().save(QString(dir + "/frmAccoglienza_exit_%1.png").arg(W));
    QList<qv::Booking> bookings = qv::Bookings::read(qv::TSchedaPrenotazione::archivePath(1));
    const QDate today = QDate::currentDate();
    TfrmPresenze list(&d, bookings, today, qv::Attendance::daysOf(qv::Attendance::Register::read(qv::TSchedaPrenotazione::archivePath(1)), today));
    dialog(list, "presenze");
  }
  // The exports, over a few participants in a folder of their own.
  QTemporaryDir data; qv::ProgramFolder::setOverride(data.path());
  { QFile f(qv::TSchedaPartecipante::archivePath()); f.open(QIODevice::WriteOnly);
    for (int n = 1; n <= 40; ++n) { qv::TSchedaPartecipante p; p.setText("Cliente", QString("Rossi Mario %1").arg(n));
      p.setText("DataNasc", "01/02/1970"); p.setText("ComuneNasc", "Forl\u00EC"); p.setText("ProvNasc", "FC");
      p.setText("Recapito", "06 1234567"); p.setText("IndirizzoRes", "Via Roma 1"); p.setText("ComuneRes", "Roma"); f.write(p.bytes()); } }
  { TfrmExpRegistro d; dialog(d, "expregistro"); }
  { TfrmExpClienti d; dialog(d, "expclienti"); }
  { TfrmExpPrenotazioni d(qv::TSchedaPrenotazione::archivePath(1)); dialog(d, "expprenotazioni"); }
  // The import window over a small list: a column it does not know, a
  // duplicate of a card in the archive, a name too long for its field.
  { QFile f(data.filePath("elenco.csv")); f.open(QIODevice::WriteOnly);
    f.write("Cognome;Nome;Codice fiscale;E-mail;Cellulare;Citt\xC3\xA0;Reparto\r\n");
    for (int n = 1; n <= 20; ++n)
      f.write(QString("Rossi;Mario %1;rssmra70a01h501%2;mario%1@example.it;333 12345%1;Forl\u00EC;Vendite\r\n")
                .arg(n).arg(QChar('A' + n % 26)).toUtf8());
    f.write("Rossi;Mario 5;RSSMRA70A01H501F;;;Forl\xC3\xAC;Vendite\r\n");
    f.write("Bianchi Della Gherardesca De Santis Bonaccorsi Di Valmontone;Anna Maria;;;;Roma;Acquisti\r\n");
    f.close();
    TfrmImportaClienti d; d.openFile(data.filePath("elenco.csv"));
    while (d.isBusy()) app.processEvents(QEventLoop::AllEvents, 50);
    d.resize(1000, 620); dialog(d, "importaclienti"); }
  return 0;
}
