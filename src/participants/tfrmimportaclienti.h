#pragma once
#include <QDialog>

#include <exception>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qv {
class ClickablePicture;
class InfoBar;
namespace imports {
class ImportError;
class ParticipantImport;
}
}

// Participants from a file people exchange (CSV, .xlsx, vCard), opened from
// the participant card: the first rows of the file, each column matched to a
// card field (by its heading, changeable, or left out), every row checked
// before anything is written (problems, duplicates), then all the rows
// appended in one write, or none.
class TfrmImportaClienti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportaClienti(QWidget *parent = nullptr);
    ~TfrmImportaClienti() override;

    QLabel *imgLogo;
    qv::ClickablePicture *cmdApriFile, *cmdImporta, *cmdGuida, *cmdEsci;
    QLineEdit *txtFile;
    // Line 0 holds the card field of each column (cboColonna1, ...), the
    // lines below the first rows of the file; column 0 the name each row
    // gives its card.
    QTableWidget *grdAnteprima;
    QLabel *lblColonne;   // columns left out, and what keeps the import from going on
    QLabel *lblRiepilogo; // the counts of the last check
    QTableWidget *grdProblemi; // line of the file, what is wrong or doubled
    QCheckBox *chkDoppioni;
    QLabel *lblAvanzamento;
    QProgressBar *prbImporta;
    QPushButton *btnAnnulla;
    QLabel *panInfo;

    // Opens a file: its first rows, its columns matched, then every row
    // checked in the background. False (the message shown, the window as it
    // was) when it cannot be read.
    bool openFile(const QString &path);
    // The card field box of a column of the file (from 0), or null.
    QComboBox *targetBox(int column) const;
    qv::imports::ParticipantImport *session() const { return m_session.get(); }
    // Rows are being read or written (the progress line is shown).
    bool isBusy() const;
    qv::InfoBar *infoBar() const { return m_infoBar; }

    void cmdApriFileClick();
    void cmdImportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnAnnullaClick();

    static const QString kChooserTitle;
    static const QString kStartText;

public slots:
    // While rows are read or written: cancels them; otherwise closes.
    void reject() override;

private:
    class Work;
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    void clearFile();
    void fillPreview();
    void showPreviewNames();
    void showColumns();
    void targetChosen(int column, int choice);
    // Checks every row (problems, duplicates) in the background, shows what
    // it found, then runs `then`.
    void analyse(std::function<void()> then = {});
    void showAnalysis();
    void showCounts();
    void confirmAndCommit();
    void updateEnabled();
    static QString refusal(const qv::imports::ImportError &error);
    // What a step in the background threw, told (a cancel of the analysis
    // only shows in the counts); false when it threw nothing.
    bool toldFailure(std::exception_ptr failure, bool tellCancel);

    // Runs `job` in a thread of its own with the progress line shown, then
    // `then` with what it threw (or nothing).
    void run(const QString &what, std::function<void(const Progress &progress)> job,
             std::function<void(std::exception_ptr failure)> then);
    void workFinished(Work *work);
    void showProgress();
    void setBusy(bool busy);

    std::unique_ptr<qv::imports::ParticipantImport> m_session;
    qv::InfoBar *m_infoBar = nullptr;
    Work *m_work = nullptr;
    QTimer *m_refresh = nullptr;
};
