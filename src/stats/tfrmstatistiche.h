#pragma once
#include "stats/statistics.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
namespace qv {
class ClickablePicture;
}

// "Statistiche": the numbers of an event (from the event selection) or of a
// year (from the events card) as charts, each beside its table, with
// preview, print and PDF. When an archive cannot be read the window says so
// and shows no numbers. Modal.
class TfrmStatistiche : public QDialog
{
    Q_OBJECT
public:
    // The statistics of event `event`.
    TfrmStatistiche(qint64 event, QWidget *owner);
    // The statistics of `year`, whose box lets another year be chosen.
    static TfrmStatistiche *ofYear(int year, QWidget *owner);

    QLabel *lblTitolo, *lblMessaggio;
    QSpinBox *spnAnno = nullptr; // only for a year
    QComboBox *cboGiorno = nullptr; // only for an event: the day of its arrivals
    QPushButton *cmdAnteprima, *cmdStampa, *cmdPDF, *btnChiudi;
    qv::ClickablePicture *cmdGuida;

    const qv::Stats::Result &result() const { return m_result; }
    // The file cmdPDF writes in the program folder.
    QString pdfName() const;
    // A chart as a picture (its cmdPng... button asks where).
    bool savePng(const QString &table, const QString &path) const;

    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();

private:
    TfrmStatistiche(qint64 event, int year, QWidget *owner);
    // Reads the numbers again and shows them.
    void refresh();
    void showResult(const qv::Stats::Result &result);

    qint64 m_event = 0;
    int m_year = 0;
    QDate m_day; // the day of the arrivals, empty for the first with someone at the door
    qv::Stats::Result m_result;
    QWidget *m_charts = nullptr; // the charts and tables, made anew by showResult()
    QVBoxLayout *m_layout = nullptr;
};

// Both windows opened modally over `owner`.
void openEventStatistics(QWidget *owner, qint64 event);
void openYearStatistics(QWidget *owner, int year);
