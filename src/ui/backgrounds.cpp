// Table backgrounds: seamless generated textures, colours, the fade and player files.
#include "ui/backgrounds.h"

#include "ui/picture_library.h"

#include "storage/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace cw::ui {

namespace {

constexpr int kTile = 256; // logical size of a tile

enum class Texture { Felt, Velvet, Cloth, Wood, Canvas };

struct TextureBackground {
    int number;
    QString name;
    Texture texture;
    QColor colour;
};

const std::vector<TextureBackground>& textures()
{
    static const std::vector<TextureBackground> list = {
        {16, QStringLiteral("Green felt"), Texture::Felt, QColor(0x1D, 0x6B, 0x35)},
        {2, QStringLiteral("Blue felt"), Texture::Felt, QColor(0x1F, 0x4F, 0x8A)},
        {3, QStringLiteral("Red felt"), Texture::Felt, QColor(0x86, 0x1E, 0x24)},
        {4, QStringLiteral("Grey felt"), Texture::Felt, QColor(0x4A, 0x50, 0x56)},
        {5, QStringLiteral("Teal felt"), Texture::Felt, QColor(0x0F, 0x60, 0x62)},
        {6, QStringLiteral("Purple velvet"), Texture::Velvet, QColor(0x4A, 0x2A, 0x6A)},
        {7, QStringLiteral("Linen"), Texture::Cloth, QColor(0xD5, 0xCB, 0xB4)},
        {8, QStringLiteral("Denim"), Texture::Cloth, QColor(0x2E, 0x4A, 0x7A)},
        {9, QStringLiteral("Green baize"), Texture::Cloth, QColor(0x2A, 0x66, 0x36)},
        {10, QStringLiteral("Oak"), Texture::Wood, QColor(0xB0, 0x82, 0x4C)},
        {11, QStringLiteral("Walnut"), Texture::Wood, QColor(0x5A, 0x38, 0x1E)},
        {12, QStringLiteral("Cherry"), Texture::Wood, QColor(0x8A, 0x3B, 0x22)},
        {13, QStringLiteral("Midnight felt"), Texture::Felt, QColor(0x14, 0x24, 0x40)},
        {14, QStringLiteral("Sand canvas"), Texture::Canvas, QColor(0xB8, 0x9E, 0x70)},
        {15, QStringLiteral("Burgundy velvet"), Texture::Velvet, QColor(0x5E, 0x12, 0x22)},
    };
    return list;
}

// Periodic value noise: the lattice wraps every `period` cells, so a tile built from it
// joins its neighbours without a seam.
class TileNoise {
public:
    explicit TileNoise(std::uint32_t seed) : m_seed(seed) {}

    // u, v in tile units [0, 1); periods in lattice cells across the tile.
    double at(double u, double v, int periodU, int periodV) const
    {
        const double x = u * periodU, y = v * periodV;
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = smooth(x - x0), fy = smooth(y - y0);
        const double a = lattice(x0, y0, periodU, periodV), b = lattice(x0 + 1, y0, periodU, periodV);
        const double c = lattice(x0, y0 + 1, periodU, periodV), d = lattice(x0 + 1, y0 + 1, periodU, periodV);
        return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
    }

    // A sum of octaves, periods doubling; about -1..1.
    double fractal(double u, double v, int basePeriod, int octaves, int stretchV = 1) const
    {
        double sum = 0, amp = 1, norm = 0;
        int p = basePeriod;
        for (int o = 0; o < octaves; ++o, p *= 2, amp *= 0.5) {
            sum += amp * at(u, v, p, p * stretchV);
            norm += amp;
        }
        return sum / norm;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }

    double lattice(int x, int y, int pu, int pv) const
    {
        x = ((x % pu) + pu) % pu;
        y = ((y % pv) + pv) % pv;
        std::uint32_t h = m_seed ^ (static_cast<std::uint32_t>(x) * 374761393u) ^
                          (static_cast<std::uint32_t>(y) * 668265263u) ^ (static_cast<std::uint32_t>(pu) * 2246822519u);
        h = (h ^ (h >> 13)) * 1274126177u;
        h ^= h >> 16;
        return (h & 0xFFFF) / 32767.5 - 1.0;
    }

