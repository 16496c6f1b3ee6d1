// Saves pictures of the windows at a given screen size, to look at the layout:
//   qv_screenshots <width> <height> <folder>
#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "app/tfrmcambiapassword.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "events/tfrmregistro.h"
#include "app/infowindows.h"
#include "frame/guide.h"
#include <QPlainTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include "ui/style.h"
#include "events/tfrmtrovaregistro.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmcalendario.h"
#include "checks/checkwindows.h"
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
  const auto dialog = [&](QWidget &d, const QString &name) {
    d.show(); app.processEvents(); d.grab().save(dir + "/" + name + ".png");
  };
  { TfrmTrovaRegistro d; dialog(d, "trovaregistro"); }
  { TfrmDaAderire d; dialog(d, "daaderire"); }
  { TfrmTrovaClienti d; dialog(d, "trovaclienti"); }
  { TfrmRicontatta d; dialog(d, "ricontatta"); }
  { TfrmCalendario d; dialog(d, "calendario"); }
  { TfrmCodFisc d; dialog(d, "codfisc"); }
  { TfrmPartitaIva d; dialog(d, "partitaiva"); }
  { TfrmCarta d; dialog(d, "carta"); }
  { TfrmIban d; dialog(d, "iban"); }
  return 0;
}
