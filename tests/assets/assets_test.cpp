// The committed sheet and clips against the formats the game's loaders and pictures rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "sim/world.h"
#include "tools/assetgen/sheet_filler.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAsset(const std::string& name) {
    std::ifstream in(std::string(SKYRING_ASSET_DIR) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le(const Bytes& b, size_t offset, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | b.at(offset + static_cast<size_t>(i));
    return v;
}

std::string Tag(const Bytes& b, size_t offset) { return std::string(b.begin() + offset, b.begin() + offset + 4); }

// ---- The sheet ----

constexpr size_t kFileHeader = 14, kColours = kFileHeader + 40, kPixels = kColours + 1024;
constexpr int kSize = 640;

class Sheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bmp_ = new Bytes(ReadAsset("sheet.bmp")); }
    static void TearDownTestSuite() { delete bmp_; }
    // Index at (x, y) as seen, y down; the file stores the bottom row first.
    static int At(int x, int y) { return (*bmp_)[kPixels + static_cast<size_t>(kSize - 1 - y) * kSize + x]; }
    static uint32_t Colour(int index) {
        return Le(*bmp_, kColours + 4 * static_cast<size_t>(index), 4);  // 0x00RRGGBB
    }
    static Bytes* bmp_;
};
Bytes* Sheet::bmp_ = nullptr;

struct NamedRect {
    const char* name;
    RECT rect;
};

// Every rectangle the game copies from: its catalogue, the backdrop tile and the frames of
// the four turning subjects at every heading.
std::vector<NamedRect> CopiedRects() {
    const SpriteCatalogueRects& c = SPRITE_CATALOGUE_VALUES;
    std::vector<NamedRect> rects = {
        {"AltimeterScale", c.AltimeterScale}, {"AltimeterPointer", c.AltimeterPointer},
        {"AltimeterTick", c.AltimeterTick},   {"BalloonStarBig", c.BalloonStarBig},
        {"BalloonStarSmall", c.BalloonStarSmall}, {"CatchStarBig", c.CatchStarBig},
        {"CatchStarSmall", c.CatchStarSmall}, {"GroundTile", c.GroundTile},
        {"LandingMark", c.LandingMark},       {"FarCloudlet", c.FarCloudlet},
        {"NearCloudlet", c.NearCloudlet},     {"Cloud", c.Cloud},
        {"Balloon", c.Balloon},               {"BalloonString", c.BalloonString},
        {"FlappingBirdA", c.FlappingBirdA},   {"FlappingBirdB", c.FlappingBirdB},
        {"Bird", c.Bird},                     {"Raptor", c.Raptor},
        {"CanopyOpening1", c.CanopyOpening1}, {"CanopyOpening2", c.CanopyOpening2},
        {"CanopyOpening3", c.CanopyOpening3}, {"backdrop", BACKDROP_TILE},
    };
    for (int k = 0; k < 36; ++k) {
        rects.push_back({"aircraft", PostureFrame(POSTURE_AIRCRAFT, k)});
        rects.push_back({"canopy", PostureFrame(POSTURE_CANOPY, k)});
        rects.push_back({"free fall", PostureFrame(POSTURE_FREE_FALL, k)});
        rects.push_back({"head first", PostureFrame(POSTURE_DIVING, k)});
    }
    return rects;
}

TEST_F(Sheet, HeadersHoldTheFieldsTheLoaderReads) {
    ASSERT_EQ(bmp_->size(), kFileHeader + 410664);
    EXPECT_EQ(Tag(*bmp_, 0).substr(0, 2), "BM");
    struct Field {
        size_t offset;
        int size;
        uint32_t value;
    };
    const Field fields[] = {
        {2, 4, 410678},                       // file size
        {10, 4, static_cast<uint32_t>(kPixels)},  // pixel offset
        {14 + 0, 4, 40},      {14 + 4, 4, 640},   {14 + 8, 4, 640},    {14 + 12, 2, 1},   {14 + 14, 2, 8},
        {14 + 16, 4, 0},      {14 + 20, 4, 409600}, {14 + 24, 4, 23621}, {14 + 28, 4, 23621},
        {14 + 32, 4, 256},    {14 + 36, 4, 256},
    };
    for (const Field& f : fields) EXPECT_EQ(Le(*bmp_, f.offset, f.size), f.value) << "at byte " << f.offset;
}

TEST_F(Sheet, PaletteHas256DistinctColoursFromBlackToWhite) {
    std::set<uint32_t> seen;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(Colour(i) >> 24, 0u) << "reserved byte of entry " << i;
        EXPECT_TRUE(seen.insert(Colour(i)).second) << "entry " << i << " repeats a colour";
    }
    EXPECT_EQ(Colour(0), 0x000000u);
    EXPECT_EQ(Colour(255), 0xFFFFFFu);
}

TEST_F(Sheet, EveryIndexIsUsedAndMostOfTheSheetIsTransparent) {
    std::vector<int> counts(256, 0);
    for (size_t i = kPixels; i < bmp_->size(); ++i) counts[(*bmp_)[i]]++;
    for (int i = 0; i < 256; ++i) EXPECT_GT(counts[i], 0) << "index " << i << " is never used";
    const double share = counts[0] / static_cast<double>(kSize * kSize);
    EXPECT_GE(share, 0.70);
    EXPECT_LE(share, 0.90);
}

