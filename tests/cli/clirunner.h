#pragma once
// Runs the real quorvane-cli and builds archives byte by byte, as a writer
// independent of the program's own record code would.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtTest>

namespace clitest {

struct Result
{
    int exit = -1;
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs in `folder` when given, so tests can name files relative to it.
inline Result runCli(const QStringList &args, const QByteArray &input = {}, const QString &folder = {},
                     const QString &program = QV_CLI_TOOL)
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    Result r;
    r.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Participant records: 3372 bytes; offsets and declared lengths of the
// fields the tests use, taken from the record's published layout.
constexpr int kParticipantSize = 3372;
struct At
{
    int offset;
    int declared;
};
constexpr At kCliente{0, 50};
constexpr At kComuneNasc{82, 50};
constexpr At kEmail{675, 50};
constexpr At kNote{1612, 250};
constexpr At kRicontatta{1863, 2};

// Puts a counted string (Windows-1252 bytes) into a record.
inline void put(QByteArray &record, At field, const QByteArray &chars, int lengthByte = -1)
{
    record[field.offset] = char(lengthByte < 0 ? chars.size() : lengthByte);
    for (int i = 0; i < chars.size() && i < field.declared; ++i)
        record[field.offset + 1 + i] = chars.at(i);
}

inline QByteArray participant(const QByteArray &cliente, const QByteArray &ricontatta = "No")
{
    QByteArray record(kParticipantSize, '\0');
    put(record, kCliente, cliente);
    put(record, kRicontatta, ricontatta);
    return record;
}

// The text of a counted string read back independently, as Latin-1 bytes.
inline QByteArray counted(const QByteArray &file, qint64 record, At field)
{
    const qint64 at = record * kParticipantSize + field.offset;
    return file.mid(at + 1, qMin<int>(quint8(file.at(at)), field.declared));
}

} // namespace clitest
