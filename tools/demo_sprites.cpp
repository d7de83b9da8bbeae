#include "tools/demo_sprites.h"

#include "tools/art_canvas.h"

#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace pagelark::tools {

namespace {

// Palette indices used below.
constexpr std::int16_t Black = 0;
constexpr std::int16_t White = 15;
constexpr std::int16_t DarkGrey = 29;
constexpr std::int16_t Shadow = 31;
constexpr std::int16_t Skin = 198;        // 252,188,156
constexpr std::int16_t Hair = 220;        // 72,56,24
constexpr std::int16_t Coat = 133;        // 0,124,204
constexpr std::int16_t CoatShade = 135;   // 0,92,156
constexpr std::int16_t Belt = 218;        // 92,64,32
constexpr std::int16_t Buckle = 71;       // 252,244,0
constexpr std::int16_t Mouth = 42;        // 124,0,0
constexpr std::int16_t LarkBrown = 213;   // 144,92,52
constexpr std::int16_t LarkWing = 216;    // 116,76,40
constexpr std::int16_t LarkStreak = 221;  // 64,48,24
constexpr std::int16_t LarkBelly = 197;   // 252,196,164
constexpr std::int16_t LarkLegs = 206;    // 208,128,80
constexpr std::int16_t Horn = 77;         // 112,108,0
constexpr std::int16_t BarrelWood = 208;  // 188,120,72 and darker
constexpr std::int16_t Hoop = 24;         // 124,124,124 and darker
constexpr std::int16_t ShadeGreen = 104;  // 4,152,0 and darker
constexpr std::int16_t BulbLight = 64;    // 252,252,216
constexpr std::int16_t BulbGlow = 67;     // 252,252,124
constexpr std::int16_t GhostBody = 137;   // 184,188,252
constexpr std::int16_t GhostLight = 136;  // 216,216,252
constexpr std::int16_t GhostEdge = 139;   // 124,128,252
constexpr std::int16_t GhostPupil = 143;  // 0,4,252

std::int16_t offsetIndex(std::int16_t base, int steps) { return static_cast<std::int16_t>(base + steps); }

// How the walker looks from one of the directions 0 (front) to 4 (back);
// the left-hand views are mirror images of the right-hand ones.
struct WalkerView {
    bool face;         // the face is seen
    double faceShift;  // how far the face has turned towards the right
    int bodyHalf;      // half the torso's width
    double legSpread;  // distance of each hip from the middle
    double stride;     // how far a foot swings forwards or back
    int lift;          // how far a passing foot rises
    int toe;           // how far the boots point to the right
};

constexpr std::array<WalkerView, 5> WalkerViews{{
    {true, 0.0, 8, 3.5, 0.0, 3, 0},
    {true, 2.5, 6, 2.5, 4.0, 1, 1},
    {true, 4.0, 4, 0.5, 7.0, 0, 2},
    {false, 2.5, 6, 2.5, 4.0, 1, 1},
    {false, 0.0, 8, 3.5, 0.0, 3, 0},
}};

// How far each leg is forwards at each step; the legs swing opposite ways.
constexpr std::array<double, WalkerSteps> LegSwing{1.0, 0.3, -1.0, -0.3};

Picture walkerFromRight(int direction, int step)
{
    const WalkerView& view = WalkerViews[static_cast<std::size_t>(direction)];
    Canvas figure;
    const double centre = 32.0;
    const bool sideways = direction == 2;

    for (int leg = 0; leg < 2; ++leg) {
        const int side = leg == 0 ? -1 : 1;
        const double forward = LegSwing[static_cast<std::size_t>(step)] * side;
        const bool passing = (step == 1 && leg == 0) || (step == 3 && leg == 1);
        const int lift = passing ? view.lift : 0;
        const double hip = centre + side * view.legSpread;
        const double foot = hip + forward * view.stride;
        // Seen from the side, the far leg is the darker one.
        const std::int16_t trousers = sideways && leg == 0 ? Shadow : DarkGrey;
        figure.slantedBar(hip, 41, foot, 58 - lift, 5.0, trousers);
        const int footX = static_cast<int>(std::lround(foot));
        figure.fillRect(footX - 3 + view.toe, 59 - lift, footX + 1 + view.toe, 62 - lift, Shadow);
    }

    const int left = 32 - view.bodyHalf;
    const int right = 31 + view.bodyHalf;
    figure.fillRect(left, 21, right, 40, view.face ? Coat : CoatShade);
    figure.fillRect(left, 39, right, 40, Belt);
    if (view.face && !sideways)
        figure.fillRect(static_cast<int>(centre + view.faceShift) - 1, 39,
                        static_cast<int>(centre + view.faceShift) + 1, 40, Buckle);

    for (int arm = 0; arm < 2; ++arm) {
        const int side = arm == 0 ? -1 : 1;
        if (sideways && arm == 0)
            continue;  // hidden behind the body
        const double forward = -LegSwing[static_cast<std::size_t>(step)] * side;
        const double shoulder = sideways ? centre : centre + side * (view.bodyHalf + 1.5);
        const double hand = shoulder + forward * view.stride * 0.7;
        const int handY = 37 + static_cast<int>(std::lround(view.stride == 0.0 ? forward * 2 : 0));
        figure.slantedBar(shoulder, 22, hand, handY, 3.5, CoatShade);
        figure.fillEllipse(hand, handY + 1.5, 2.0, 2.0, Skin);
    }

    figure.fillRect(30, 18, 33, 21, Skin);
    figure.fillEllipse(centre + view.faceShift * 0.3, 11.5, 6.0, 7.0, Hair);
    if (view.face) {
        const double faceX = centre + view.faceShift * 0.5;
        figure.fillEllipse(faceX, 14.0, 5.0, 5.0, Skin);
        const int eyeX = static_cast<int>(std::lround(faceX + view.faceShift * 0.3));
        if (!sideways)
            figure.set(eyeX - 3, 13, Black);
        figure.set(eyeX + 1, 13, Black);
        figure.fillRect(eyeX - 2, 17, eyeX, 17, Mouth);
        if (sideways)
            figure.set(eyeX + 4, 15, Skin);  // the nose in profile
    } else if (direction == 3) {
        figure.fillRect(36, 12, 37, 15, Skin);  // the ear that still shows
    }
    return figure.picture();
}

}  // namespace

