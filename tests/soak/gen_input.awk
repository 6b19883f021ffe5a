# Random, plausibly human input for the headless runner: keys held for random stretches,
# Space much of the time, Enter now and then so the cycle of scenes keeps turning.
#   awk -v ticks=36000 -v seed=1 -f gen_input.awk > input.txt
function stretch(key, minHold, maxHold, minGap, maxGap,    t, len) {
    t = 1 + int(rand() * maxGap)
    while (t <= ticks) {
        len = minHold + int(rand() * (maxHold - minHold + 1))
        last = t + len - 1
        if (last > ticks) last = ticks
        printf "%d-%d %s\n", t, last, key
        t = last + 1 + minGap + int(rand() * (maxGap - minGap + 1))
    }
}
BEGIN {
    srand(seed)
    print "# generated: seed " seed ", " ticks " ticks"
    stretch("RIGHT", 5, 60, 10, 200)
    stretch("LEFT", 5, 50, 10, 200)
    stretch("UP", 5, 40, 5, 120)
    stretch("DOWN", 5, 40, 5, 120)
    stretch("SPACE", 20, 400, 5, 120)
    stretch("RETURN", 4, 20, 300, 1800)
}