TEST_F(Sheet, TilesAreSolidInTheirColours) {
    struct Region {
        RECT rect;
        uint32_t colour;
    };
    const RECT ground = SPRITE_CATALOGUE_VALUES.GroundTile, band = assetgen::GroundBand();
    for (const Region& region : {Region{BACKDROP_TILE, 0x00D6FF}, Region{ground, 0xD6AD52}, Region{band, 0xD6AD52}}) {
        const RECT& r = region.rect;
        const int index = At(r.left, r.top);
        EXPECT_EQ(Colour(index), region.colour) << "tile at row " << r.top;
        int stray = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) stray += At(x, y) != index;
        }
        EXPECT_EQ(stray, 0) << "tile at row " << r.top;
    }
}

// Each rectangle the game copies from has something to show.
TEST_F(Sheet, EveryPictureTheGameDrawsHasVisiblePixels) {
    for (const NamedRect& n : CopiedRects()) {
        const RECT& r = n.rect;
        int visible = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) visible += At(x, y) != 0;
        }
        EXPECT_GE(visible, 20) << n.name << " at " << r.left << "," << r.top;
    }
}

// Only the generator's two named fillers lie outside the game's rectangles: any other ink
// there is a picture spilling out of its rectangle, cut off on screen.
TEST_F(Sheet, NothingIsDrawnOutsideTheRectanglesTheGameCopies) {
    std::vector<bool> allowed(static_cast<size_t>(kSize) * kSize, false);
    const auto allow = [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) allowed[static_cast<size_t>(y) * kSize + x] = true;
        }
    };
    for (const NamedRect& n : CopiedRects()) allow(n.rect);
    allow(assetgen::GroundBand());
    allow(assetgen::SpentPaletteSwatch());
    int stray = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (allowed[static_cast<size_t>(y) * kSize + x] || At(x, y) == 0) continue;
            if (stray++ == 0) firstX = x, firstY = y;
        }
    }
    EXPECT_EQ(stray, 0) << "the first at " << firstX << "," << firstY;
}

// A picture turned by 180 degrees covers about as many pixels as the original: a turned
// copy that lost or gained parts would not.
TEST_F(Sheet, OppositeHeadingsCoverTheSameArea) {
    for (Posture posture : {POSTURE_AIRCRAFT, POSTURE_CANOPY, POSTURE_FREE_FALL, POSTURE_DIVING}) {
        const auto area = [&](int k) {
            const RECT r = PostureFrame(posture, k);
            int n = 0;
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) n += At(x, y) != 0;
            }
            return n;
        };
        for (int k = 0; k < 18; ++k) EXPECT_NEAR(area(k), area(k + 18), area(k) / 10.0) << "posture " << posture << " k " << k;
    }
}

// The heading convention: picture k faces 10 x k degrees on from straight down the screen
// (9 right, 18 up, 27 left). A diver's helmet lies ahead of its body, so the line from the
// picture's middle to the helmet must point that way.
TEST_F(Sheet, DiversFaceTheirHeading) {
    const auto isHelmet = [](uint32_t rgb) {
        const int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
        return r > 150 && g * 10 > r * 6 && b * 2 < g;
    };
    for (Posture posture : {POSTURE_FREE_FALL, POSTURE_DIVING}) {
        for (int k = 0; k < 36; ++k) {
            const RECT r = PostureFrame(posture, k);
            double sumX = 0, sumY = 0, helmetX = 0, helmetY = 0;
            int body = 0, helmet = 0;
            for (int y = 0; y < r.bottom - r.top; ++y) {
                for (int x = 0; x < r.right - r.left; ++x) {
                    const int index = At(r.left + x, r.top + y);
                    if (index == 0) continue;
                    sumX += x, sumY += y, ++body;
                    if (isHelmet(Colour(index))) helmetX += x, helmetY += y, ++helmet;
                }
            }
            ASSERT_GT(helmet, 3) << "posture " << posture << " picture " << k;
            const double dx = helmetX / helmet - sumX / body, dy = helmetY / helmet - sumY / body;
            const double angle = k * 10 * 3.14159265358979 / 180;
            const double along = dx * std::sin(angle) + dy * std::cos(angle);
            EXPECT_GT(along, 0.9 * std::hypot(dx, dy)) << "posture " << posture << " picture " << k;
        }
    }
}

// ---- The clips ----

struct ClipFormat {
    const char* name;
    uint32_t rate;
    uint16_t channels, bits;
    uint32_t dataLength;
};

const ClipFormat kClips[] = {
    {"ORB_BGM", 44100, 2, 16, 353836}, {"ORB_GET", 22254, 1, 8, 16692}, {"ORB_PUSH", 22254, 1, 8, 8853},
    {"ORB_OPEN", 22254, 1, 8, 11128},  {"ORB_END", 22254, 1, 8, 18945}, {"ORB_PLAN", 22254, 1, 8, 33384},
    {"ORB_BREK", 22254, 1, 8, 1984},
};

