# Lists the tiers of a TextGrid as Praat reads it: "tiers N", then per tier
# "tier NAME COUNT" and one line per interval, "start<TAB>end<TAB>text" with
# the times in whole ms.
#   praat --run list-tiers.praat FILE.TextGrid
form List
  sentence path
endform
Read from file: path$
n = Get number of tiers
writeInfoLine: "tiers ", n
for t from 1 to n
  name$ = Get tier name: t
  k = Get number of intervals: t
  appendInfoLine: "tier ", name$, " ", k
  for i from 1 to k
    s = Get start time of interval: t, i
    stop = Get end time of interval: t, i
    lab$ = Get label of interval: t, i
    appendInfoLine: round(s * 1000), tab$, round(stop * 1000), tab$, lab$
  endfor
endfor
