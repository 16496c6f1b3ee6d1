#include "cli/backupcommand.h"

#include "backup/backup.h"
#include "backup/filecopy.h"
#include "cli/archivekind.h"
#include "cli/checkcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace qv::cli {
namespace {

// A backup's manifest checked, and the archive check run on each archive
// it holds. Files linked into several backups are read once.
class Inspector
{
public:
    Backup::Verification inspect(const QString &path)
    {
        Backup::Verification v = m_verifier.verify(path);
        if (!v.manifest)
            return v;
        for (const Backup::ManifestEntry &e : v.manifest->files) {
            const QString file = Backup::pathIn(path, e.path);
            if (e.path.contains(QLatin1Char('/')) || !kindOfFile(file) || v.unmatched.contains(e.path))
                continue; // a copy that is not the one made has nothing to check
            const QByteArray identity = Backup::fileIdentity(file);
            qint64 defects = m_defects.value(identity, -1);
            if (identity.isEmpty() || defects < 0) {
                try {
                    defects = CheckCommand::defects(file);
                } catch (const CliError &error) {
                    v.problems.append(QStringLiteral("%1: %2").arg(e.path, error.message()));
                    continue;
                }
                if (!identity.isEmpty())
                    m_defects.insert(identity, defects);
            }
            if (defects > 0)
                v.problems.append(QStringLiteral("%1: %2 (vedere quorvane-cli check %3).")
                                      .arg(e.path,
                                           defects == 1 ? QStringLiteral("1 difetto d'archivio")
                                                        : QStringLiteral("%1 difetti d'archivio").arg(defects),
                                           file));
        }
        return v;
    }

private:
    Backup::Verifier m_verifier;
    QHash<QByteArray, qint64> m_defects;
};

qint64 totalSize(const Backup::Manifest &manifest)
{
    qint64 bytes = 0;
    for (const Backup::ManifestEntry &e : manifest.files)
        bytes += e.size;
    return bytes;
}

QString filesAndSize(const Backup::Manifest &manifest)
{
    return QStringLiteral("%1 file, %2").arg(manifest.files.size()).arg(BackupCommand::megabytes(totalSize(manifest)));
}


} // namespace

QString BackupCommand::synopsis() const
{
    return QStringLiteral("backup [list | verify [NOME]] [--to CARTELLA]");
}

QString BackupCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli backup [--to CARTELLA]\n"
        "     quorvane-cli backup list [--to CARTELLA]\n"
        "     quorvane-cli backup verify [NOME] [--to CARTELLA]\n"
        "\n"
        "Senza sottocomando fa subito una copia di sicurezza della cartella del programma in\n"
        "Backup/AAAA-MM-GG_hhmmss/: gli archivi (*.pro, ciascuno copiato mentre nessuna postazione vi scrive),\n"
        "il file della password e delle impostazioni (unins000.dll), l'elenco dei nomi degli allegati\n"
        "(Documenti_Allegati.txt) e, con [Backup] Allegati=1, gli allegati stessi, con un manifesto\n"
        "(Manifesto.txt: file, dimensione, SHA-256). Un file uguale a quello della copia pi\u00F9 recente \u00E8\n"
        "collegato (hard link) e non occupa nuovo spazio, dove il file system lo consente. Una copia che non\n"
        "pu\u00F2 essere completata viene tolta per intero; poi restano soltanto le copie pi\u00F9 recenti, quante\n"
        "ne dice [Backup] Copie (14 se manca; con 0 non se ne toglie nessuna).\n"
        "\n"
        "  list          elenca le copie con data, numero di file, dimensione e se ciascuna supera la verifica\n"
        "  verify [NOME] verifica la copia NOME (tutte, senza NOME): ogni file del manifesto deve esserci con\n"
        "                la sua dimensione e il suo SHA-256, e ogni archivio deve superare quorvane-cli check\n"
        "  --to CARTELLA la cartella delle copie (predefinita: Backup nella cartella del programma); deve esistere\n"
        "\n"
        "NOME \u00E8 il nome di una copia (per esempio 2024-05-01_093000) o il percorso della sua cartella.\n"
        "Stato di uscita: 0 fatto (e ogni copia verificata), 1 una copia non supera la verifica o un'altra copia\n"
        "\u00E8 in corso, 2 uso errato, 3 file illeggibile o non scrivibile.");
}

QString BackupCommand::megabytes(qint64 bytes)
{
    return QString::number(bytes / 1e6, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" MB");
}

