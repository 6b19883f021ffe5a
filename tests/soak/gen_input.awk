# Random, plausibly human input for the headless runner. A player goes through the menus with
# Enter (now and then holding Space for a one-life run), then plays a long while: steers towards
# one spot after another (now and then a careless one past an edge), pauses, shoots in long
# bursts. Then Enter again, several times, which leaves a game-over screen or an ending and
# starts the next run, so the cycle of scenes keeps turning.
#   awk -v ticks=36000 -v seed=1 -f gen_input.awk > input.txt
function flush(key, t) {
    if (since[key] > 0) printf "%d-%d %s\n", since[key], t - 1, key
    since[key] = 0
}
function want(key, on, t) {
    if (on && since[key] == 0) since[key] = t
    if (!on && since[key] > 0) flush(key, t)
}
function pick() {
    if (rand() < 0.08) {  # a careless move past an edge: a life is lost, Santa starts again
        tx = rand() < 0.5 ? -40 : 840
        ty = 40 + rand() * 480
        careless = 1
    } else {
        tx = 40 + rand() * 660
        ty = 30 + rand() * 500
        careless = 0
    }
}
BEGIN {
    srand(seed)
    print "# generated: seed " seed ", " ticks " ticks"
    x = 100; y = 300; pause = 0; pick()
    fire = 0; fireLeft = 0; enterLeft = 0
    menuUntil = 0; playUntil = 0
    for (t = 1; t <= ticks; t++) {
        right = left = up = down = 0
        if (t > playUntil) {  # the menus: Enter four times, 150 to 250 ticks apart
            menuAt = t; menuUntil = t + 4 * 250; playUntil = menuUntil + 3000 + int(rand() * 12000)
            presses = 0; nextPress = t; oneLife = rand() < 0.1
        }
        if (t <= menuUntil) {
            if (t == nextPress && presses < 4) {
                enterLeft = 4 + int(rand() * 12); presses++; nextPress = t + 150 + int(rand() * 100)
            }
            want("SPACE", oneLife, t); want("RETURN", enterLeft-- > 0, t)
            x = 100; y = 300; pause = 0
            continue
        }
        if (pause > 0) {
            pause--
        } else {
            if (tx > x + 4) right = 1
            if (tx < x - 4) left = 1
            if (ty > y + 4) down = 1
            if (ty < y - 4) up = 1
            x += 5 * (right - left); y += 5 * (down - up)
            if (!right && !left && !up && !down) { pause = int(rand() * 60); pick() }
            if (x < 0 || x >= 790 || y < 0 || y >= 568) {  # died: back at the start after the slide
                x = 100; y = 300; pause = 80 + int(rand() * 40); pick()
            }
        }
        if (--fireLeft <= 0) { fire = !fire; fireLeft = fire ? 20 + int(rand() * 400) : 5 + int(rand() * 90) }
        want("RIGHT", right, t); want("LEFT", left, t); want("UP", up, t); want("DOWN", down, t)
        want("SPACE", fire, t); want("RETURN", 0, t)
    }
    flush("RIGHT", t); flush("LEFT", t); flush("UP", t); flush("DOWN", t); flush("SPACE", t); flush("RETURN", t)
}
