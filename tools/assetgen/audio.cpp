#include "tools/assetgen/audio.h"

#include <cmath>

#include "tools/assetgen/exact_math.h"

namespace assetgen {
namespace {

constexpr int kEventRate = 22254;
constexpr int kMusicRate = 44100;
constexpr int kMusicFrames = 353836 / 4;

// Loudness targets (RMS of the whole clip, full scale 1): the events alike, the music a
// little below them; no peak above -1 dBFS.
constexpr double kEventRms = 0.16;
constexpr double kMusicRms = 0.09;
constexpr double kPeakLimit = 0.88;  // -1.1 dBFS

double TwoPi(double cycles) { return 2 * kPi * cycles; }

double NoteHz(int semitonesFromA4) {
    // Equal temperament from a table of one octave: no pow().
    static const double kOctave[12] = {1.0, 1.0594630943592953, 1.122462048309373, 1.189207115002721,
                                       1.2599210498948732, 1.3348398541700344, 1.4142135623730951,
                                       1.4983070768766815, 1.5874010519681994, 1.681792830507429,
                                       1.7817974362806785, 1.8877486253633868};
    int octave = 0, n = semitonesFromA4;
    while (n < 0) n += 12, --octave;
    while (n >= 12) n -= 12, ++octave;
    double hz = 440 * kOctave[n];
    for (; octave > 0; --octave) hz *= 2;
    for (; octave < 0; ++octave) hz /= 2;
    return hz;
}

// exp(-t / tau) by repeated squaring of a short Taylor step; exact operations only.
double Decay(double t, double tau) {
    double x = -t / tau;
    if (x < -40) return 0;
    int halvings = 0;
    while (x < -0.125) x /= 2, ++halvings;
    double e = 1 + x + x * x / 2 + x * x * x / 6 + x * x * x * x / 24 + x * x * x * x * x / 120;
    for (; halvings > 0; --halvings) e *= e;
    return e;
}

// Rises over `attack` seconds and falls exponentially, reaching 0 at `length`.
double Envelope(double t, double attack, double tau, double length) {
    if (t < 0 || t >= length) return 0;
    const double rise = t < attack ? t / attack : 1;
    const double fall = (length - t) < 0.01 ? (length - t) / 0.01 : 1;  // no click at the cut
    return rise * fall * Decay(t, tau);
}

// One-pole low-pass, for rumbles and rustles.
struct LowPass {
    double a, y = 0;
    double operator()(double x) { return y += a * (x - y); }
};

void Normalise(std::vector<double>& s, double rms) {
    double sum = 0, peak = 0;
    for (double v : s) sum += v * v, peak = std::fmax(peak, std::fabs(v));
    if (sum == 0) return;
    double gain = rms / std::sqrt(sum / static_cast<double>(s.size()));
    if (peak * gain > kPeakLimit) gain = kPeakLimit / peak;
    for (double& v : s) v *= gain;
}

// Short fades at both ends so a clip starts and stops without a click.
void Fade(std::vector<double>& s, int rate) {
    const size_t n = static_cast<size_t>(rate / 200);  // 5 ms
    for (size_t i = 0; i < n && i < s.size(); ++i) {
        const double g = static_cast<double>(i) / static_cast<double>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

Clip EightBit(const char* name, std::vector<double> s) {
    Fade(s, kEventRate);
    Normalise(s, kEventRms);
    Clip clip{name, kEventRate, 1, 8, {}};
    for (double v : s) clip.data.push_back(static_cast<uint8_t>(Clamp(128 + RoundToInt(v * 128), 0, 255)));
    return clip;
}

std::vector<double> Silence(size_t bytes) { return std::vector<double>(bytes, 0.0); }

// A bell: a fundamental with a fast-fading inharmonic partial.
double Bell(double t, double hz) {
    return Sine(TwoPi(hz * t)) + 0.35 * Decay(t, 0.06) * Sine(TwoPi(hz * 2.76 * t)) +
           0.15 * Sine(TwoPi(hz * 2 * t));
}

Clip Get() {
    auto s = Silence(16692);
    Noise noise(7);
    const int notes[] = {3, 7, 10, 15, 19, 22, 27};  // C5 E5 G5 C6 E6 G6 C7
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        double v = 0;
        for (int n = 0; n < 7; ++n) {
            const double start = n * 0.055;
            const double hz = NoteHz(notes[n]) * (1 + 0.02 * (t - start));
            v += Envelope(t - start, 0.004, 0.16, 0.75 - start) * Bell(t - start, hz) * (1 - 0.06 * n);
        }
        v += 0.08 * Envelope(t, 0.05, 0.25, 0.75) * noise.Signed() * Sine(TwoPi(37 * t));  // glitter
        s[i] = v;
    }
    return EightBit("ORB_GET", std::move(s));
}

Clip Push() {
    auto s = Silence(8853);
    Noise noise(11);
    LowPass rumble{0.04};
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        const double thud = Envelope(t, 0.002, 0.06, 0.3) * (Sine(TwoPi(70 * t)) + 2.5 * rumble(noise.Signed()));
        const double hz = 420 - 300 * (t / 0.398);  // falling tone
        phase += hz / kEventRate;
        const double saw = 2 * (phase - std::floor(phase)) - 1;
        const double fall = Envelope(t - 0.03, 0.01, 0.25, 0.368) * (0.55 * Sine(TwoPi(phase)) + 0.15 * saw);
        s[i] = thud + fall;
    }
    return EightBit("ORB_PUSH", std::move(s));
}

Clip Open() {
    auto s = Silence(11128);
    Noise noise(23);
    LowPass soft{0.25}, snapBody{0.5};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        // Fabric rustle: noise in flutters that quicken, then the snap as the cells fill.
        const double flutter = 0.5 + 0.5 * Sine(TwoPi(18 * t + 22 * t * t));
        const double rustle = (t < 0.32 ? t / 0.32 : Decay(t - 0.32, 0.02)) * flutter * soft(noise.Signed());
        const double snapT = t - 0.33;
        const double snap = snapT < 0 ? 0
                                      : Envelope(snapT, 0.001, 0.025, 0.17) * snapBody(noise.Signed()) +
                                            Envelope(snapT, 0.002, 0.05, 0.17) * Sine(TwoPi(110 * snapT));
        s[i] = rustle + 0.5 * snap;
    }
    return EightBit("ORB_OPEN", std::move(s));
}

Clip End() {
    auto s = Silence(18945);
    struct Note {
        double start, length;
        int pitch;
    };
    const Note tune[] = {{0.00, 0.14, 3}, {0.12, 0.14, 7}, {0.24, 0.14, 10}, {0.36, 0.49, 15}, {0.36, 0.49, 10}, {0.36, 0.49, 7}};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        double v = 0;
        for (const Note& n : tune) {
            const double local = t - n.start, hz = NoteHz(n.pitch);
            // Vibrato as a phase wobble that fades in, so the pitch never jumps.
            const double wobble = Clamp((local - 0.12) / 0.15, 0, 1) * 0.6 * Sine(TwoPi(6 * local));
            v += Envelope(local, 0.005, n.length > 0.2 ? 0.3 : 0.09, n.length) *
                 (Sine(TwoPi(hz * local) + wobble) + 0.3 * Sine(TwoPi(2 * hz * local) + 2 * wobble) +
                  0.12 * Sine(TwoPi(3 * hz * local) + 3 * wobble));
        }
        s[i] = v;
    }
    return EightBit("ORB_END", std::move(s));
}