// Samples of every channel in turn, as fractions of full scale.
std::vector<double> Samples(const Bytes& wav, const ClipFormat& f) {
    std::vector<double> out;
    for (size_t i = 44; i < wav.size(); i += f.bits / 8) {
        out.push_back(f.bits == 8 ? (wav[i] - 128) / 128.0
                                  : static_cast<int16_t>(wav[i] | wav[i + 1] << 8) / 32768.0);
    }
    return out;
}

double Rms(const std::vector<double>& s) {
    double sum = 0;
    for (double v : s) sum += v * v;
    return std::sqrt(sum / static_cast<double>(s.size()));
}

TEST(Clips, HeadersMatchTheSlotTable) {
    for (const ClipFormat& f : kClips) {
        SCOPED_TRACE(f.name);
        const Bytes wav = ReadAsset(std::string(f.name) + ".wav");
        ASSERT_EQ(wav.size(), 44 + f.dataLength);
        EXPECT_EQ(Tag(wav, 0), "RIFF");
        EXPECT_EQ(Tag(wav, 8), "WAVE");
        EXPECT_EQ(Tag(wav, 12), "fmt ");
        EXPECT_EQ(Tag(wav, 36), "data");
        const uint32_t block = f.channels * f.bits / 8u;
        EXPECT_EQ(Le(wav, 20, 2), 1u);
        EXPECT_EQ(Le(wav, 22, 2), f.channels);
        EXPECT_EQ(Le(wav, 24, 4), f.rate);
        EXPECT_EQ(Le(wav, 28, 4), f.rate * block);
        EXPECT_EQ(Le(wav, 32, 2), block);
        EXPECT_EQ(Le(wav, 34, 2), f.bits);
        EXPECT_EQ(Le(wav, 40, 4), f.dataLength);
    }
}

TEST(Clips, PeaksStayBelowOneDecibelAndEventsStartAndEndInSilence) {
    const double limit = std::pow(10.0, -1 / 20.0);  // -1 dBFS
    for (const ClipFormat& f : kClips) {
        SCOPED_TRACE(f.name);
        const std::vector<double> s = Samples(ReadAsset(std::string(f.name) + ".wav"), f);
        double peak = 0;
        for (double v : s) peak = std::max(peak, std::fabs(v));
        EXPECT_LE(peak, limit);
        EXPECT_GT(peak, 0.25) << "too quiet to hear";
        if (f.channels == 1) {
            EXPECT_LE(std::fabs(s.front()), 1 / 128.0);
            EXPECT_LE(std::fabs(s.back()), 1 / 128.0);
        }
    }
}

TEST(Clips, EventsAreAlikeInLoudnessAndTheMusicSitsBelowThem) {
    std::vector<double> events;
    double music = 0;
    for (const ClipFormat& f : kClips) {
        const double rms = Rms(Samples(ReadAsset(std::string(f.name) + ".wav"), f));
        if (f.channels == 2) music = rms;
        else events.push_back(rms);
    }
    const auto [quietest, loudest] = std::minmax_element(events.begin(), events.end());
    EXPECT_LE(*loudest / *quietest, 2.0) << "events differ by more than 6 dB";
    EXPECT_LT(music, *quietest);
    EXPECT_GT(music, *quietest / 2.5) << "the music should be a little quieter, not faint";
}

// Looping: the step from the last frame back to the first is an ordinary step of the music,
// not a click standing out from the rest.
TEST(Clips, MusicLoopsWithoutASeam) {
    const ClipFormat& f = kClips[0];
    const std::vector<double> s = Samples(ReadAsset("ORB_BGM.wav"), f);
    const size_t frames = s.size() / 2;
    for (size_t channel = 0; channel < 2; ++channel) {
        std::vector<double> steps;
        for (size_t i = 1; i < frames; ++i) steps.push_back(std::fabs(s[2 * i + channel] - s[2 * (i - 1) + channel]));
        std::sort(steps.begin(), steps.end());
        const double seam = std::fabs(s[channel] - s[2 * (frames - 1) + channel]);
        EXPECT_LE(seam, steps[steps.size() * 99 / 100]) << "channel " << channel;
    }
}

TEST(Clips, EmbeddedResourcesAreTheCommittedFiles) {
    struct Expected {
        const char* name;
        const char* type;
        std::string file;
        size_t skip;
    };
    std::vector<Expected> expected = {{"BITMAP", "BITMAP", "sheet.bmp", 14}};
    for (const ClipFormat& f : kClips) expected.push_back({f.name, "WAVE", std::string(f.name) + ".wav", 0});
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const EmbeddedResource* found = nullptr;
        for (const EmbeddedResource* r = kEmbeddedResources; r->name; ++r) {
            if (std::strcmp(r->name, e.name) == 0 && std::strcmp(r->type, e.type) == 0) found = r;
        }
        ASSERT_NE(found, nullptr);
        const Bytes file = ReadAsset(e.file);
        ASSERT_EQ(found->size, file.size() - e.skip);
        EXPECT_TRUE(std::equal(file.begin() + static_cast<long>(e.skip), file.end(), found->bytes));
    }
}

}  // namespace
