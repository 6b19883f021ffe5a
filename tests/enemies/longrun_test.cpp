// Twenty minutes of boss fight played by a small dodging bot that provokes every clerk and
// never aims at the boss: the walkers that leave keep the task list small, and every death
// while lives remain is followed by a revival. The bot's keys become an input script that the
// headless runner replays to the same figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "enemies/boss.h"
#include "enemies/knight.h"
#include "enemies/nomin.h"
#include "enemies/tenin.h"
#include "game/globals.h"
#include "platform/headless/headless.h"
#include "player/fukki.h"
#include "player/hanetama.h"
#include "player/santa.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "scenes/scenetable.h"
#include "shell/dxmain.h"
#include "shell/game.h"
#include "shell/input.h"
#include "support/sim_runner.h"

namespace {

constexpr int BOSS_TICK = 4600;  // with the stage served in tick 1, stage frame = tick
constexpr int TOTAL_TICKS = BOSS_TICK + 72000;
constexpr int HORIZON = 30;

struct Box {
    float l, t, r, b;
};
Box At(float x, float y, float w, float h, float grow = 0) {
    return {x - grow, y - grow, x + w + grow, y + h + grow};
}
bool Overlap(const Box& a, const Box& b) {
    return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b;
}

// Where something's box will be in each of the next collision passes, and what an arrow that
// reaches it first would do: hit a target, be wasted on it, or hit what it must not.
enum Kind { TARGET, WASTED, FORBIDDEN };
struct Track {
    std::array<Box, HORIZON + 1> at;
    std::array<Kind, HORIZON + 1> kind;
    // Knights and charging clerks follow the player's height, so each plan walks them anew:
    // from pos, with the box before the move (knights) or after it (clerks).
    bool walker = false;
    bool boxAfterMove = false;
    Vec3 pos;
};

void Steer(Vec3& p, float santaY) {  // the knight's and charging clerk's walk
    p.x -= 5;
    if (p.x <= 400) {
        p.y += santaY >= p.y ? 3 : -3;
        p.x -= 5;
    }
}

// Nothing for tasks that cannot touch the player.
std::optional<Track> Predict(NodeBaseClass* task, float santaY, bool keepClerks) {
    Track tr;
    tr.kind.fill(WASTED);
    if (auto* k = dynamic_cast<Knight*>(task)) {
        tr.walker = true;
        tr.pos = k->pos;
        Vec3 p = k->pos;
        for (int m = 0; m <= HORIZON; ++m) {  // its box lags by one move
            tr.at[m] = At(p.x, p.y, 40, 40, 2);
            tr.kind[m] = TARGET;
            Steer(p, santaY);
        }
    } else if (auto* c = dynamic_cast<Tenin*>(task)) {
        tr.walker = c->isCharging;
        tr.boxAfterMove = true;
        tr.pos = c->pos;
        Vec3 p = c->pos;
        for (int m = 0; m <= HORIZON; ++m) {
            if (c->isCharging) Steer(p, santaY);
            tr.at[m] = At(p.x, p.y, 40, 40, 2);
            const int timer = (c->openTimer + m + 1) % 201;
            const bool open = timer > 100;
            tr.kind[m] = c->isCharging ? WASTED : !open ? TARGET : keepClerks ? FORBIDDEN : TARGET;
        }
    } else if (auto* n = dynamic_cast<Nomin*>(task)) {
        float y = n->pos.y;
        int vy = n->vy, ay = n->ay;
        for (int m = 0; m <= HORIZON; ++m) {
            if (y <= 0 || y >= 568) vy = -vy, ay = -ay;
            y += vy;
            vy += ay;
            if (vy >= 25 || vy <= -25) vy = 0;
            tr.at[m] = At(n->pos.x, y, 32, 32, 2);
            tr.kind[m] = TARGET;
        }
    } else if (auto* b = dynamic_cast<Boss*>(task)) {
        float y = b->pos.y;
        int vy = b->vy;
        for (int m = 0; m <= HORIZON; ++m) {
            if (b->life > 30) {
                if (y <= 0 || y >= 568) {
                    y = y <= 0 ? 0 : 568;
                    vy = -vy;
                }
                y += vy * 5;
                tr.at[m] = At(b->pos.x, y, 64, 64, 8);
            } else {  // later phases are not predicted: the whole band, and its drift
                tr.at[m] = {b->pos.x - 40, 0, b->pos.x + 104, 640};
            }
            tr.kind[m] = FORBIDDEN;
        }
    } else if (auto* t = dynamic_cast<Tekitama*>(task)) {
        for (int m = 0; m <= HORIZON; ++m)
            tr.at[m] = At(t->pos.x - 10 * (m + 1), t->pos.y, 16, 16, 2);
    } else if (auto* a = dynamic_cast<tuibi*>(task)) {
        const float dx = 5 * std::cos(a->angle), dy = 5 * std::sin(a->angle);
        for (int m = 0; m <= HORIZON; ++m) {
            tr.at[m] = At(a->pos.x + dx * (m + 1), a->pos.y + dy * (m + 1), 16, 16, 2);
        }
    } else if (auto* h = dynamic_cast<HaneTama*>(task)) {
        float x = h->pos.x, y = h->pos.y;
        int vy = h->vy;
        for (int m = 0; m <= HORIZON; ++m) {
            x -= 2;
            y += vy;
            if (y < 0 || y > 590) {
                y = y < 0 ? 0 : 590;
                vy = -vy;
            }
            tr.at[m] = At(x, y, 16, 16, 2);
        }
    } else {
        return std::nullopt;
    }
    return tr;
}

// One tick's keys: the safest of a few straight escapes, toward a clerk still to be provoked
// when there is a choice; Space when the arrow's first contact would be a target. The boss is
// one only when the bot means to win.
uint8_t Decide(bool keepClerks, bool hitBoss = false) {
    Santa* santa = nullptr;
    std::vector<Track> tracks;
    float goalY = 300;
    int bestTimer = 1000;
    for (NodeBaseClass* t = g_taskHead->next; t != g_taskTail; t = t->next) {
        if (t->state != TASK_ACTIVE) continue;
        if (auto* s = dynamic_cast<Santa*>(t)) santa = s;
        auto* c = dynamic_cast<Tenin*>(t);
        if (c && !c->isCharging && c->openTimer < 90 && c->openTimer < bestTimer) {
            bestTimer = c->openTimer;
            goalY = c->pos.y - 18;
        }
    }
    if (santa == nullptr) return 0;
    for (NodeBaseClass* t = g_taskHead->next; t != g_taskTail; t = t->next) {
        auto tr = t->state == TASK_ACTIVE ? Predict(t, santa->pos.y, keepClerks) : std::nullopt;
        if (tr && hitBoss && dynamic_cast<Boss*>(t) != nullptr) tr->kind.fill(TARGET);
        if (tr) tracks.push_back(*tr);
    }
    const Vec3 s = santa->pos;
    auto clampX = [](float x) { return std::fmin(std::fmax(x, 30.0f), 200.0f); };
    auto clampY = [](float y) { return std::fmin(std::fmax(y, 10.0f), 545.0f); };
    int bestDx = 0, bestDy = 0, bestSafe = -1;
    float bestDist = 1e9f;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int hold : {HORIZON, 6}) {
                float x = s.x, y = s.y;
                std::vector<Vec3> walkers;
                for (const Track& tr : tracks) {
                    walkers.push_back(tr.pos);
                    if (tr.walker && tr.boxAfterMove) Steer(walkers.back(), y);
                }
                int safe = HORIZON + 1;
                for (int m = 1; m <= HORIZON && safe > HORIZON; ++m) {
                    const float before = y;
                    if (m <= hold) x = clampX(x + 5 * dx), y = clampY(y + 5 * dy);
                    const Box me = At(x + 7, y + 20, 16, 32);
                    for (size_t i = 0; i < tracks.size(); ++i) {
                        const Track& tr = tracks[i];
                        Box box = tr.at[m];
                        if (tr.walker) {
                            Steer(walkers[i], tr.boxAfterMove ? y : before);
                            box = At(walkers[i].x, walkers[i].y, 40, 40, 2);
                        }
                        if (Overlap(me, box)) safe = m;
                    }
                }
                const float dist = std::fabs(clampY(s.y + 5 * dy * 6) - goalY) +
                                   std::fabs(clampX(s.x + 5 * dx * 6) - 100);
                if (safe > bestSafe || (safe == bestSafe && dist < bestDist)) {
                    bestSafe = safe, bestDist = dist, bestDx = dx, bestDy = dy;
                }
            }
        }
    }
    const float px = clampX(s.x + 5 * bestDx), py = clampY(s.y + 5 * bestDy);
    bestDx = px > s.x ? 1 : px < s.x ? -1 : 0;
    bestDy = py > s.y ? 1 : py < s.y ? -1 : 0;
    uint8_t keys =
        (bestDx > 0 ? 1 : 0) | (bestDx < 0 ? 2 : 0) | (bestDy < 0 ? 4 : 0) | (bestDy > 0 ? 8 : 0);
    // The first contact must be a target, and nothing forbidden may lie further on, since an
    // earlier arrow may have taken the target already.
    if (santa->shotCooldown == 0) {
        int first = -1;
        bool good = true;
        for (int m = 0; m <= HORIZON; ++m) {
            const Box arrow = At(px + 35 + 20 * m, py + 30, 16, 16);
            bool hit = false;
            for (const Track& tr : tracks) {
                if (!Overlap(arrow, tr.at[m])) continue;
                hit = true;
                good = good && tr.kind[m] != FORBIDDEN && (first >= 0 || tr.kind[m] == TARGET);
            }
            if (hit && first < 0) first = m;
        }
        if (first >= 0 && good) keys |= 16;
    }
    return keys;
}

