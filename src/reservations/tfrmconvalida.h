#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

// The seat availability check: the cards of the event that hold a seat, and
// the verdict. It only informs; nothing is written.
class TfrmConvalida : public QDialog
{
    Q_OBJECT
public:
    // Scans the archive at `archivePath` for `seat` (the creation handler).
    TfrmConvalida(const QString &archivePath, const QString &seat, QWidget *parent = nullptr);

    // Checks `seat` from the card: the dialog with its verdict, or, when the
    // archive cannot be read, the archive access message and no verdict.
    static void check(QWidget *card, const QString &archivePath, const QString &seat);

    bool scanFailed() const { return m_failed; }

    QLabel *lblInfo;
    QListWidget *lstRecords;
    QLabel *lblSpiegazione;
    QLabel *txtConvalida, *txtResponso, *txtIndicazioni;
    QPushButton *btnOK;

    static QString heading(const QString &seat);

protected:
    void done(int result) override;

private:
    bool m_failed = false;
};
