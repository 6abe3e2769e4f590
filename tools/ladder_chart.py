#!/usr/bin/python3
"""Draws the ladder's scores against the sparring partners as a bar chart.

    ladder_chart.py LADDER_TSV OUTPUT_PNG

LADDER_TSV is what `vantrixo_ladder` writes (table, setting, partner, score,
games). One group of bars per menu setting, one bar per partner: the bar is
the shipped table's score, the black tick on it the hand-written table's.
Right of them, each difficulty's three settings on average: what a player
who picks that difficulty meets.
Needs Debian's python3-matplotlib.
"""

import csv
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

COLOURS = ["#b8d8b0", "#7fb77e", "#3f7fbf", "#c0392b"]


def read(path):
    scores = {}
    settings, partners = [], []
    games = 0
    with open(path, newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            if row["setting"] not in settings:
                settings.append(row["setting"])
            if row["partner"] not in partners:
                partners.append(row["partner"])
            scores[row["table"], row["setting"], row["partner"]] = float(row["score"])
            games = int(float(row["games"]))
    return scores, settings, partners, games


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    scores, settings, partners, games = read(sys.argv[1])
    levels = []
    for setting in settings:
        level = setting.split()[0]
        if level not in levels:
            levels.append(level)
    for table in ("hand-written", "shipped"):
        for level in levels:
            of = [s for s in settings if s.split()[0] == level]
            for partner in partners:
                scores[table, level, partner] = sum(scores.get((table, s, partner), 0)
                                                    for s in of) / len(of)
    # The settings, a gap, then the difficulties' averages.
    groups = settings + levels
    places = list(range(len(settings))) + [len(settings) + 0.5 + i for i in range(len(levels))]
    width = 0.8 / len(partners)
    fig, ax = plt.subplots(figsize=(12, 4.2), dpi=100)
    for p, partner in enumerate(partners):
        xs = [x + (p - (len(partners) - 1) / 2) * width for x in places]
        after = [scores.get(("shipped", g, partner), 0) for g in groups]
        before = [scores.get(("hand-written", g, partner), 0) for g in groups]
        ax.bar(xs, after, width * 0.92, color=COLOURS[p % len(COLOURS)],
               label=f"against {partner}")
        ax.hlines(before, [x - width * 0.46 for x in xs], [x + width * 0.46 for x in xs],
                  colors="black", linewidth=2,
                  label="hand-written table" if p == 0 else None)
    ax.set_xticks(places, settings + [f"{level}\n(average)" for level in levels])
    ax.axvline(len(settings) - 0.25, color="grey", linewidth=0.6)
    ax.set_ylim(0, 100)
    ax.set_ylabel("score out of 100")
    ax.axhline(50, color="grey", linewidth=0.6, linestyle=":")
    ax.set_title(f"Each setting, and each difficulty on average, against the sparring partners "
                 f"({games} games a setting's bar):\nbars the shipped (tuned) table, black ticks "
                 f"the hand-written one", fontsize=10)
    ax.legend(loc="upper center", bbox_to_anchor=(0.5, -0.1), ncol=len(partners) + 1,
              fontsize=9, frameon=False)
    ax.spines[["top", "right"]].set_visible(False)
    fig.tight_layout()
    fig.savefig(sys.argv[2], metadata={"Software": None})
    print(f"Chart written to {sys.argv[2]}.")


if __name__ == "__main__":
    main()
