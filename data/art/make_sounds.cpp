// Build-time tool: synthesises the table's short sounds as 16-bit mono WAVE files.
//
// Every sound is made from a few primitives (tone with an envelope, filtered noise
// burst, frequency sweep) so the library carries no recorded material. Each file ends
// with 0.3 s of silence: Qt 6.4's QSoundEffect cuts off the last part of short sounds.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTailSeconds = 0.3;

using Buffer = std::vector<double>;

// Deterministic noise so that every build produces identical files.
class Noise {
public:
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>((m_state >> 33) & 0xFFFFFF) / 8388608.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x2545F4914F6CDD1DULL;
};

void ensureLength(Buffer& b, std::size_t n)
{
    if (b.size() < n)
        b.resize(n, 0.0);
}

std::size_t samples(double seconds) { return static_cast<std::size_t>(seconds * kRate); }

// A bell-like tone: fundamental with two soft partials, quick attack, exponential decay.
void tone(Buffer& b, double start, double freq, double length, double gain, double decay = 6.0)
{
    const std::size_t s0 = samples(start), n = samples(length);
    ensureLength(b, s0 + n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.004);
        const double env = attack * std::exp(-decay * t / length);
        const double w = 2 * kPi * freq * t;
        b[s0 + i] += gain * env * (std::sin(w) + 0.3 * std::sin(2 * w) + 0.12 * std::sin(3 * w));
    }
}

// A band-limited noise burst: the sound of card stock rubbing or snapping.
void burst(Buffer& b, Noise& noise, double start, double length, double gain, double lowCut,
           double highCut, double decay = 5.0)
{
    const std::size_t s0 = samples(start), n = samples(length);
    ensureLength(b, s0 + n);
    const double aLow = std::exp(-2 * kPi * highCut / kRate);
    const double aHigh = std::exp(-2 * kPi * lowCut / kRate);
    double lp = 0, hpState = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double x = noise.next();
        lp = (1 - aLow) * x + aLow * lp;          // remove the hiss above highCut
        hpState = (1 - aHigh) * lp + aHigh * hpState;
        const double band = lp - hpState;         // and the rumble below lowCut
        const double attack = std::min(1.0, t / 0.002);
        b[s0 + i] += gain * attack * std::exp(-decay * t / length) * band * 3.0;
    }
}

// A swish: noise whose band centre glides, with a rise-and-fall envelope.
void swish(Buffer& b, Noise& noise, double start, double length, double gain, double f0, double f1)
{
    const std::size_t s0 = samples(start), n = samples(length);
    ensureLength(b, s0 + n);
    double lp = 0, hpState = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / n;
        const double centre = f0 + (f1 - f0) * u;
        const double aLow = std::exp(-2 * kPi * centre * 1.6 / kRate);
        const double aHigh = std::exp(-2 * kPi * centre * 0.6 / kRate);
        lp = (1 - aLow) * noise.next() + aLow * lp;
        hpState = (1 - aHigh) * lp + aHigh * hpState;
        b[s0 + i] += gain * std::sin(kPi * u) * (lp - hpState) * 4.0;
    }
}

// A pitch glide, used for the swirl of the eddy.
void glide(Buffer& b, double start, double length, double gain, double f0, double f1)
{
    const std::size_t s0 = samples(start), n = samples(length);
    ensureLength(b, s0 + n);
    double phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / n;
        phase += 2 * kPi * (f0 + (f1 - f0) * u) / kRate;
        b[s0 + i] += gain * std::sin(kPi * u) * std::sin(phase);
    }
}

void cardClick(Buffer& b, Noise& n, double at, double gain = 0.7)
{
    burst(b, n, at, 0.035, gain, 900, 6000, 6.0);
    tone(b, at, 180, 0.04, gain * 0.35, 8.0);
}

