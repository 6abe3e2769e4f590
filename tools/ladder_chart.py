#!/usr/bin/python3
"""Draws the ladder's scores against the sparring partners as a bar chart.

    ladder_chart.py LADDER_TSV OUTPUT_PNG

LADDER_TSV is what `vantrixo_ladder` writes (table, setting, partner, score,
games). One group of bars per menu setting, one bar per partner: the bar is
the shipped table's score, the black tick on it the hand-written table's.
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
    width = 0.8 / len(partners)
    fig, ax = plt.subplots(figsize=(10, 4.2), dpi=100)
    for p, partner in enumerate(partners):
        xs = [s + (p - (len(partners) - 1) / 2) * width for s in range(len(settings))]
        after = [scores.get(("shipped", s, partner), 0) for s in settings]
        before = [scores.get(("hand-written", s, partner), 0) for s in settings]
        ax.bar(xs, after, width * 0.92, color=COLOURS[p % len(COLOURS)],
               label=f"against {partner}")
        ax.hlines(before, [x - width * 0.46 for x in xs], [x + width * 0.46 for x in xs],
                  colors="black", linewidth=2,
                  label="hand-written table" if p == 0 else None)
    ax.set_xticks(range(len(settings)), settings)
    ax.set_ylim(0, 100)
    ax.set_ylabel("score out of 100")
    ax.axhline(50, color="grey", linewidth=0.6, linestyle=":")
    ax.set_title(f"Each setting against the sparring partners: bars the shipped (tuned) table, "
                 f"black ticks the hand-written one ({games} games a bar)", fontsize=10)
    ax.legend(loc="upper center", bbox_to_anchor=(0.5, -0.1), ncol=len(partners) + 1,
              fontsize=9, frameon=False)
    ax.spines[["top", "right"]].set_visible(False)
    fig.tight_layout()
    fig.savefig(sys.argv[2], metadata={"Software": None})
    print(f"Chart written to {sys.argv[2]}.")


if __name__ == "__main__":
    main()
