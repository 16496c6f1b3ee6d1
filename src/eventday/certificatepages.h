#pragma once
#include "eventday/certificates.h"
#include "output/pageoutput.h"

#include <QDate>
#include <QImage>

// The pages of the certificates of attendance and of the signature sheet,
// laid out on the page output; no widgets. Certificates are one A4 page a
// person, written to a PDF one page at a time so that thousands of them
// never sit in memory together.
namespace qv::CertificatePages {

// What every certificate of one printing shares: the event, the template,
// the date of issue and its pictures, loaded once.
struct Setting
{
    EventInfo event;
    Certificates::Template tpl;
    QDate issued;
    QImage logo, signature; // null when the template names none, or they do not load

    // Loads the template's pictures from the program folder.
    static Setting make(const EventInfo &event, const Certificates::Template &tpl, const QDate &issued);
};

// One person's certificate. Text boxes: txtNumero, txtTitolo, txtRiga<k>
// (the body's lines, from 1), txtRilascio, txtFirmatario, txtRuolo.
page::Page page(const Setting &setting, const Certificates::Person &person);
// The certificates of those chosen, for the preview and the printer.
page::Document document(const Setting &setting, const QList<Certificates::Person> &people);
// The document's paper, title and subject, without pages.
page::Document header(const Setting &setting);

// One PDF of a page per person chosen, streamed; false and a reason on failure.
bool writePdf(const Setting &setting, const QList<Certificates::Person> &people, const QString &path,
              QString *reason = nullptr);
// One PDF per person chosen in `folder` (created when missing), named by
// Certificates::eachNames; stops at the first failure.
bool writeEach(const Setting &setting, const QList<Certificates::Person> &people, const QString &folder,
               QString *reason = nullptr);

// The signature sheet of one day: A4 pages, the event's title, venue and the
// day in the heading, the bookings in name order with their seat, columns to
// sign in and out with the times left blank, "Pagina i di n".
page::Document signatureSheet(const EventInfo &event, const QList<Booking> &bookings, const QDate &day);
// Rows of the sheet per page.
int signatureRowsPerPage();

// Who gets a certificate, as chosen.
QList<Certificates::Person> chosen(const QList<Certificates::Person> &people);

} // namespace qv::CertificatePages
