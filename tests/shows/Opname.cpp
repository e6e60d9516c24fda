#include "tests/shows/Opname.h"

#include <cstdio>
#include <cstdlib>

#include "engine3d/QX3D.h"
#include "platform/console/Clock.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/InputQueue.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TraceRecorder.h"
#include "tools/golden/GoldenTrace.h"

namespace ShowsTest {
namespace {

testsupport::FakeClock klok;

// Each real wait is written into the trace (after the requests before it are
// done) so that the requests fall into frames.
void TraceWaits(std::FILE* sink) {
    klok.afterWait = [sink](uint64_t from, uint64_t deadline) {
        if (deadline <= from) return;
        Graph::Sync();
        std::fprintf(sink, "wait %llu\n", static_cast<unsigned long long>((deadline - from) / 1000));
    };
}

}  // namespace

void Omgeving(int seconde) {
    static bool open = false;
    if (!open) {
        Graph::ModuleInit();
        if (!Graph::Init(1, 1, 1025, 730)) std::abort();
        Lib::ModuleInit();
        klok.wall = {2026, 12, 7, 12, 0, 5, 370, 0, true, false};
        Clock::Use(klok);
        open = true;
    }
    klok.wall.second = seconde;
    QX3D::Init3D(1025, 730, 60);
    IO::ClearInput();
}

std::vector<Tekst> Beeld::Teksten() const {
    std::vector<Tekst> uit;
    for (const std::string& r : Soort("text")) {
        Tekst t{};
        int begin = 0;
        std::sscanf(r.c_str(), "text %d %d %d \"%n", &t.x, &t.y, &t.kleur, &begin);
        t.tekst = r.substr(begin, r.size() - begin - 1);
        uit.push_back(t);
    }
    return uit;
}

std::vector<std::string> Beeld::Soort(const char* soort) const {
    return testsupport::LinesStartingWith(regels, std::string(soort) + ' ');
}

std::vector<Beeld> Neem(void (*reeks)()) {
    testsupport::TraceRecorder spoor;
    TraceWaits(spoor.File());
    reeks();
    spoor.Stop();
    klok.afterWait = nullptr;
    std::vector<Beeld> opname(1);
    for (const std::string& regel : spoor.Lines()) {
        if (regel.rfind("wait ", 0) != 0) {
            opname.back().regels.push_back(regel);
        } else {
            opname.back().wachtMs = std::stoull(regel.substr(5));
            opname.emplace_back();
        }
    }
    if (opname.back().regels.empty()) opname.pop_back();
    return opname;
}

std::vector<const Beeld*> MetWacht(const std::vector<Beeld>& opname, uint64_t ms) {
    std::vector<const Beeld*> uit;
    for (const Beeld& b : opname)
        if (b.wachtMs == ms) uit.push_back(&b);
    return uit;
}

uint64_t TotaleWacht(const std::vector<Beeld>& opname) {
    uint64_t som = 0;
    for (const Beeld& b : opname) som += b.wachtMs;
    return som;
}

std::string VerschilMetGolden(const char* show, const std::vector<Beeld>& opname) {
    const std::string pad = std::string(KYR_GOLDEN_TRACES "/") + show + ".golden";
    Golden::Trace golden, opgenomen;
    std::string fout;
    if (!Golden::ParseTrace(testsupport::ReadFile(pad), golden, fout)) return pad + ": " + fout;
    if (golden.frames.empty() || !golden.frames[0].full) return pad + ": no first frame";
    for (const Beeld& beeld : opname) {
        if (beeld.regels.empty() && &beeld != &opname.front()) continue;   // a wait after no drawing shows no new frame
        const std::size_t i = opgenomen.frames.size();
        Golden::Frame f;
        f.lines = beeld.regels;
        const bool gemerkt = i < golden.frames.size() && !golden.frames[i].mark.empty();
        if (i == 0) {
            const std::vector<std::string>& eerste = golden.frames[0].lines;
            const std::size_t verzoeken = eerste.size() - (gemerkt ? 1 : 0);
            const std::size_t ervoor = verzoeken > f.lines.size() ? verzoeken - f.lines.size() : 0;
            f.lines.insert(f.lines.begin(), eerste.begin(), eerste.begin() + static_cast<std::ptrdiff_t>(ervoor));
        }
        if (gemerkt) f.lines.push_back(golden.frames[i].mark);
        Golden::Close(f);
        opgenomen.frames.push_back(f);
    }
    return Golden::FirstDifference(golden, opgenomen);
}

void TypToets(char c) {
    IO::InputEvent toets;
    toets.key.asciiChar = static_cast<uint8_t>(c);
    IO::PostInput(toets);
}

bool ToetsNogInRij(char c) {
    IO::InputEvent e;
    return IO::PeekInput(e) && e.key.asciiChar == static_cast<uint8_t>(c);
}

}  // namespace ShowsTest
