#pragma once
#include "output/listscan.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace qv {

class LinesModel;

// One filter box of a search window.
struct SummaryFilter
{
    QString name;      // "txtTitolo"
    QString label;     // "Titolo evento:"
    QString highlight; // "effCampo01"
    QString field;     // the record field it is compared with
};

// A picture with its caption beside the list's "Stampa": an action of its
// own on the records listed (the booked seats' badges, a notice to all).
// It takes no keyboard focus; its key comes from the house map by its name.
struct SummaryListTool
{
    QString name;    // btnCartellini
    QString picture;
    QString text;    // its caption
    QString hint;    // its tooltip, what screen readers hear
    std::function<void(QWidget *window)> onClick;
};

// Everything that sets one summary list window apart from the others.
struct SummaryListConfig
{
    QString objectName;
    QString caption;
    ListSource source;               // archive, record layout, line layout
    int lineWidth = 1600;            // width the lines are laid out at
    // Search windows: ten filter boxes on a filter page, listed by Cerca.
    QList<SummaryFilter> filters;
    // Windows without filter page: the records listed when the window is
    // shown; `today` is the date the list is filled.
    std::function<bool(const RecordView &record, const QDate &today)> test;
    // Whether a failure while the list is filled is reported (archive access
    // message, error symbol) once the lines read so far are shown, so that a
    // partial list is never taken for the whole one.
    bool reportFillFailure = false;
    QString printTitle;
    // Where a double-clicked record goes. modeWord is the trimmed text of
    // lblMemory (search windows), empty for the others.
    std::function<void(const Record &record, qint64 number, const QString &modeWord)> deliver;
    // Pictures beside "Stampa"; none for most lists.
    QList<SummaryListTool> tools = {};
};

// The summary list window: a list of one text line per record, the search
// inside it ("Trova"), its printout ("Stampa"), and the double-click that
// finds the record of a line again and hands it to the window that asked.
// Search windows first show a filter page whose Cerca fills the list.
class SummaryListWindow : public QDialog
{
    Q_OBJECT
public:
    explicit SummaryListWindow(const SummaryListConfig &config, QWidget *parent = nullptr);
    ~SummaryListWindow() override;

    const SummaryListConfig &config() const { return m_config; }
    bool hasFilterPage() const { return !m_config.filters.isEmpty(); }

    // The result page (every window).
    QWidget *panContainer;
    QLabel *lblRigo01, *lblRigo02, *lblRigo03;
    QLineEdit *txtTrova;
    QPushButton *btnTrova;
    QListView *lstRecords;
    QPushButton *btnStampa, *btnChiudi;
    // Search windows only (nullptr otherwise).
    QLabel *lblTrovate = nullptr;
    QWidget *panAvvio = nullptr;
    QLabel *lblRigo04 = nullptr, *lblRigo05 = nullptr, *lblRigo06 = nullptr;
    QList<QLineEdit *> filterBoxes;
    QPushButton *btnAnnulla = nullptr, *btnCerca = nullptr;
    QLabel *lblAttendere = nullptr, *lblConta = nullptr, *lblMemory = nullptr;

    QLineEdit *filterBox(const QString &name) const;
    QStringList lines() const;   // in list order (made when asked for)
    int selectedRow() const;     // -1 when no line is selected
    void selectRow(int row);

    void btnCercaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick();
    void fillList();             // windows without filter page, when shown

    static const QString kEmptyList;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QWidget *buildResultPage();
    QWidget *buildFilterPage();
    void setLines(LineList lines);

    SummaryListConfig m_config;
    QList<int> m_filterFields; // the record field of each filter box
    LinesModel *m_model;
    QString m_lastKey;
};

} // namespace qv