Picture lark()
{
    Canvas bird;
    bird.slantedBar(19, 40, 8, 48, 5.0, LarkWing);  // tail
    bird.fillEllipse(30, 44, 13, 8, LarkBrown);
    bird.fillEllipse(35, 48, 9, 4.5, LarkBelly);
    bird.fillEllipse(26, 42, 10, 5, LarkWing);
    // Streaks on the wing and speckles on the breast.
    for (int x = 17; x < 36; ++x)
        for (int y = 38; y < 47; ++y)
            if (bird.at(x, y) == LarkWing && grain(x, y, 11, 5) == 0)
                bird.set(x, y, LarkStreak);
    for (int x = 33; x < 42; ++x)
        for (int y = 44; y < 50; ++y)
            if (bird.at(x, y) == LarkBelly && grain(x, y, 12, 6) == 0)
                bird.set(x, y, LarkBrown);
    bird.fillEllipse(43, 35, 6, 5.5, LarkBrown);
    bird.slantedBar(40, 26, 42, 31, 2.0, LarkStreak);  // the crest
    bird.set(45, 34, Black);
    bird.fillRect(49, 35, 53, 35, Horn);
    bird.fillRect(49, 36, 51, 36, Horn);
    for (int legX : {30, 35}) {
        bird.slantedBar(legX, 51, legX - 1, 61, 1.0, LarkLegs);
        bird.fillRect(legX - 4, 62, legX + 2, 62, LarkLegs);
    }
    return bird.picture();
}

Picture barrel()
{
    Canvas cask;
    const double centre = 32.0;
    for (int y = 26; y < PictureSide; ++y) {
        const double half = 11.0 + 3.0 * std::sin(std::numbers::pi * (y - 26) / 37.0);
        const int left = static_cast<int>(std::lround(centre - half));
        const int right = static_cast<int>(std::lround(centre + half)) - 1;
        for (int x = left; x <= right; ++x) {
            // Light from the upper left: darker towards the right-hand edge.
            const int tone = static_cast<int>(std::lround(5.0 * std::abs(x - (centre - 4)) / (half + 4)));
            const bool staveJoint = (x - left) % 5 == 4;
            const bool hoop = (y >= 30 && y <= 31) || (y >= 44 && y <= 45) || (y >= 58 && y <= 59);
            if (hoop)
                cask.set(x, y, offsetIndex(Hoop, tone));
            else
                cask.set(x, y, offsetIndex(BarrelWood, tone + (staveJoint ? 4 : 0)));
        }
    }
    cask.fillEllipse(centre, 27.5, 11.0, 2.5, offsetIndex(BarrelWood, 8));
    cask.fillEllipse(centre, 27.5, 9.0, 1.5, offsetIndex(BarrelWood, 11));
    return cask.picture();
}

Picture ceilingLamp()
{
    Canvas lamp;
    lamp.fillRect(31, 0, 32, 13, DarkGrey);
    for (int y = 14; y <= 25; ++y) {
        const int half = 3 + (y - 14);
        for (int x = 32 - half; x < 32 + half; ++x) {
            const int tone = (x - (32 - half)) * 4 / (2 * half);
            lamp.set(x, y, offsetIndex(ShadeGreen, tone));
        }
    }
    lamp.fillRect(20, 25, 43, 25, offsetIndex(ShadeGreen, 6));
    lamp.fillEllipse(32, 27.5, 5.0, 3.0, BulbGlow);
    lamp.fillEllipse(31, 27.0, 2.5, 1.5, BulbLight);
    return lamp.picture();
}

Picture walker(int direction, int step)
{
    if (direction < 0 || direction >= WalkerDirections || step < 0 || step >= WalkerSteps)
        throw std::out_of_range("the walker has 8 directions and 4 steps");
    if (direction <= 4)
        return walkerFromRight(direction, step);
    return mirrored(walkerFromRight(WalkerDirections - direction, step));
}

Picture ghost(bool eyesOpen)
{
    Canvas spook;
    spook.fillEllipse(32, 28, 15, 15, GhostBody);
    spook.fillRect(17, 28, 46, 50, GhostBody);
    // A wavy hem, rippling the other way when the eyes shut.
    for (int x = 17; x <= 46; ++x) {
        const double phase = (x - 17) / 30.0 * 3.0 * 2.0 * std::numbers::pi;
        const int hem = 52 + static_cast<int>(std::lround(3.0 * std::sin(eyesOpen ? phase : phase + std::numbers::pi)));
        spook.fillRect(x, 50, x, hem, GhostBody);
        spook.set(x, hem, GhostEdge);
    }
    spook.fillEllipse(27, 20, 4, 5, GhostLight);
    for (int eyeX : {26, 38}) {
        if (eyesOpen) {
            spook.fillEllipse(eyeX, 27, 3.5, 4.5, White);
            spook.fillEllipse(eyeX + 1, 28, 1.5, 2.0, GhostPupil);
        } else {
            spook.fillRect(eyeX - 3, 28, eyeX + 2, 28, GhostEdge);
        }
    }
    spook.fillEllipse(32, 38, 2.5, 2.0, Black);
    return spook.picture();
}

}  // namespace pagelark::tools