QString BackupCommand::backupFolder(const QString &root, const QString &name)
{
    const QString inRoot = Backup::pathIn(root, name);
    if (Backup::isBackupName(name) && QFileInfo(inRoot).isDir())
        return inRoot;
    if (!Backup::isBackupName(name) && QFileInfo(name).isDir())
        return QFileInfo(name).absoluteFilePath();
    throw fileError(QStringLiteral("non c'\u00E8 una copia di sicurezza %1 in %2.").arg(quoted(name), root));
}

int BackupCommand::run(const Arguments &args)
{
    QString root = Backup::requestNow().root;
    if (args.values.contains(QStringLiteral("--to"))) {
        const QFileInfo to(args.value(QStringLiteral("--to")));
        if (!to.isDir())
            throw fileError(QStringLiteral("la cartella %1 non esiste.").arg(quoted(to.filePath())));
        root = to.absoluteFilePath();
    }
    const QString word = args.positional.value(0);
    try {
        if (word.isEmpty())
            return make(root);
        if (word == QLatin1String("list") && args.positional.size() == 1)
            return list(root);
        if (word == QLatin1String("verify"))
            return verify(root, args.positional.value(1));
    } catch (const Backup::Error &error) {
        throw CliError(error.kind() == Backup::Error::Failed ? ExitFailure : ExitNegative, error.message());
    }
    throw usageError(QStringLiteral("uso: quorvane-cli backup [list | verify [NOME]] [--to CARTELLA] (vedere "
                                    "quorvane-cli backup --help)."));
}

int BackupCommand::make(const QString &root)
{
    Backup::Request request = Backup::requestNow();
    request.root = root;
    const Backup::Outcome made = *Backup::make(request);
    console::out(QStringLiteral("Copia di sicurezza %1 creata in %2: %3 file, %4.")
                     .arg(made.name, made.path, QString::number(made.files), megabytes(made.bytes)));
    if (made.linked > 0)
        console::out(QStringLiteral("%1 file uguali a quelli della copia precedente vi sono collegati; spazio "
                                    "nuovo occupato: %2.")
                         .arg(QString::number(made.linked), megabytes(made.newBytes)));
    if (!made.removed.isEmpty())
        console::out(QStringLiteral("Tolte le copie pi\u00F9 vecchie: %1.").arg(made.removed.join(QStringLiteral(", "))));
    return ExitOk;
}

int BackupCommand::list(const QString &root)
{
    const QStringList names = Backup::completeBackups(root);
    if (names.isEmpty()) {
        console::out(QStringLiteral("Nessuna copia di sicurezza in %1.").arg(root));
        return ExitOk;
    }
    Inspector inspector;
    int failed = 0;
    for (const QString &name : names) {
        const Backup::Verification v = inspector.inspect(Backup::pathIn(root, name));
        const QString when = Backup::momentOf(name).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        const QString what = v.manifest ? filesAndSize(*v.manifest) : QStringLiteral("manifesto illeggibile");
        const QString verdict = v.ok() ? QStringLiteral("verificata")
                                       : QStringLiteral("NON verificata: %1").arg(v.problems.first());
        console::out(QStringLiteral("%1  %2  %3  %4").arg(name, when, what, verdict));
        failed += !v.ok();
    }
    console::out(names.size() == 1 ? QStringLiteral("1 copia in %1.").arg(root)
                                   : QStringLiteral("%1 copie in %2.").arg(QString::number(names.size()), root));
    return failed ? ExitNegative : ExitOk;
}

int BackupCommand::verify(const QString &root, const QString &name)
{
    QStringList folders;
    if (!name.isEmpty()) {
        folders.append(backupFolder(root, name));
    } else {
        for (const QString &found : Backup::completeBackups(root))
            folders.append(Backup::pathIn(root, found));
        if (folders.isEmpty())
            throw fileError(QStringLiteral("nessuna copia di sicurezza in %1.").arg(root));
    }
    Inspector inspector;
    int failed = 0;
    for (const QString &folder : folders) {
        const Backup::Verification v = inspector.inspect(folder);
        for (const QString &problem : v.problems)
            console::out(QStringLiteral("%1: %2").arg(QFileInfo(folder).fileName(), problem));
        if (v.ok())
            console::out(QStringLiteral("%1: verificata (%2).").arg(QFileInfo(folder).fileName(), filesAndSize(*v.manifest)));
        else
            console::out(QStringLiteral("%1: NON verificata.").arg(QFileInfo(folder).fileName()));
        failed += !v.ok();
    }
    return failed ? ExitNegative : ExitOk;
}

} // namespace qv::cli
