// The value-table tuner (make tune): a climb over a table that keeps the
// board's eight symmetries, ten numbers and their common scale, scored by the
// average score of the nine menu settings, hard's three counted twice,
// against the sparring partners. It tunes on one set of seeded openings and
// reports on another that shares no position with it (under the
// symmetries), so the figure it reports was not tuned for.
//
//   vantrixo_tune [--seed N] [--evaluations N] [--train N] [--held-out N]
//                 [--deep-openings N] [--jobs N] [--settings 0,3,6]
//                 [--from FILE] [--out DIR] [--smoke] [--report FILE]
//
// --train counts the training openings (two halves, see Tuner.h),
// --evaluations the half-sets of games played, --deep-openings how many
// openings of each half the depth-7 settings play, --settings which menu
// settings (0-8: easy 3, 5, 7, normal 3, 5, 7, hard 3, 5, 7) count. The start
// table is --from (the first tuning's table); tuned.brd and tune.log go to
// --out.
// --smoke is a seconds-long run for the tests;
// --report FILE tunes nothing and reports the start table against FILE (a
// run cut short, or any two tables) on the held-out openings.
//
// Run from the build directory (it reads data/). Every number it prints
// follows from the seed and the options: the games are deterministic and
// each is scored by its place in the list, whichever thread plays it.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Matches.h"
#include "SymmetricTable.h"
#include "TableEvaluation.h"
#include "TuneLog.h"
#include "TuneReport.h"
#include "Tuner.h"
#include "TunerOptions.h"
#include "WorkerPool.h"

namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Tunes from `first`, writes the table to tuned.brd, and prints it with the
// scores on the training openings before and after.
SymmetricTable tuned(const TunerOptions& options, TableEvaluation& evaluation, TuneLog& log,
                     const std::vector<matches::Opening>& training, const SymmetricTable& first) {
    Tuner tuner(options, evaluation, log, training);
    const SymmetricTable table = tuner.tune(first);
    table.write(options.out + "/tuned.brd");
    log.say("\ntuned table (%s/tuned.brd):\n%s", options.out.c_str(), table.text().c_str());
    TuneReport(log, options)
        .print(options.tuneKinds, "On the training openings:", tuner.startTraining(),
               tuner.bestTraining());
    return table;
}

// A table's scores on the held-out openings against every partner.
PartnerScores heldOutScores(const TunerOptions& options, TableEvaluation& evaluation,
                            const SymmetricTable& table,
                            const std::vector<matches::Opening>& openings) {
    const std::string path = options.out + "/report.brd";
    table.write(path);
    return evaluation.run(path, openings, options.settings, options.reportKinds,
                          static_cast<int32_t>(openings.size()));
}

}  // namespace

int main(int argc, char** argv) {
    TunerOptions options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr,
                     "vantrixo_tune: --train needs 2 openings or more, --held-out 1 or "
                     "more, --settings one setting or more\n");
        return 2;
    }
    mkdir(options.out.c_str(), 0777);
    TuneLog log(options.out + "/tune.log");
    if (!log.isOpen()) {
        std::fprintf(stderr, "cannot write %s/tune.log\n", options.out.c_str());
        return 1;
    }
    WorkerPool pool(options.jobs);
    TableEvaluation evaluation(pool);
    const SymmetricTable first = SymmetricTable::read(options.from);
    // Different seed streams, and the held-out set skips any training position.
    const std::vector<matches::Opening> training =
        matches::trainingOpenings(pool.board(), options.seed, options.train);
    const std::vector<matches::Opening> heldOut =
        matches::heldOutOpenings(pool.board(), options.seed, options.heldOut, training);
    log.say(
        "seed %u: %d evaluations of %zu settings x %zu partners x %d openings x 2 colours "
        "(a half of the training openings), %d jobs\nstart %s\n",
        options.seed, options.evaluations, options.settings.size(), options.tuneKinds.size(),
        options.train / 2, options.jobs, first.line().c_str());

    const auto start = std::chrono::steady_clock::now();
    SymmetricTable table;
    if (options.report.empty()) {
        table = tuned(options, evaluation, log, training, first);
    } else {
        table = SymmetricTable::read(options.report);
        log.say("\nreported against %s:\n%s", options.report.c_str(), table.text().c_str());
    }
    const double tuning = since(start);
    const PartnerScores before = heldOutScores(options, evaluation, first, heldOut);
    const PartnerScores after = heldOutScores(options, evaluation, table, heldOut);
    TuneReport(log, options).print(options.reportKinds, "On the held-out openings:", before, after);
    log.say("\n%lld games: tuning %.1f min, reporting %.1f min, %d jobs.\n",
            static_cast<long long>(evaluation.gamesPlayed()), tuning / 60,
            (since(start) - tuning) / 60, options.jobs);
    return 0;
}
