#include "output/listscan.h"

#include "archive/tarchivio.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

namespace {

// About a megabyte per read: few system calls, little memory.
constexpr qint64 kBlockBytes = 1 << 20;

qint64 recordsPerBlock(const RecordLayout &layout)
{
    return std::max<qint64>(1, kBlockBytes / layout.size());
}

// The lines of a list gathered from its archive by two threads. The calling
// thread reads the blocks (and asks the caller's record test, which may
// touch what that thread owns); a second thread builds the lines of each
// block read, and the calling thread builds too whenever two blocks wait.
// Every block's lines go into a batch of their own, so the batches stay in
// archive order whichever thread builds them.
class LineGatherer
{
public:
    LineGatherer(const ListSource &source, const FilterRule *rule)
        : m_source(source), m_rule(rule), m_length(source.layout->size()), m_perBlock(recordsPerBlock(*source.layout))
    {
    }

    // Reads the whole archive, keeping the records `test` passes (every
    // record without one) that the rule lets through. A failure ends the
    // reading; what was read before is built, then the failure is raised.
    void gather(const RecordTest *test)
    {
        TArchivio archive(m_source.archivePath(), m_length, TArchivio::Access::Read);
        const bool twoThreads = archive.Count() > m_perBlock && std::thread::hardware_concurrency() > 1;
        std::thread second;
        if (twoThreads)
            second = std::thread([this] { work(); });
        std::exception_ptr failure;
        try {
            while (!archive.AtEnd()) {
                Job job;
                job.block = spareBlock();
                job.count = archive.ReadBlock(job.block, m_perBlock);
                qsizetype lines = job.count;
                if (test) {
                    job.all = false;
                    const char *data = job.block.constData();
                    for (qint64 i = 0; i < job.count; ++i)
                        if ((*test)(RecordView(*m_source.layout, data + i * m_length)))
                            job.picked.push_back(quint32(i));
                    lines = qsizetype(job.picked.size());
                }
                m_batches.emplace_back(m_source.lines, lines);
                job.batch = &m_batches.back();
                std::unique_lock lock(m_mutex);
                m_queue.push_back(std::move(job));
                m_ready.notify_one();
                // The second thread is behind, or there is none: build here.
                while (m_queue.size() >= (twoThreads ? 2u : 1u))
                    buildFirst(lock);
            }
            archive.Close();
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::unique_lock lock(m_mutex);
            while (!m_queue.empty())
                buildFirst(lock);
            m_closed = true;
        }
        m_ready.notify_all();
        if (second.joinable())
            second.join();
        if (m_error)
            std::rethrow_exception(m_error);
        if (failure)
            std::rethrow_exception(failure);
    }

    LineList sorted() { return LineList::sorted(std::move(m_batches), m_source.lines.sharedStart()); }

private:
    struct Job
    {
        QByteArray block;
        qint64 count = 0;
        bool all = true;
        std::vector<quint32> picked; // the records the test passed, when not all
        LineBatch *batch = nullptr;
    };

    // The second thread: builds what is queued until the reading is over.
    void work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_ready.wait(lock, [this] { return !m_queue.empty() || m_closed; });
            if (m_queue.empty())
                return;
            buildFirst(lock);
        }
    }

    // Takes the first queued block and builds its lines without the lock;
    // its buffer then serves another read.
    void buildFirst(std::unique_lock<std::mutex> &lock)
    {
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        std::exception_ptr error;
        try {
            build(job);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (error && !m_error)
            m_error = error;
        m_spare.push_back(std::move(job.block));
    }

    void build(const Job &job) const
    {
        const char *data = job.block.constData();
        const auto one = [&](qint64 i) {
            const RecordView record(*m_source.layout, data + i * m_length);
            if (!m_rule || m_rule->matches(record))
                job.batch->add(record);
        };
        if (job.all) {
            for (qint64 i = 0; i < job.count; ++i)
                one(i);
        } else {
            for (const quint32 i : job.picked)
                one(i);
        }
        job.batch->finish();
    }

    QByteArray spareBlock()
    {
        std::unique_lock lock(m_mutex);
        if (m_spare.empty())
            return {};
        QByteArray block = std::move(m_spare.back());
        m_spare.pop_back();
        return block;
    }

    const ListSource &m_source;
    const FilterRule *m_rule;
    const int m_length;
    const qint64 m_perBlock;
    // Grows on the calling thread only; a batch never moves once made.
    std::deque<LineBatch> m_batches;

    std::mutex m_mutex; // guards what follows
    std::condition_variable m_ready;
    std::deque<Job> m_queue;
    std::vector<QByteArray> m_spare;
    bool m_closed = false;
    std::exception_ptr m_error;
};

} // namespace

void scanArchive(const QString &path, const RecordLayout &layout, const RecordVisitor &visit)
{
    const int length = layout.size();
    TArchivio archive(path, length, TArchivio::Access::Read);
    const qint64 perBlock = recordsPerBlock(layout);
    QByteArray block;
    qint64 number = 0;
    while (!archive.AtEnd()) {
        const qint64 read = archive.ReadBlock(block, perBlock);
        const char *data = block.constData();
        for (qint64 i = 0; i < read; ++i)
            visit(RecordView(layout, data + i * length), ++number);
    }
    archive.Close();
}

namespace {

// A list whose lines tell more than the record's own fields (what another
// archive says of it): made as text, line by line. What could be read before
// a failure is listed when `failed` is given; without it the failure goes on.
LineList numberedLines(const ListSource &source, const RecordTest &keep, bool *failed)
{
    QStringList lines;
    try {
        scanArchive(source.archivePath(), *source.layout, [&](const RecordView &record, qint64 number) {
            if (keep(record))
                lines.append(source.line(record, number));
        });
    } catch (const ArchiveError &) {
        if (!failed)
            throw;
        *failed = true;
    }
    sortLines(lines);
    return LineList::fromText(lines);
}

} // namespace

LineList searchLines(const ListSource &source, const FilterRule &rule)
{
    if (source.numberedLine)
        return numberedLines(source, [&rule](const RecordView &record) { return rule.matches(record); }, nullptr);
    LineGatherer gatherer(source, rule.filledCount() > 0 ? &rule : nullptr);
    gatherer.gather(nullptr);
    return gatherer.sorted();
}

LineList listLines(const ListSource &source, const RecordTest &test, bool *failed)
{
    if (failed)
        *failed = false;
    if (source.numberedLine) {
        bool unread = false;
        LineList lines = numberedLines(source, test, &unread);
        if (failed)
            *failed = unread;
        return lines;
    }
    LineGatherer gatherer(source, nullptr);
    try {
        gatherer.gather(&test);
    } catch (const ArchiveError &) {
        if (failed)
            *failed = true;
    }
    return gatherer.sorted();
}

int deliverChosen(const ListSource &source, const QString &chosen, const RecordDelivery &deliver)
{
    // The chosen line in the code page: a character it does not hold is in
    // no record's line.
    const QString wanted = trimmed(chosen);
    QByteArray bytes;
    bool possible = true;
    for (const QChar c : wanted) {
        const int b = cp1252::byteOf(c);
        possible = possible && b >= 0;
        bytes.append(char(b));
    }
    int delivered = 0;
    scanArchive(source.archivePath(), *source.layout, [&](const RecordView &record, qint64 number) {
        if (source.numberedLine ? trimmed(source.line(record, number)) == wanted
                                : possible && source.lines.isTrimmed(record, bytes)) {
            deliver(record.record(), number);
            ++delivered;
        }
    });
    return delivered;
}

} // namespace qv
