// What the large pictures share: the night sky, the town street, and the story's lettering.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "font.h"

namespace ag {

constexpr double kPi = 3.14159265358979323846;

constexpr Color kSkyTop = rgb(8, 10, 30);
constexpr Color kSkyMid = rgb(18, 24, 58);
constexpr Color kSkyLow = rgb(40, 46, 86);

void stars(Image& img, int y0, int y1, int count, uint64_t seed);
void moon(Image& img, double cx, double cy, double r, Color face);
void snowfall(Image& img, int y0, int y1, int count, uint64_t seed, int alpha);
// Rolling far roofs with a few spires, towers and domes; the lord's castle on its hill only
// where the picture stands still.
void farSkyline(Image& img, int base, uint64_t seed, Color col, bool castle);
// The town street shared by the stage picture, the title, the opening and the ending.
void townStreet(Image& img, int ground, uint64_t seed, bool lights, int maxH = 200);
void darken(Image& img, double amount);

TextStyle storyStyle(int scale);
TextStyle headingStyle(int scale);
// Lays paragraphs out centred down a tall picture; returns the y after the last line.
int storyBlock(Image& img, int y, const std::vector<std::string>& paragraphs, int scale);

}  // namespace ag