constexpr uint8_t RETURN_BIT = 1 << 5;

void Press(uint8_t held) {
    uint8_t keys[256] = {};
    const uint8_t codes[] = {DIK_RIGHT, DIK_LEFT, DIK_UP, DIK_DOWN, DIK_SPACE, DIK_RETURN};
    for (int i = 0; i < 6; ++i) {
        if (held & (1 << i)) keys[codes[i]] = KEY_HELD;
    }
    plat::headless::SetKeys(keys);
}

std::string Script(const std::vector<uint8_t>& held) {
    static const char* const NAMES[] = {"RIGHT", "LEFT", "UP", "DOWN", "SPACE", "RETURN"};
    std::string out;
    for (size_t first = 0; first < held.size();) {
        size_t last = first;
        while (last + 1 < held.size() && held[last + 1] == held[first]) ++last;
        if (held[first] != 0) {
            out += std::to_string(first + 1) + "-" + std::to_string(last + 1);
            for (int i = 0; i < 6; ++i) {
                if (held[first] & (1 << i)) out += std::string(" ") + NAMES[i];
            }
            out += "\n";
        }
        first = last + 1;
    }
    return out;
}

struct Figures {
    int maxTasks = 0;
    int deaths = 0;
    int ticksWithoutPlayer = 0;  // while lives remain: no Santa and no Fukki linked and active
    bool bossAliveAtEnd = false;
    int livesAtEnd = 0;
};

