// The socket's request handler on its own, as every request of the alarm server passes it: parse
// the request into a message bag, answer it, write the reply. A dispatch check runs over the
// benchmark's 1,000 page targets (see DispatchTargets.h); the message bag parse on its own is
// measured beside it for comparison.

#include <benchmark/benchmark.h>
#include <mutex>

#include "engine/Dispatch.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/RequestHandler.h"
#include "server/ServerCommand.h"
#include "support/FileWatch.h"
#include "support/XmlMessageBag.h"

#include "BenchServers.h"
#include "DispatchTargets.h"

namespace {

struct CBenchDocument
{
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc { server, rights };
    CDocRequestServices services { doc };
};

CBenchDocument& Document()
{
    static const std::unique_ptr<CBenchDocument> made = [] {
        auto document = std::make_unique<CBenchDocument>();
        const std::lock_guard<std::mutex> lock(document->doc.TargetsMutex());
        document->doc.PageTargets() = Setup().targets;
        return document;
    }();
    return *made;
}

// A request as the alarm server writes it.
QByteArray DispatchRequest(const CDispatchAsk& ask)
{
    QByteArray text
        = "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>" + ask.receiver.toUtf8() + "</DispatchingID>";
    if (!ask.group.isEmpty())
        text += "<GroupID>" + ask.group.toUtf8() + "</GroupID>";
    return text + "<Time>" + kTime.toUtf8() + "</Time></TimeCmd>";
}

const QByteArray kCheckRequest = QByteArrayLiteral("<TimeCmd Name=\"Check\"/>");

void BM_HandleCheck(benchmark::State& state)
{
    CBenchDocument& document = Document();
    if (!HandleRequest(kCheckRequest, document.services).contains("<Active>1</Active>")) {
        state.SkipWithError("set-up failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(HandleRequest(kCheckRequest, document.services));
}
BENCHMARK(BM_HandleCheck)->Unit(benchmark::kNanosecond);

// Through the takeover groups (current target and second member by turns), as the load benchmark;
// as on the socket's thread, whose loop takes in the file watch's events (one system call per
// accepted batch, measured on its own below).
void BM_HandleCheckDispatching(benchmark::State& state)
{
    const CFileWatch::CLoopTakesEvents loopTakesEvents;
    CBenchDocument& document = Document();
    QList<QByteArray> requests;
    for (const CDispatchAsk& ask : TakeoverGroupAsks())
        requests.append(DispatchRequest(ask));
    const QByteArray expected = "<DispatchingResult>" + QByteArray::number(kDispatchSend) + "<";
    if (!Setup().ok || !HandleRequest(requests.first(), document.services).contains(expected)) {
        state.SkipWithError("set-up failed");
        return;
    }
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HandleRequest(requests.at(next), document.services));
        next = next + 1 == requests.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_HandleCheckDispatching)->Unit(benchmark::kNanosecond);

// What the socket's loop adds per accepted batch: taking in the file watch's events (none queued).
void BM_TakeFileEvents(benchmark::State& state)
{
    for (auto _ : state)
        CFileWatch::TakeEvents();
}
BENCHMARK(BM_TakeFileEvents)->Unit(benchmark::kNanosecond);

// The parse alone, for the two requests above.
void BM_ParseCheck(benchmark::State& state)
{
    for (auto _ : state) {
        CXmlMessageBag bag;
        benchmark::DoNotOptimize(bag.Parse(kCheckRequest));
    }
}
BENCHMARK(BM_ParseCheck)->Unit(benchmark::kNanosecond);

void BM_ParseCheckDispatching(benchmark::State& state)
{
    const QByteArray request = DispatchRequest(TakeoverGroupAsks().first());
    for (auto _ : state) {
        CXmlMessageBag bag;
        benchmark::DoNotOptimize(bag.Parse(request));
    }
}
BENCHMARK(BM_ParseCheckDispatching)->Unit(benchmark::kNanosecond);

} // namespace