    std::uint32_t m_seed;
};

int clampByte(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

QRgb shade(const QColor& c, double f)
{
    // f > 0 lightens, f < 0 darkens, keeping the hue.
    const auto ch = [f](int v) { return f >= 0 ? v + (255 - v) * f : v * (1 + f); };
    return qRgb(clampByte(ch(c.red())), clampByte(ch(c.green())), clampByte(ch(c.blue())));
}

QImage renderTexture(const TextureBackground& bg, qreal dpr)
{
    const int size = std::max(1, static_cast<int>(std::lround(kTile * dpr)));
    QImage img(size, size, QImage::Format_RGB32);
    const TileNoise noise(static_cast<std::uint32_t>(bg.number) * 2654435761u);
    const TileNoise grain(static_cast<std::uint32_t>(bg.number) * 40503u + 7u);
    const double px = 1.0 / size;
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double v = y * px;
        for (int x = 0; x < size; ++x) {
            const double u = x * px;
            double f = 0;
            switch (bg.texture) {
            case Texture::Felt:
                // Soft clouds plus a fine fibre grain.
                f = 0.06 * noise.fractal(u, v, 4, 3) + 0.07 * grain.fractal(u, v, 64, 2);
                break;
            case Texture::Velvet: f = 0.12 * noise.fractal(u, v, 2, 3) + 0.04 * grain.fractal(u, v, 128, 1); break;
            case Texture::Cloth: {
                // Over-under threads: 64 threads a tile each way, each slightly uneven.
                const double tx = std::sin(u * 64 * 2 * M_PI), ty = std::sin(v * 64 * 2 * M_PI);
                const double weave = (tx * ty > 0 ? 1 : -1) * std::min(std::fabs(tx), std::fabs(ty));
                f = 0.07 * weave + 0.025 * noise.at(u, v, 64, 4) + 0.025 * noise.at(u, v, 4, 64) +
                    0.03 * grain.fractal(u, v, 32, 2);
                break;
            }
            case Texture::Canvas: {
                const double tx = std::sin(u * 96 * 2 * M_PI), ty = std::sin(v * 96 * 2 * M_PI);
                f = 0.05 * tx * ty + 0.06 * noise.fractal(u, v, 4, 3) + 0.04 * grain.fractal(u, v, 64, 1);
                break;
            }
            case Texture::Wood: {
                // Four planks a tile; grain runs along them, bent by stretched noise.
                const int plank = static_cast<int>(v * 4);
                const double pv = v * 4 - plank;
                const double bend = noise.at(u, v, 2, 8) * 0.8 + noise.at(u, v, 4, 16) * 0.25;
                const double rings = std::sin((pv * 3 + bend + plank * 0.37) * 2 * M_PI * 2);
                const double fibre = grain.at(u, v, 4, 256);
                f = 0.09 * rings + 0.08 * fibre + 0.05 * std::sin(plank * 2.1);
                // A dark seam at the plank's upper edge.
                const double seam = pv * kTile / 4.0; // logical pixels from the edge
                if (seam < 1.2)
                    f -= 0.35;
                else if (seam < 2.2)
                    f += 0.06;
                break;
            }
            }
            line[x] = shade(bg.colour, f);
        }
    }
    img.setDevicePixelRatio(dpr);
    return img;
}

} // namespace

const std::vector<BackgroundInfo>& builtInBackgrounds()
{
    static const std::vector<BackgroundInfo> list = [] {
        std::vector<BackgroundInfo> l;
        for (const auto& t : textures())
            l.push_back({t.number, t.name});
        return l;
    }();
    return list;
}

const BackgroundInfo* findBackground(int number)
{
    for (const auto& b : builtInBackgrounds())
        if (b.number == number)
            return &b;
    return nullptr;
}

QImage renderBackgroundTile(int number, qreal devicePixelRatio)
{
    for (const auto& t : textures())
        if (t.number == number)
            return renderTexture(t, devicePixelRatio);
    return {};
}

