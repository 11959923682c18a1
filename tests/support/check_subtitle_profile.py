#!/usr/bin/python3
"""An independent check of subtitles cut to a profile, for the tests.

Reads an SRT file with Debian's python3-srt and the words it was made of
(a TSV file: start ms, end ms, word), and checks every limit of a profile.
A problem the speech makes impossible (no timing that starts each cue
within the lead before its first word could keep the rule) is counted, not
reported. Prints "problem ..." lines, then "cues N impossible K"; exits 1
when a problem was found.
"""
import argparse
import sys

import srt


def ms(t):
    return t.days * 86400000 + t.seconds * 1000 + t.microseconds // 1000


def main():
    p = argparse.ArgumentParser()
    p.add_argument("srt")
    p.add_argument("words")
    for name in ("line", "lines", "min", "max", "gap", "lead"):
        p.add_argument("--" + name, type=int, default=0)
    p.add_argument("--cps", type=float, default=0)
    a = p.parse_args()

    words = []
    with open(a.words, encoding="utf-8") as f:
        for line in f:
            start, end, text = line.rstrip("\n").split("\t")
            words.append((int(start), int(end), text))
    with open(a.srt, encoding="utf-8-sig") as f:
        cues = list(srt.parse(f.read()))

    problems = []
    impossible = 0
    at = 0
    spans = []  # the words of each cue: first and last index
    for c in cues:
        shown = c.content.split()
        mine = [w[2] for w in words[at:at + len(shown)]]
        if shown != mine:
            print("problem cue %d shows %r, the words are %r" % (c.index, shown, mine))
            return 1
        spans.append((at, at + len(shown) - 1))
        at += len(shown)
    if at != len(words):
        problems.append("only %d of %d words are shown" % (at, len(words)))

    big = 1 << 60
    for k, c in enumerate(cues):
        first, last = words[spans[k][0]], words[spans[k][1]]
        start, end = ms(c.start), ms(c.end)
        lines = c.content.split("\n")
        chars = sum(len(line) for line in lines)
        duration = end - start
        next_first = words[spans[k + 1][0]][0] if k + 1 < len(cues) else big
        latest_end = next_first - a.gap
        earliest_start = max(first[0] - a.lead, 0)
        if k > 0:
            earliest_start = max(earliest_start, ms(cues[k - 1].end) + a.gap)
        where = "cue %d at %d" % (c.index, start)

        if not first[0] - a.lead <= start <= first[0]:
            problems.append("%s starts at %d, its first word at %d" % (where, start, first[0]))
        if end < last[0]:
            problems.append("%s ends at %d before its last word starts at %d" % (where, end, last[0]))
        if a.line and max(len(line) for line in lines) > a.line:
            problems.append("%s has a line of %d characters" % (where, max(len(x) for x in lines)))
        if a.lines and len(lines) > a.lines:
            problems.append("%s has %d lines" % (where, len(lines)))
        if k + 1 < len(cues) and a.gap and ms(cues[k + 1].start) - end < a.gap:
            if latest_end < last[0]:
                impossible += 1
            else:
                problems.append("%s leaves a gap of %d ms" % (where, ms(cues[k + 1].start) - end))
        if a.min and duration < a.min:
            if latest_end - earliest_start < a.min:
                impossible += 1
            else:
                problems.append("%s lasts %d ms" % (where, duration))
        if a.max and duration > a.max:
            if last[1] - first[0] > a.max:
                impossible += 1
            else:
                problems.append("%s lasts %d ms" % (where, duration))
        if a.cps and chars * 1000.0 > a.cps * max(duration, 1) + 1e-6:
            window = latest_end - earliest_start
            if a.max:
                window = min(window, a.max)
            if chars * 1000.0 > a.cps * window + 1e-6:
                impossible += 1
            else:
                problems.append("%s reads at %.2f characters per second in %d ms, %d ms were free"
                                % (where, chars * 1000.0 / max(duration, 1), duration, window))
    for problem in problems:
        print("problem " + problem)
    print("cues %d impossible %d" % (len(cues), impossible))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