Clip Plane() {
    auto s = Silence(33384);
    Noise noise(5);
    LowPass body{0.08};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        // Cylinders firing at 84 Hz, the propeller beating at 28 Hz, a little wind.
        double firing = 0;
        for (int h = 1; h <= 12; ++h) firing += Sine(TwoPi(84 * h * t) + h) / h;
        const double beat = 0.6 + 0.4 * Sine(TwoPi(28 * t));
        s[i] = beat * firing + 0.6 * body(noise.Signed());
    }
    // Swell in and out rather than cut, as an engine heard passing.
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        s[i] *= Clamp(t / 0.2, 0, 1) * Clamp((1.5 - t) / 0.25, 0, 1);
    }
    return EightBit("ORB_PLAN", std::move(s));
}

Clip Break() {
    auto s = Silence(1984);
    Noise noise(99);
    double previous = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kEventRate;
        const double white = noise.Signed();
        const double bright = white - previous;  // a crack lives in the highs
        previous = white;
        s[i] = Envelope(t, 0.0005, 0.012, 0.089) * bright + Envelope(t, 0.0005, 0.02, 0.089) * 0.6 * Sine(TwoPi(1400 * t));
    }
    return EightBit("ORB_BREK", std::move(s));
}

// One bar of 4/4 at about 120 beats a minute, exactly the loop's length. Every sound is
// mixed around the loop, so a tail that runs past the end comes back in at the start and
// the seam cannot be heard.
Clip Music() {
    const size_t frames = kMusicFrames;
    std::vector<double> left(frames, 0.0), right(frames, 0.0);
    const double sixteenth = static_cast<double>(frames) / 16;
    const auto mix = [&](double startStep, double seconds, double pan, auto voice) {
        const size_t start = static_cast<size_t>(RoundToInt(startStep * sixteenth));
        const size_t length = static_cast<size_t>(RoundToInt(seconds * kMusicRate));
        for (size_t i = 0; i < length; ++i) {
            const double v = voice(static_cast<double>(i) / kMusicRate);
            left[(start + i) % frames] += v * (1 - pan);
            right[(start + i) % frames] += v * (1 + pan);
        }
    };

    // Melody in C major over the bass's chords, sixteenth steps; pitch in semitones from
    // A4, -100 a rest. It ends on a rest so the loop breathes before coming round again.
    const int melody[16] = {3, -100, 7, 10, 12, -100, 15, 12, 14, 10, 17, 14, 15, 10, 7, -100};
    for (int step = 0; step < 16; ++step) {
        if (melody[step] == -100) continue;
        const double hz = NoteHz(melody[step]);
        mix(step, 0.26, 0.2, [hz](double t) {
            return 0.32 * Envelope(t, 0.006, 0.14, 0.26) *
                   (Sine(TwoPi(hz * t)) + 0.4 * Sine(TwoPi(2 * hz * t)) + 0.2 * Sine(TwoPi(3 * hz * t)));
        });
    }
    // Bass walks C, F, G, C over the bar in bouncing eighths.
    const int bass[8] = {-33, -21, -28, -16, -26, -14, -33, -21};
    for (int eighth = 0; eighth < 8; ++eighth) {
        const double hz = NoteHz(bass[eighth]);
        mix(2 * eighth, 0.24, -0.1, [hz](double t) {
            return 0.42 * Envelope(t, 0.008, 0.12, 0.24) * (Sine(TwoPi(hz * t)) + 0.25 * Sine(TwoPi(2 * hz * t)));
        });
    }
    // Kick on the beats, a soft clap on two and four, hats on the off-beats.
    for (int beat = 0; beat < 4; ++beat) {
        mix(4 * beat, 0.16, 0, [](double t) {
            const double hz = 55 + 90 * Decay(t, 0.03);
            return 0.55 * Envelope(t, 0.002, 0.05, 0.16) * Sine(TwoPi(hz * t));
        });
        if (beat % 2 == 1) {
            Noise noise(static_cast<uint32_t>(100 + beat));
            LowPass tone{0.3};
            mix(4 * beat, 0.12, -0.15, [noise, tone](double t) mutable {
                return 0.22 * Envelope(t, 0.001, 0.035, 0.12) * tone(noise.Signed());
            });
        }
    }
    for (int eighth = 0; eighth < 8; ++eighth) {
        Noise noise(static_cast<uint32_t>(300 + eighth));
        double previous = 0;
        mix(2 * eighth + 1, 0.05, eighth % 4 == 1 ? 0.4 : -0.4, [noise, previous](double t) mutable {
            const double white = noise.Signed(), high = white - previous;
            previous = white;
            return 0.09 * Envelope(t, 0.0005, 0.012, 0.05) * high;
        });
    }

    // One gain for both channels, so the balance stays as mixed.
    std::vector<double> both(left);
    both.insert(both.end(), right.begin(), right.end());
    Normalise(both, kMusicRms);
    Clip clip{"ORB_BGM", kMusicRate, 2, 16, {}};
    for (size_t i = 0; i < frames; ++i) {
        for (double v : {both[i], both[frames + i]}) {
            const int sample = static_cast<int>(Clamp(RoundToInt(v * 32768), -32768, 32767));
            clip.data.push_back(static_cast<uint8_t>(sample & 0xFF));
            clip.data.push_back(static_cast<uint8_t>((sample >> 8) & 0xFF));
        }
    }
    return clip;
}

}  // namespace

std::vector<Clip> MakeClips() {
    return {Music(), Get(), Push(), Open(), End(), Plane(), Break()};
}

}  // namespace assetgen
