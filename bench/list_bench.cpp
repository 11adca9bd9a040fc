// Content list files of 10,000 records per type: load and save through the
// model against a bare QXmlStreamReader / QXmlStreamWriter pass over the same
// file in the same run. Each iteration times both; the "ratio" counter is
// model time / bare time (targets: load <= 1.5, save <= 2).

#include "record_samples.h"

#include "model/contents_list.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kRecords = 10000;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class FieldCollector : public CPropertyWriter {
public:
    void WriteField(QStringView name, const QString &text) override
    {
        names.append(name.toString());
        texts.append(text);
    }
    QStringList names;
    QStringList texts;
};

// A list of kRecords full records of a type, saved in a temporary folder.
struct ListFixture {
    explicit ListFixture(int type)
        : list(type)
    {
        for (int i = 0; i < kRecords; ++i)
            list.Add(MakeFullRecord(type, i + 1).get());
        path = dir.filePath(QStringLiteral("list.xml"));
        barePath = dir.filePath(QStringLiteral("bare.xml"));
        list.Save(path, 0);
        for (int i = 0; i < kRecords; ++i) {
            FieldCollector fields;
            list.GetAt(i)->WriteFields(fields);
            records.append(fields);
        }
    }
    QTemporaryDir dir;
    CContentsList list;
    QString path;
    QString barePath;
    QList<FieldCollector> records;
};

// Reads every token and takes every text, as a reader of the file must.
qsizetype bareRead(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(file.readAll());
    qsizetype total = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::Characters)
            total += reader.text().toString().size();
    }
    return total;
}

// Writes the same elements and texts, already formatted, to a plain file.
void bareWrite(const ListFixture &fixture)
{
    QFile file(fixture.barePath);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(-1);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("contentlist"));
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    writer.writeAttribute(QStringLiteral("type"), QString::number(fixture.list.GetContentType()));
    for (const FieldCollector &record : fixture.records) {
        writer.writeStartElement(QStringLiteral("content"));
        for (qsizetype i = 0; i < record.names.size(); ++i)
            writer.writeTextElement(record.names[i], record.texts[i]);
        writer.writeEndElement();
    }
    writer.writeEndDocument();
}

void BM_ListLoad(benchmark::State &state)
{
    ListFixture fixture(int(state.range(0)));
    double model = 0;
    double bare = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        benchmark::DoNotOptimize(bareRead(fixture.path));
        bare += secondsSince(start);
        CContentsList loaded(fixture.list.GetContentType());
        start = Clock::now();
        const bool ok = loaded.Load(fixture.path);
        const double elapsed = secondsSince(start);
        model += elapsed;
        if (!ok || loaded.GetCount() != kRecords)
            state.SkipWithError("load failed");
        state.SetIterationTime(elapsed);
    }
    state.counters["ratio"] = model / bare;
    state.counters["bare_ms"] = 1000 * bare / double(state.iterations());
}

void BM_ListSave(benchmark::State &state)
{
    ListFixture fixture(int(state.range(0)));
    double model = 0;
    double bare = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        bareWrite(fixture);
        bare += secondsSince(start);
        start = Clock::now();
        const bool ok = fixture.list.Save(fixture.path, 0);
        const double elapsed = secondsSince(start);
        model += elapsed;
        if (!ok)
            state.SkipWithError("save failed");
        state.SetIterationTime(elapsed);
    }
    state.counters["ratio"] = model / bare;
    state.counters["bare_ms"] = 1000 * bare / double(state.iterations());
}

void listTypes(benchmark::internal::Benchmark *bench)
{
    for (int type : kListTypes)
        bench->Arg(type);
}

} // namespace

BENCHMARK(BM_ListLoad)->Apply(listTypes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSave)->Apply(listTypes)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