TEST(LongBossFight, WalkersThatLeaveKeepTheListSmallAndEveryDeathIsRevived) {
    InstallScenes();
    GameStart start;
    start.scene = SCENE_GAMETIME;
    start.draw = false;
    ASSERT_EQ(StartGame(start), START_OK);

    Figures in;
    std::vector<uint8_t> held;
    struct Clerk {
        bool boss, provoked;
    };
    std::map<const Tenin*, Clerk> clerks;  // linked now; a deleted one's address may come back
    int bossClerks = 0, provoked = 0, walkedAway = 0, knightsAway = 0, lives = 0;
    for (int tick = 1; tick <= TOTAL_TICKS; ++tick) {
        held.push_back(tick == 1 ? 0 : Decide(tick > BOSS_TICK));
        Press(held.back());
        ASSERT_EQ(StepTick(), FRAME_UPDATE_DRAW);

        bool player = false, boss = false;
        for (NodeBaseClass* t = g_taskHead->next; t != g_taskTail; t = t->next) {
            player = player || (t->state == TASK_ACTIVE &&
                                (dynamic_cast<Santa*>(t) || dynamic_cast<Fukki*>(t)));
            boss = boss || (t->state == TASK_ACTIVE && dynamic_cast<Boss*>(t));
            auto* k = dynamic_cast<Knight*>(t);
            knightsAway += k && k->state == TASK_DEAD && k->pos.x <= WALKER_GONE_X;
            auto* c = dynamic_cast<Tenin*>(t);
            if (c == nullptr) continue;
            auto [it, isNew] = clerks.try_emplace(c, Clerk{tick > BOSS_TICK, false});
            Clerk& clerk = it->second;
            bossClerks += isNew && clerk.boss;
            if (clerk.boss && c->isCharging && !clerk.provoked) {
                clerk.provoked = true;
                ++provoked;
            }
            if (c->state == TASK_DEAD) {
                walkedAway += clerk.boss && c->isCharging;
                clerks.erase(it);
            }
        }
        if (tick > 1 && g_lives < lives) in.deaths += lives - g_lives;
        lives = g_lives;
        in.maxTasks = std::max(in.maxTasks, static_cast<int>(g_taskCount));
        if (g_lives >= 1 && tick > 1 && !player) ++in.ticksWithoutPlayer;
        in.bossAliveAtEnd = boss;
    }
    in.livesAtEnd = g_lives;
    StopGame();

    std::printf(
        "in process: max tasks %d, deaths %d, lives left %d, boss clerks %d, provoked %d, "
        "walked away %d, knights walked away %d\n",
        in.maxTasks, in.deaths, in.livesAtEnd, bossClerks, provoked, walkedAway, knightsAway);
    EXPECT_TRUE(in.bossAliveAtEnd);
    EXPECT_GE(in.livesAtEnd, 1);
    EXPECT_EQ(in.ticksWithoutPlayer, 0);
    EXPECT_LT(in.maxTasks, MAX_TASKS / 4);
    EXPECT_EQ(bossClerks, 72000 / 1500);
    EXPECT_GE(provoked, bossClerks - 1);  // the last comes in the very last tick

    // The same keys through the headless runner, read line by line from its trace.
    SimDir dir;
    std::ofstream(dir.Path("input.txt")) << Script(held);
    const std::string command = SimBinary() + " --scene GAMETIME --ticks " +
                                std::to_string(TOTAL_TICKS) + " --input " + dir.Path("input.txt") +
                                " --trace " + dir.Path("trace.jsonl");
    ASSERT_EQ(std::system(command.c_str()), 0);
    Figures sim;
    std::ifstream trace(dir.Path("trace.jsonl"));
    std::string line;
    int simLives = 0;
    int tick = 0;
    for (; std::getline(trace, line); ++tick) {
        int tasks = 0;
        for (size_t at = line.find("\"class\""); at != std::string::npos;
             at = line.find("\"class\"", at + 1)) {
            ++tasks;
        }
        const int lv = std::atoi(line.c_str() + line.find("\"lives\":") + 8);
        if (tick > 1 && lv < simLives) sim.deaths += simLives - lv;
        simLives = lv;
        sim.maxTasks = std::max(sim.maxTasks, tasks);
        sim.bossAliveAtEnd = line.find("{\"class\":\"Boss\",\"state\":2") != std::string::npos;
    }
    sim.livesAtEnd = simLives;
    EXPECT_EQ(tick, TOTAL_TICKS + 1);  // tick 0 and every tick run
    std::printf("through the runner: max tasks %d, deaths %d, lives left %d\n", sim.maxTasks,
                sim.deaths, sim.livesAtEnd);
    EXPECT_EQ(sim.maxTasks, in.maxTasks);
    EXPECT_EQ(sim.deaths, in.deaths);
    EXPECT_EQ(sim.livesAtEnd, in.livesAtEnd);
    EXPECT_TRUE(sim.bossAliveAtEnd);
}

}  // namespace