const std::map<std::string, std::function<void(Buffer&, Noise&)>>& recipes()
{
    static const std::map<std::string, std::function<void(Buffer&, Noise&)>> r = {
        {"Card_up", [](Buffer& b, Noise& n) { burst(b, n, 0, 0.05, 0.5, 1500, 7000, 4.0); }},
        {"Card_down", [](Buffer& b, Noise& n) { cardClick(b, n, 0); }},
        {"Tableau", [](Buffer& b, Noise& n) { cardClick(b, n, 0, 0.6); }},
        {"Face_up", [](Buffer& b, Noise& n) { swish(b, n, 0, 0.09, 0.6, 1500, 4000); cardClick(b, n, 0.07, 0.4); }},
        {"Stock", [](Buffer& b, Noise& n) { swish(b, n, 0, 0.12, 0.6, 2500, 1200); cardClick(b, n, 0.1, 0.5); }},
        {"Foundation", [](Buffer& b, Noise& n) { cardClick(b, n, 0, 0.5); tone(b, 0.02, 1318.5, 0.35, 0.35); }},
        {"Autoplay", [](Buffer& b, Noise& n) { cardClick(b, n, 0, 0.4); tone(b, 0.02, 1568.0, 0.25, 0.25); }},
        {"Shuffle", [](Buffer& b, Noise& n) {
             for (int i = 0; i < 18; ++i)
                 burst(b, n, 0.03 * i, 0.03, 0.35 + 0.02 * (i % 3), 1200, 5000, 3.0);
         }},
        {"Reorder", [](Buffer& b, Noise& n) {
             for (int i = 0; i < 6; ++i)
                 burst(b, n, 0.04 * i, 0.035, 0.4, 1200, 5000, 3.0);
         }},
        {"Redeal", [](Buffer& b, Noise& n) { swish(b, n, 0, 0.45, 0.7, 800, 3500); cardClick(b, n, 0.42); }},
        {"red_no_a", [](Buffer& b, Noise& n) { swish(b, n, 0, 0.2, 0.6, 1200, 3000); }},
        {"Pairing", [](Buffer& b, Noise&) { tone(b, 0, 987.8, 0.25, 0.3); tone(b, 0.08, 1318.5, 0.35, 0.3); }},
        {"New", [](Buffer& b, Noise& n) {
             swish(b, n, 0, 0.3, 0.4, 900, 3000);
             tone(b, 0.1, 523.3, 0.3, 0.25); tone(b, 0.2, 659.3, 0.3, 0.25); tone(b, 0.3, 784.0, 0.45, 0.25);
         }},
        {"Restart", [](Buffer& b, Noise&) {
             tone(b, 0, 784.0, 0.2, 0.25); tone(b, 0.1, 587.3, 0.2, 0.25); tone(b, 0.2, 784.0, 0.35, 0.25);
         }},
        {"Undo", [](Buffer& b, Noise&) { tone(b, 0, 880.0, 0.12, 0.25, 4.0); tone(b, 0.07, 659.3, 0.2, 0.25); }},
        {"Redo", [](Buffer& b, Noise&) { tone(b, 0, 659.3, 0.12, 0.25, 4.0); tone(b, 0.07, 880.0, 0.2, 0.25); }},
        {"About", [](Buffer& b, Noise&) {
             tone(b, 0, 523.3, 0.8, 0.18); tone(b, 0.05, 659.3, 0.8, 0.18); tone(b, 0.1, 784.0, 0.8, 0.18);
         }},
        {"Hi-Scor", [](Buffer& b, Noise&) {
             tone(b, 0, 587.3, 0.18, 0.25); tone(b, 0.15, 740.0, 0.18, 0.25); tone(b, 0.3, 880.0, 0.5, 0.25);
         }},
        {"Scores", [](Buffer& b, Noise&) {
             tone(b, 0, 523.3, 0.15, 0.25); tone(b, 0.13, 659.3, 0.15, 0.25);
             tone(b, 0.26, 784.0, 0.15, 0.25); tone(b, 0.39, 1046.5, 0.6, 0.28);
         }},
        {"Won", [](Buffer& b, Noise& n) {
             tone(b, 0, 523.3, 0.2, 0.22); tone(b, 0.15, 659.3, 0.2, 0.22); tone(b, 0.3, 784.0, 0.2, 0.22);
             tone(b, 0.45, 1046.5, 0.9, 0.22); tone(b, 0.45, 784.0, 0.9, 0.15); tone(b, 0.45, 659.3, 0.9, 0.12);
             // A ripple of soft claps after the fanfare.
             for (int i = 0; i < 40; ++i) {
                 const double at = 0.7 + 0.035 * i + 0.012 * n.next();
                 burst(b, n, at, 0.03, 0.25 * (1.0 - i / 50.0), 700, 4000, 5.0);
             }
         }},
        {"Eddy", [](Buffer& b, Noise& n) { glide(b, 0, 0.5, 0.25, 300, 1200); swish(b, n, 0, 0.5, 0.3, 600, 2500); }},
        {"Splash", [](Buffer& b, Noise& n) {
             swish(b, n, 0, 0.5, 0.35, 600, 2600);
             tone(b, 0.2, 392.0, 1.0, 0.16); tone(b, 0.25, 523.3, 1.0, 0.16);
             tone(b, 0.3, 659.3, 1.0, 0.16); tone(b, 0.35, 784.0, 1.0, 0.16);
         }},
    };
    return r;
}

void put16(std::ofstream& out, std::uint16_t v)
{
    const char bytes[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v)
{
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

bool writeWave(const std::string& path, Buffer b)
{
    // Normalise to a comfortable peak, then add the silent tail.
    double peak = 0;
    for (double v : b)
        peak = std::max(peak, std::fabs(v));
    const double scale = peak > 0 ? 0.7 / peak : 0.0;
    b.resize(b.size() + samples(kTailSeconds), 0.0);

    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        const auto dataBytes = static_cast<std::uint32_t>(b.size() * 2);
        out.write("RIFF", 4);
        put32(out, 36 + dataBytes);
        out.write("WAVEfmt ", 8);
        put32(out, 16);
        put16(out, 1);          // PCM
        put16(out, 1);          // mono
        put32(out, kRate);
        put32(out, kRate * 2);  // bytes per second
        put16(out, 2);          // block align
        put16(out, 16);         // bits per sample
        out.write("data", 4);
        put32(out, dataBytes);
        for (double v : b) {
            const double s = std::clamp(v * scale, -1.0, 1.0);
            put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 32767))));
        }
        if (!out)
            return false;
    }
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: cw_make_sounds <output folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    for (const auto& [name, recipe] : recipes()) {
        Noise noise;
        Buffer b;
        recipe(b, noise);
        const std::string path = folder + "/" + name + ".wav";
        if (!writeWave(path, std::move(b))) {
            std::cerr << "cw_make_sounds: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