QImage renderPauseTile(qreal devicePixelRatio)
{
    static const TextureBackground pause{0, QString(), Texture::Velvet, QColor(0x0C, 0x3A, 0x22)};
    return renderTexture(pause, devicePixelRatio);
}

QColor colorFromSetting(qint64 value)
{
    if (value < 0) {
        // System colours: 0x80000000 + index; the button face (15) is the usual one.
        const QPalette pal = QGuiApplication::palette();
        return (value & 0xFF) == 15 ? pal.color(QPalette::Button) : pal.color(QPalette::Window);
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void paintFade(QPainter& painter, const QRect& area, const QColor& top)
{
    const int height = area.height();
    const int bottom = area.top() + height;
    for (int i = 0; i < 256; ++i) {
        const int y0 = bottom - height * (i + 1) / 256;
        const int y1 = bottom - height * i / 256;
        if (y1 <= y0)
            continue;
        const QColor c(top.red() * i / 256, top.green() * i / 256, top.blue() * i / 256);
        painter.fillRect(QRect(area.left(), y0, area.width(), y1 - y0), c);
    }
}

void paintTiled(QPainter& painter, const QRect& area, const QImage& tile)
{
    if (tile.isNull())
        return;
    painter.drawTiledPixmap(area, QPixmap::fromImage(tile), QPoint(0, 0));
}

void paintBackground(QPainter& painter, const QRect& area, const BackgroundChoice& choice,
                     const PictureLibrary& library, qreal devicePixelRatio)
{
    if (choice.paused) {
        paintTiled(painter, area, library.picture(QStringLiteral("Y001"), devicePixelRatio));
        return;
    }
    QColor solid;
    if (choice.useDefault) {
        solid = colorFromSetting(kDefaultTableColour);
    } else if (!choice.playerPicture.isNull()) {
        paintTiled(painter, area, choice.playerPicture);
        return;
    } else if (!choice.addOnPicture.isNull()) {
        paintTiled(painter, area, choice.addOnPicture);
        return;
    } else if (choice.number != 0) {
        const QImage picture =
            library.picture(QStringLiteral("B%1").arg(choice.number, 3, 10, QLatin1Char('0')), devicePixelRatio);
        if (!picture.isNull()) {
            if (isTiledBackground(choice.number)) {
                paintTiled(painter, area, picture);
            } else {
                painter.fillRect(area, Qt::black);
                painter.drawImage(area.topLeft(), picture);
            }
            return;
        }
        // A number the library does not know falls through to the colour.
        solid = colorFromSetting(choice.fixedColour > 0 ? choice.fixedColour : choice.colour);
    } else {
        solid = colorFromSetting(choice.fixedColour > 0 ? choice.fixedColour : choice.colour);
    }
    if (choice.fade)
        paintFade(painter, area, solid);
    else
        painter.fillRect(area, solid);
}

PictureFileResult loadPlayerBackground(const QString& pathOrName, const QString& dataFolder)
{
    PictureFileResult result;
    QString path = pathOrName;
    if (!pathOrName.contains(QLatin1Char('/')))
        path = QDir(dataFolder).filePath(pathOrName + QStringLiteral(".bmp"));
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("Customized background image not found: ") + path;
        return result;
    }
    const PictureRead read = readPicture(path);
    result.image = read.image;
    if (read.problem != PictureProblem::None)
        result.error = pictureProblemText(read, path);
    return result;
}

void readBackgroundSettings(BackgroundChoice& choice, const storage::SettingsStore& settings)
{
    namespace col = storage::col;
    auto number = [&](storage::Field field, qint64 fallback) {
        const std::string text = settings.get(field);
        if (text.empty())
            return fallback;
        try {
            return static_cast<qint64>(std::stoll(text));
        } catch (...) {
            return fallback;
        }
    };
    choice.useDefault = settings.get(col::BackgroundDef) == "Y";
    choice.number = static_cast<int>(number(col::BackgroundBmp, 0));
    choice.fixedColour = number(col::BackgroundFixedCol, kDefaultTableColour);
    choice.colour = number(col::BackgroundCol, 0);
    choice.fade = settings.get(col::FadeBackground) != "N";
}

} // namespace cw::ui