// The bot aiming at the boss as well: it wins, the town fades, the ending plays a while and
// Enter brings the opening back. Its keys are the pinned run tests/traces/boss_win.txt; this test
// says when the bot no longer plays that run (TINSELRUN_WRITE_WIN=FILE writes its keys anew).
TEST(BossDefeat, TheBotWinsAndEnterAfterTheEndingBringsBackTheOpening) {
    constexpr int ENDING_SHOWN = 600;  // ticks of the ending before Enter
    constexpr int OPENING_SHOWN = 120;
    InstallScenes();
    GameStart start;
    start.scene = SCENE_GAMETIME;
    start.draw = false;
    ASSERT_EQ(StartGame(start), START_OK);
    std::vector<uint8_t> held;
    int defeated = 0, ending = 0, opening = 0;
    for (int tick = 1; tick <= 40000 && (opening == 0 || tick <= opening + OPENING_SHOWN); ++tick) {
        uint8_t keys = 0;
        if (ending == 0) {
            keys = tick == 1 ? 0 : Decide(tick > BOSS_TICK, defeated == 0);
        } else if (tick == ending + ENDING_SHOWN) {
            keys = RETURN_BIT;
        }
        held.push_back(keys);
        Press(keys);
        g_servedScene = nullptr;
        ASSERT_EQ(StepTick(), FRAME_UPDATE_DRAW);
        if (defeated == 0 && g_stageClear == 1) defeated = tick;
        if (g_servedScene != nullptr && std::string(g_servedScene) == "ED") ending = tick;
        if (g_servedScene != nullptr && std::string(g_servedScene) == "OP") opening = tick;
        ASSERT_GE(g_lives, 1) << "tick " << tick;
    }
    StopGame();
    std::printf("boss defeated at %d, ending from %d, opening from %d, %zu ticks\n", defeated,
                ending, opening, held.size());
    ASSERT_GT(defeated, BOSS_TICK);
    ASSERT_GT(ending, defeated);
    ASSERT_EQ(opening, ending + ENDING_SHOWN + 1);

    const std::string script = Script(held);
    if (const char* out = std::getenv("TINSELRUN_WRITE_WIN")) std::ofstream(out) << script;
    std::string pinned;  // without its comment lines
    std::istringstream lines(SimReadFile(TINSELRUN_SOURCE_DIR "/tests/traces/boss_win.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('#', 0) != 0) pinned += line + "\n";
    }
    EXPECT_TRUE(script == pinned) << "the bot plays another run than the pinned one";
    EXPECT_EQ(held.size(), 12193u) << "the pin's tick count";
}
