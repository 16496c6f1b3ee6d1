#pragma once
#include "output/exportlayout.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QTableView>

#include <functional>

class QLabel;

namespace qv {

class ClickablePicture;
class InfoBar;

// The export grid's data: column "N." and one text per exported column for
// every record. The texts are kept as one block of Windows-1252 bytes (one
// byte per character, as in the archive), and only the cells the user edited
// are kept aside as text, so a 100 000-record archive stays small.
class ExportModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExportModel(const ExportLayout &layout, QObject *parent = nullptr);

    // Reads the whole archive, first record to last. False when it could not
    // be opened or read to the end: the rows read so far stay.
    bool fill(const QString &archivePath);
    // The rows of the grid, edited cells included, into any export format
    // (a RowSource: [model](RowSink &sink) { model->writeRows(sink); }).
    void writeRows(RowSink &sink) const;

    // Grid column c >= 1 is exported column c - 1.
    QString cellText(int row, int column) const;
    bool isEdited(int row, int column) const;
    qsizetype editedCount() const { return m_edits.size(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QByteArrayView stored(int row, int column) const;
    qint64 key(int row, int column) const { return qint64(row) * columnCount() + column; }

    ExportLayout m_layout;
    QByteArray m_text;            // every cell's bytes, row after row
    QList<qsizetype> m_rowStart;  // where each row begins in m_text; one more entry at the end
    QList<quint16> m_cellEnd;     // each cell's end, from its row's start
    QHash<qint64, QString> m_edits;
};

// The grid: a table over the model, rows of fixed height.
class ExportGrid : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    // A cell still being edited hands its text to the model.
    void commitOpenEditor();
};

// Everything that sets one export window apart from the others.
struct ExportWindowConfig
{
    QString objectName;
    QString caption;
    ExportLayout layout;
    std::function<QString()> archivePath;
    std::function<void(QWidget *owner)> guide; // opens the help topic
};

// The export window: the archive in a grid, some columns editable, the
// export picture that writes the grid into the spreadsheet file in the
// program folder and offers to open it, and "Salva come..." that writes the
// same grid into a file and a format the user chooses.
class ExportWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ExportWindow(ExportWindowConfig config, QWidget *parent = nullptr);

    QLabel *imgLogo;
    ClickablePicture *cmdEsporta;
    ClickablePicture *cmdSalvaCome;
    QLabel *icoHand;
    ClickablePicture *cmdGuida, *cmdEsci;
    ExportGrid *grdRecords;
    QLabel *panInfo;

    const ExportWindowConfig &config() const { return m_config; }
    ExportModel *model() const { return m_model; }
    InfoBar *infoBar() const { return m_infoBar; }
    QString filePath() const; // the export file in the program folder

    void fillGrid();
    void cmdEsportaClick();
    void cmdSalvaComeClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    static const QString kStartText;
    static const QString kAskExport;
    static const QString kAskOpen;
    static const QString kExportFailed;
    static const QString kSaveAsTitle;
    static const QString kSaveAsFailed;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The grid could not be filled: the access message, and nothing written.
    bool refusedForReadFailure();

    ExportWindowConfig m_config;
    ExportModel *m_model;
    InfoBar *m_infoBar;
    bool m_filled = false;
    bool m_readFailed = false; // the grid does not hold the whole archive
};

} // namespace qv
