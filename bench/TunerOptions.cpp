#include "TunerOptions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

bool TunerOptions::parse(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const auto number = [&] { return std::atoi(argv[++i]); };
        if (arg == "--smoke") {
            // A seconds-long run, for the tests.
            evaluations = 26;
            train = 4;
            heldOut = 2;
            settings = {0, 3, 6};
        } else if (arg == "--settings" && hasValue) {
            // Menu positions 0-8: easy 3, 5, 7, normal 3, 5, 7, hard 3, 5, 7.
            settings.clear();
            for (const char* at = argv[++i]; *at != 0; ++at) {
                if (*at >= '0' && *at <= '8') {
                    settings.push_back(*at - '0');
                }
            }
        } else if (arg == "--seed" && hasValue) {
            seed = static_cast<uint32_t>(number());
        } else if (arg == "--evaluations" && hasValue) {
            evaluations = number();
        } else if (arg == "--train" && hasValue) {
            train = number();
        } else if (arg == "--held-out" && hasValue) {
            heldOut = number();
        } else if (arg == "--deep-openings" && hasValue) {
            deepOpenings = std::max(number(), 1);
        } else if (arg == "--jobs" && hasValue) {
            jobs = std::max(number(), 1);
        } else if (arg == "--from" && hasValue) {
            from = argv[++i];
        } else if (arg == "--report" && hasValue) {
            report = argv[++i];
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else {
            std::fprintf(arg == "--help" ? stdout : stderr,
                         "usage: vantrixo_tune [--seed N] [--evaluations N] [--train N] "
                         "[--held-out N] [--deep-openings N] [--jobs N] [--settings 0,3,6] "
                         "[--from FILE] [--out DIR] [--smoke] [--report FILE]\n");
            std::exit(arg == "--help" ? 0 : 2);
        }
    }
    return train > 1 && heldOut > 0 && !settings.empty();
}
