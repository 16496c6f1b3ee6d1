#include "archive/records.h"
#include "output/listscan.h"
#include "participants/participantlists.h"
#include "participants/participantfixtures.h"

#include <QtTest>

using namespace qv;
using qvtest::Values;

class TestParticipantLists : public QObject
{
    Q_OBJECT

    static QByteArray bytesOf(const Values &values) { return qvtest::record(qvtest::participantFields(), values); }

private slots:
    void recordMatchesTheIndependentLayout()
    {
        QCOMPARE(TSchedaPartecipante::layout().size(), 3372);
        QCOMPARE(qvtest::participantOffset("Ricontatta"), 1863);
        QCOMPARE(bytesOf({}).size(), 3372);
    }

    void lines_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("recontact");
        const QString pad26 = QString(26 - 11, ' ');
        QTest::newRow("short texts")
            << Values{{"Cliente", "Rossi Mario"}, {"Recapito", "06 123"}, {"Occupazione", "Medico"},
                      {"Prodotti", "Corsi"}, {"Note", "sera"}, {"Questioni", "saldo"}, {"TelCasa", "999"}}
            << "Rossi Mario" + pad26 + "  Tel. 06 123" + QString(9, ' ') + "  Medico" + QString(19, ' ')
                   + "  Prod. Corsi" + QString(25, ' ') + "  sera"
            << "Rossi Mario" + pad26 + "  Tel. 06 123" + QString(9, ' ') + "  Medico" + QString(19, ' ')
                   + "  Prod. Corsi" + QString(25, ' ') + "  saldo";
        QTest::newRow("long texts cut, blanks trimmed")
            << Values{{"Cliente", "  De Santis Bonaccorsi Della Gherardesca"}, {"Recapito", "+39 06 1234567890"},
                      {"Occupazione", "Insegnante di scuola primaria statale"},
                      {"Prodotti", "Congressi nazionali e internazionali"}, {"Note", "  nota  "}, {"Questioni", ""}}
            << "De Santis Bonaccorsi Della  Tel. +39 06 12345678  Insegnante di scuola prim  Prod. Congressi nazionali e internaz  nota"
            << "De Santis Bonaccorsi Della  Tel. +39 06 12345678  Insegnante di scuola prim  Prod. Congressi nazionali e internaz  ";
        QTest::newRow("empty record") << Values{}
                                      << QString(26, ' ') + "  Tel. " + QString(15, ' ') + "  " + QString(25, ' ')
                                             + "  Prod. " + QString(30, ' ') + "  "
                                      << QString(26, ' ') + "  Tel. " + QString(15, ' ') + "  " + QString(25, ' ')
                                             + "  Prod. " + QString(30, ' ') + "  ";
    }
    void lines()
    {
        QFETCH(Values, values);
        QFETCH(QString, search);
        QFETCH(QString, recontact);
        const QByteArray bytes = bytesOf(values);
        const RecordView view(TSchedaPartecipante::layout(), bytes.constData());
        QCOMPARE(ParticipantLists::searchLines().line(view), search);
        QCOMPARE(ParticipantLists::recontactLines().line(view), recontact);
        QCOMPARE(search, qvtest::participantLine(values));
        QCOMPARE(recontact, qvtest::recontactLine(values));
    }

    void recontactTest_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("listed");
        QTest::newRow("S\u00EC") << QString("S\u00EC") << true;
        QTest::newRow("S alone") << QString("S") << false;
        QTest::newRow("No") << QString("No") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("si without accent") << QString("si") << false;
        QTest::newRow("capital accented I") << QString("S\u00CC") << false;
        QTest::newRow("lower case") << QString("s\u00EC") << false;
    }
    void recontactTest()
    {
        QFETCH(QString, flag);
        QFETCH(bool, listed);
        const QByteArray bytes = bytesOf({{"Cliente", "Rossi"}, {"Ricontatta", flag}});
        QCOMPARE(ParticipantLists::toRecontact(RecordView(TSchedaPartecipante::layout(), bytes.constData())), listed);
    }
};

QTEST_GUILESS_MAIN(TestParticipantLists)
#include "tst_participantlists.moc"
